#include "classlib/gui/wtreeview.h"

#include <QPalette>
#include <QTreeView>

#include "classlib/qt/treemodel.h"
#include "classlib/gui/wevents.h"
#include "classlib/gui/wimagelist.h"

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
