#include "classlib/gui/wtreeview.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPalette>
#include <QScrollBar>
#include <QTreeView>
#include <algorithm>
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

// Pauses for events once per slice; false once Esc has asked to stop.
class Slices {
public:
    Slices(HeldGeometry& held, const BusyInputFilter& input) : held_(held), input_(input) {
        slice_.start();
    }

    bool GoOn() {
        if (slice_.elapsed() >= kSliceMs) {
            held_.ProcessEvents();
            slice_.restart();
        }
        return !input_.StopAsked();
    }

private:
    HeldGeometry& held_;
    const BusyInputFilter& input_;
    QElapsedTimer slice_;
};

// Qt lays out an expanded item's rows in one step, together with every row
// below it that was expanded beforehand; inserting rows costs as many moves as
// there are rows after them; and opening or closing an item that is not shown
// searches all shown rows. So the subtree is opened top down, in pre-order,
// one item at a time and only items that are shown: each step lays out one
// item's children, with only the siblings still to come after them, and the
// first rows show after the first slice. (An item closed by hand over open
// items opens them with it, as a click on it would.)
class PreOrderExpansion {
public:
    PreOrderExpansion(QTreeView& view, WTreeModel& model, QModelIndex top, std::size_t rowLimit)
        : view_(view), model_(model), pending_{top}, rowLimit_(rowLimit) {}

    // Whether the rows brought into the tree passed the limit.
    bool AtLimit() const { return rows_ > rowLimit_; }

    // Opens the top even when Esc came first, then goes on until stopped.
    void Run(Slices& slices) {
        OpenNext();
        while (!pending_.empty() && !AtLimit() && slices.GoOn()) {
            OpenNext();
        }
    }

private:
    void OpenNext() {
        const QModelIndex index = pending_.back();
        pending_.pop_back();
        // Made first: rows that come while the item opens would have the view
        // lay out all its rows again.
        model_.FetchIfNeeded(index);
        view_.expand(index);
        const int rows = model_.rowCount(index);
        rows_ += static_cast<std::size_t>(rows);
        for (int row = rows - 1; row >= 0; --row) {
            const QModelIndex child = model_.index(row, 0, index);
            if (model_.hasChildren(child)) {
                pending_.push_back(child);
            }
        }
    }

    QTreeView& view_;
    WTreeModel& model_;
    std::vector<QModelIndex> pending_;  // shown items still to open, the next one last
    std::size_t rowLimit_;
    std::size_t rows_ = 0;
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

void WTreeView::Expand(WTreeItem item) {
    if (QTreeView* view = QtTreeView(*this)) {
        view->setExpanded(native_->model->IndexOf(item), true);
    }
}

void WTreeView::Collapse(WTreeItem item) {
    if (QTreeView* view = QtTreeView(*this)) {
        view->setExpanded(native_->model->IndexOf(item), false);
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
    // Sideways only as far as the node's start needs: scrolled to show a long
    // label whole, the view would hide the expanders on the left.
    QScrollBar* sideways = view->horizontalScrollBar();
    const int before = sideways->value();
    view->scrollTo(index, QAbstractItemView::PositionAtCenter);
    const int start = view->visualRect(index).left() + sideways->value() - view->indentation();
    const int width = view->viewport()->width();
    sideways->setValue(start >= before && start < before + width / 2 ? before : std::max(0, start));
}

WTreeItem WTreeView::GetSelectedItem() const {
    QTreeView* view = QtTreeView(*this);
    return view ? native_->model->ItemOf(view->currentIndex()) : kNoItem;
}

// The work runs in slices under the wait cursor; see PreOrderExpansion.
void WTreeView::ExpandSubtree(WTreeItem item) {
    QTreeView* view = QtTreeView(*this);
    if (view == nullptr || !store_.IsValid(item)) {
        return;
    }
    BusyInputFilter input;
    const WWaitCursor wait(this);
    const QModelIndex top = native_->model->IndexOf(item);
    ExpandEnd end = ExpandEnd::Whole;
    {
        HeldGeometry held(*view);
        held.ProcessEvents();  // shows the wait cursor at once
        Slices slices(held, input);
        PreOrderExpansion expansion(*view, *native_->model, top, workLimit_);
        expansion.Run(slices);
        end = expansion.AtLimit() ? ExpandEnd::AtWorkLimit
              : input.StopAsked() ? ExpandEnd::Escaped
                                  : ExpandEnd::Whole;
    }
    view->scrollTo(top, QAbstractItemView::EnsureVisible);
    ExpandEnded(end);
}
