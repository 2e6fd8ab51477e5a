#include "classlib/qt/wtreeview.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QPalette>
#include <QTreeView>
#include <vector>

#include "classlib/qt/treemodel.h"
#include "classlib/qt/wcursor.h"
#include "classlib/qt/wevents.h"
#include "classlib/qt/wimagelist.h"

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

}  // namespace

// Takes the '*' key from the view: its own handling expands in one piece and
// freezes the window on big subtrees.
class WTreeView::KeyFilter : public QObject {
public:
    explicit KeyFilter(WTreeView& owner) : owner_(owner) {}

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

WTreeView::WTreeView() : model_(std::make_unique<WTreeModel>(store_)) {
    store_.SetDeleteHandler([this](WTreeItem item, std::unique_ptr<WObject>& data) {
        WTreeDeleteItemData eventData(item, data);
        WDispatchEvent(this, DeleteItemEvent, &eventData);
    });
}

WTreeView::~WTreeView() {
    // The view must let go of the model before the model goes.
    if (QTreeView* view = GetTreeWidget()) {
        view->setModel(nullptr);
    }
    store_.SetDeleteHandler(nullptr);
}

QTreeView* WTreeView::GetTreeWidget() const {
    return dynamic_cast<QTreeView*>(GetWidget());
}

bool WTreeView::Accepts(QWidget* widget) const {
    return dynamic_cast<QTreeView*>(widget) != nullptr;
}

void WTreeView::Attached() {
    GetTreeWidget()->setModel(model_.get());
    keyFilter_ = std::make_unique<KeyFilter>(*this);
    GetTreeWidget()->installEventFilter(keyFilter_.get());
}

void WTreeView::DeleteAllItems() {
    BulkChange bulk(*this);
    store_.DeleteAll();
}

WTreeView::BulkChange::BulkChange(WTreeView& view) : view_(view) {
    view_.model_->BeginBulkChange();
}

WTreeView::BulkChange::~BulkChange() {
    view_.model_->EndBulkChange();
}

void WTreeView::SetImageList(const WImageList& images) {
    model_->SetIcons(images.GetIcons());
    if (QTreeView* view = GetTreeWidget()) {
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
    if (QTreeView* view = GetTreeWidget()) {
        view->setExpanded(model_->IndexOf(item), expand);
    }
}

bool WTreeView::IsExpanded(WTreeItem item) const {
    QTreeView* view = GetTreeWidget();
    return view && view->isExpanded(model_->IndexOf(item));
}

void WTreeView::SelectItem(WTreeItem item) {
    QTreeView* view = GetTreeWidget();
    if (view == nullptr || !store_.IsValid(item)) {
        return;
    }
    std::vector<WTreeItem> ancestors;
    for (WTreeItem at = store_.Parent(item); at != kNoItem; at = store_.Parent(at)) {
        ancestors.push_back(at);
    }
    for (auto it = ancestors.rbegin(); it != ancestors.rend(); ++it) {
        view->expand(model_->IndexOf(*it));
    }
    const QModelIndex index = model_->IndexOf(item);
    view->setCurrentIndex(index);
    view->scrollTo(index, QAbstractItemView::PositionAtCenter);
}

WTreeItem WTreeView::GetSelectedItem() const {
    QTreeView* view = GetTreeWidget();
    return view ? model_->ItemOf(view->currentIndex()) : kNoItem;
}

void WTreeView::ExpandSubtree(WTreeItem item) {
    QTreeView* view = GetTreeWidget();
    if (view == nullptr || !store_.IsValid(item)) {
        return;
    }
    const QModelIndex top = model_->IndexOf(item);
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
        const int rows = model_->rowCount(parent);
        for (int row = rows - 1; row >= 0; --row) {
            const QModelIndex child = model_->index(row, 0, parent);
            if (model_->hasChildren(child)) {
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
