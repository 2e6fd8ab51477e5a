#include "classlib/gui/wtreeview.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QPalette>
#include <QTreeView>
#include <vector>

#include "classlib/gui/wcursor.h"
#include "classlib/gui/wevents.h"
#include "classlib/gui/wimagelist.h"
#include "classlib/qt/treemodel.h"
#include "classlib/qt/wqtnative.h"

namespace {

constexpr qint64 kSliceMs = 40;

// While a long expansion runs: Esc asks it to stop, and other input (keys,
// mouse, close requests) waits until it is done, so nothing changes the tree
// under it. Painting and resizing go on.
class BusyInputFilter : public QObject {
public:
    BusyInputFilter() { qApp->installEventFilter(this); }
    ~BusyInputFilter() override { qApp->removeEventFilter(this); }
    bool StopAsked() const { return stopAsked_; }

protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        switch (event->type()) {
            case QEvent::KeyPress:
                if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
                    stopAsked_ = true;
                }
                return true;
            case QEvent::KeyRelease:
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick:
            case QEvent::Wheel:
            case QEvent::Close:
            case QEvent::ShortcutOverride:
                return true;
            default:
                return false;
        }
    }

private:
    bool stopAsked_ = false;
};

// Takes the '*' key from the view: its own handling expands in one piece and
// freezes the window on big subtrees.
class StarKeyFilter : public QObject {
public:
    explicit StarKeyFilter(WTreeView& owner) : owner_(owner) {}

protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        if (event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(event)->key() == Qt::Key_Asterisk) {
            owner_.ExpandSubtree(owner_.GetSelectedItem());
            return true;
        }
        return false;
    }

private:
    WTreeView& owner_;
};

}  // namespace

WTreeView::WTreeView() : native_(std::make_unique<Native>()) {
    native_->model = std::make_unique<WTreeModel>(store_);
    store_.SetDeleteHandler([this](WTreeItem item, std::unique_ptr<WObject>& data) {
        WTreeDeleteItemData eventData(item, data);
        WDispatchEvent(this, DeleteItemEvent, &eventData);
    });
}

WTreeView::~WTreeView() {
    // The view must let go of the model before the model goes.
    if (QTreeView* view = QtTreeView(*this)) {
        view->setModel(nullptr);
    }
    store_.SetDeleteHandler(nullptr);
}

bool WTreeView::Accepts(WWindowHandle item) const {
    return dynamic_cast<QTreeView*>(QtWidget(item)) != nullptr;
}

void WTreeView::Attached() {
    QTreeView* view = QtTreeView(*this);
    view->setModel(native_->model.get());
    native_->keyFilter = std::make_unique<StarKeyFilter>(*this);
    view->installEventFilter(native_->keyFilter.get());
}

void WTreeView::DeleteAllItems() {
    BulkChange bulk(*this);
    store_.DeleteAll();
}

WTreeView::BulkChange::BulkChange(WTreeView& view) : view_(view) {
    view_.native_->model->BeginBulkChange();
}

WTreeView::BulkChange::~BulkChange() {
    view_.native_->model->EndBulkChange();
}

void WTreeView::SetImageList(const WImageList& images) {
    native_->model->SetIcons(QtIcons(images));
    if (QTreeView* view = QtTreeView(*this)) {
        const WColor background = images.GetBackgroundColor();
        if (background.set) {
            QPalette palette = view->palette();
            palette.setColor(QPalette::Base,
                             QColor(background.red, background.green, background.blue));
            view->setPalette(palette);
        }
        view->viewport()->update();
    }
}

void WTreeView::Expand(WTreeItem item, bool expand) {
    if (QTreeView* view = QtTreeView(*this)) {
        view->setExpanded(native_->model->IndexOf(item), expand);
    }
}

bool WTreeView::IsExpanded(WTreeItem item) const {
    QTreeView* view = QtTreeView(*this);
    return view && view->isExpanded(native_->model->IndexOf(item));
}

void WTreeView::SelectItem(WTreeItem item) {
    QTreeView* view = QtTreeView(*this);
    if (view == nullptr || !store_.IsValid(item)) {
        return;
    }
    std::vector<WTreeItem> ancestors;
    for (WTreeItem at = store_.Parent(item); at != kNoItem; at = store_.Parent(at)) {
        ancestors.push_back(at);
    }
    for (auto it = ancestors.rbegin(); it != ancestors.rend(); ++it) {
        view->expand(native_->model->IndexOf(*it));
    }
    const QModelIndex index = native_->model->IndexOf(item);
    view->setCurrentIndex(index);
    view->scrollTo(index, QAbstractItemView::PositionAtCenter);
}

WTreeItem WTreeView::GetSelectedItem() const {
    QTreeView* view = QtTreeView(*this);
    return view ? native_->model->ItemOf(view->currentIndex()) : kNoItem;
}

void WTreeView::ExpandSubtree(WTreeItem item) {
    QTreeView* view = QtTreeView(*this);
    if (view == nullptr || !store_.IsValid(item)) {
        return;
    }
    const QModelIndex top = native_->model->IndexOf(item);
    // Below a collapsed item an expansion only records the state; the view
    // lays the whole subtree out once, when the item itself opens.
    view->collapse(top);
    const WWaitCursor wait(this);
    const BusyInputFilter input;
    QElapsedTimer slice;
    slice.start();
    std::vector<QModelIndex> pending{top};
    while (!pending.empty() && !input.StopAsked()) {
        const QModelIndex parent = pending.back();
        pending.pop_back();
        const int rows = native_->model->rowCount(parent);
        for (int row = rows - 1; row >= 0; --row) {
            const QModelIndex child = native_->model->index(row, 0, parent);
            if (native_->model->hasChildren(child)) {
                view->expand(child);
                pending.push_back(child);
            }
        }
        if (slice.elapsed() >= kSliceMs) {
            QCoreApplication::processEvents();
            slice.restart();
        }
    }
    view->expand(top);
}
