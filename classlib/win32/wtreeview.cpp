#include "classlib/gui/wtreeview.h"

#include "classlib/gui/wevents.h"
#include "classlib/gui/wimagelist.h"
#include "classlib/win32/wtreebridge.h"

WTreeView::WTreeView() : native_(std::make_unique<Native>()) {
    native_->bridge = std::make_unique<TreeBridge>(store_);
    store_.SetDeleteHandler([this](WTreeItem item, std::unique_ptr<WObject>& data) {
        WTreeDeleteItemData eventData(item, data);
        WDispatchEvent(this, DeleteItemEvent, &eventData);
    });
}

WTreeView::~WTreeView() {
    store_.SetDeleteHandler(nullptr);
}

bool WTreeView::Accepts(WWindowHandle item) const {
    HWND hwnd = Win32Window(item);
    return hwnd != nullptr && lstrcmpiW(WindowClass(hwnd).c_str(), WC_TREEVIEWW) == 0;
}

void WTreeView::Attached() {
    native_->bridge->Attach(Win32Window(*this));
}

void WTreeView::DeleteAllItems() {
    BulkChange bulk(*this);
    store_.DeleteAll();
}

WTreeView::BulkChange::BulkChange(WTreeView& view) : view_(view) {
    view_.native_->bridge->BeginBulkChange();
}

WTreeView::BulkChange::~BulkChange() {
    view_.native_->bridge->EndBulkChange();
}

HIMAGELIST Win32ImageList(const WImageList& images, HWND window);

void WTreeView::SetImageList(const WImageList& images) {
    if (!HasWindow()) {
        return;
    }
    HWND tree = Win32Window(*this);
    HIMAGELIST list = Win32ImageList(images, tree);
    auto old = reinterpret_cast<HIMAGELIST>(
        SendMessageW(tree, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(list)));
    if (old != nullptr && old != list) {
        ImageList_Destroy(old);
    }
    const WColor background = images.GetBackgroundColor();
    if (background.set) {
        SendMessageW(tree, TVM_SETBKCOLOR, 0,
                     static_cast<LPARAM>(RGB(background.red, background.green, background.blue)));
    }
}

void WTreeView::Expand(WTreeItem item, bool expand) {
    TreeBridge& bridge = *native_->bridge;
    if (HTREEITEM handle = bridge.Show(item)) {
        if (expand) {
            // The children go in first: expanding by program sends no notification.
            bridge.Show(store_.FirstChild(item));
        }
        SendMessageW(Win32Window(*this), TVM_EXPAND, expand ? TVE_EXPAND : TVE_COLLAPSE,
                     reinterpret_cast<LPARAM>(handle));
    }
}

bool WTreeView::IsExpanded(WTreeItem item) const {
    return native_->bridge->IsExpanded(item);
}
