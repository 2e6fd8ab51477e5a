#include "classlib/gui/wtreeview.h"

#include <vector>

#include "classlib/gui/wcursor.h"
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

void WTreeView::SelectItem(WTreeItem item) {
    if (!HasWindow() || !store_.IsValid(item)) {
        return;
    }
    std::vector<WTreeItem> ancestors;
    for (WTreeItem at = store_.Parent(item); at != kNoItem; at = store_.Parent(at)) {
        ancestors.push_back(at);
    }
    for (auto it = ancestors.rbegin(); it != ancestors.rend(); ++it) {
        Expand(*it);
    }
    if (HTREEITEM handle = native_->bridge->Show(item)) {
        HWND tree = Win32Window(*this);
        SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(handle));
        SendMessageW(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(handle));
    }
}

WTreeItem WTreeView::GetSelectedItem() const {
    if (!HasWindow()) {
        return kNoItem;
    }
    HWND tree = Win32Window(*this);
    auto* handle = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    if (handle == nullptr) {
        return kNoItem;
    }
    TVITEMW info{};
    info.mask = TVIF_PARAM;
    info.hItem = handle;
    SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&info));
    return static_cast<WTreeItem>(info.lParam);
}

// Minimal on this backend: the subtree is expanded in one piece under the
// wait cursor, without slices or Esc; the control's own '*' key is left as it is.
void WTreeView::ExpandSubtree(WTreeItem item) {
    if (!HasWindow() || !store_.IsValid(item)) {
        return;
    }
    const WWaitCursor wait(this);
    std::vector<WTreeItem> pending{item};
    while (!pending.empty()) {
        const WTreeItem parent = pending.back();
        pending.pop_back();
        if (!store_.HasChildren(parent)) {
            continue;
        }
        Expand(parent);
        for (WTreeItem child = store_.FirstChild(parent); child != kNoItem;
             child = store_.NextSibling(child)) {
            pending.push_back(child);
        }
    }
}
