#include "classlib/gui/wtreeview.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPalette>
#include <QTreeView>
#include <vector>

#include "classlib/gui/wcursor.h"
#include "classlib/gui/wevents.h"
#include "classlib/gui/wimagelist.h"
#include "classlib/qt/treecontrol.h"
#include "classlib/qt/treemodel.h"
#include "classlib/qt/wqtnative.h"

namespace {

constexpr qint64 kSliceMs = 40;

// While a long expansion runs: Esc asks it to stop, and other input (keys,
// mouse) is dropped, so nothing changes the tree under it; a close request
// waits behind the wait cursor. Painting and resizing go on.
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

// Holds the control's geometry and painting between the slices of a long run
// of expansions; each pause for events brings both up to date. The column
// sized to its contents measures the text of up to a thousand rows each time,
// so its width is held for the whole run and measured once at the end.
class HeldGeometry {
public:
    explicit HeldGeometry(QTreeView& view)
        : view_(view),
          control_(dynamic_cast<TreeControl*>(&view)),
          columnMode_(view.header()->sectionResizeMode(0)) {
        view_.header()->setSectionResizeMode(0, QHeaderView::Interactive);
        Hold(true);
    }
    ~HeldGeometry() {
        Hold(false);
        view_.header()->setSectionResizeMode(0, columnMode_);
    }
    HeldGeometry(const HeldGeometry&) = delete;
    HeldGeometry& operator=(const HeldGeometry&) = delete;

    void ProcessEvents() {
        Hold(false);
        QCoreApplication::processEvents();
        Hold(true);
    }

private:
    void Hold(bool hold) {
        if (control_ != nullptr) {
            control_->HoldGeometry(hold);
        }
        view_.setUpdatesEnabled(!hold);
    }

    QTreeView& view_;
    TreeControl* control_;
    QHeaderView::ResizeMode columnMode_;
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

// Qt lays out an expanded item's rows in one step, together with every row
// below it that was expanded beforehand, and inserting rows costs as many
// moves as there are rows after them. So the subtree is opened in parts of at
// most kPartRows rows, in two passes, both in slices. First, with the item
// closed, where recording an expansion is cheap: the expansions inside each
// part are recorded. Then the item is opened, and the parts' tops and the
// items above them (those with more below them than a part holds) one after
// the other, first to last: each lays out its own part at once, with few rows
// after it.
void WTreeView::ExpandSubtree(WTreeItem item) {
    QTreeView* view = QtTreeView(*this);
    if (view == nullptr || !store_.IsValid(item)) {
        return;
    }
    constexpr std::size_t kPartRows = 20000;
    WTreeModel& model = *native_->model;
    const BusyInputFilter input;
    const WWaitCursor wait(this);
    HeldGeometry held(*view);
    held.ProcessEvents();  // shows the wait cursor at once
    QElapsedTimer slice;
    slice.start();
    auto goOn = [&] {
        if (slice.elapsed() >= kSliceMs) {
            held.ProcessEvents();
            slice.restart();
        }
        return !input.StopAsked();
    };
    auto isPart = [&](const QModelIndex& index) {
        std::size_t rows = 0;
        return store_.FindDescendant(model.ItemOf(index),
                                     [&](WTreeItem) { return ++rows > kPartRows; }) == kNoItem;
    };
    const QModelIndex top = model.IndexOf(item);
    view->collapse(top);
    enum class Step { Sort, Record };
    std::vector<std::pair<QModelIndex, Step>> pending{{top, Step::Sort}};
    std::vector<QModelIndex> opened;  // the parts' tops and the items above them, first to last
    while (!pending.empty() && goOn()) {
        auto [index, step] = pending.back();
        pending.pop_back();
        if (step == Step::Sort && index != top) {
            view->collapse(index);  // opened as it was, its parts would come at once
            opened.push_back(index);
            step = isPart(index) ? Step::Record : Step::Sort;
        } else if (step == Step::Record) {
            view->expand(index);
        }
        for (int row = model.rowCount(index) - 1; row >= 0; --row) {
            const QModelIndex child = model.index(row, 0, index);
            if (model.hasChildren(child)) {
                pending.emplace_back(child, step);
            }
        }
    }
    view->expand(top);
    for (const QModelIndex& index : opened) {
        if (!goOn()) {
            break;
        }
        view->expand(index);
    }
}
