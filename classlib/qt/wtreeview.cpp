#include "classlib/gui/wtreeview.h"

#include <QPalette>
#include <QTreeView>

#include "classlib/gui/wevents.h"
#include "classlib/gui/wimagelist.h"
#include "classlib/qt/treemodel.h"
#include "classlib/qt/wqtnative.h"

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
    QtTreeView(*this)->setModel(native_->model.get());
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
