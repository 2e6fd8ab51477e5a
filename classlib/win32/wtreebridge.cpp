#include "classlib/win32/wtreebridge.h"

TreeBridge::TreeBridge(WTreeStore& store) : store_(store) {
    store_.SetObserver(this);
}

TreeBridge::~TreeBridge() {
    store_.SetObserver(nullptr);
}

void TreeBridge::Attach(HWND tree) {
    tree_ = tree;
    Reset();
}

void TreeBridge::BeginBulkChange() {
    ++bulkDepth_;
}

void TreeBridge::EndBulkChange() {
    if (bulkDepth_ > 0 && --bulkDepth_ == 0) {
        Reset();
    }
}

void TreeBridge::Reset() {
    if (tree_ == nullptr || !IsWindow(tree_)) {
        return;
    }
    SendMessageW(tree_, WM_SETREDRAW, FALSE, 0);
    SendMessageW(tree_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    shown_.clear();
    filled_.clear();
    InsertChildren(kNoItem, TVI_ROOT);
    SendMessageW(tree_, WM_SETREDRAW, TRUE, 0);
    Repaint();
}

HTREEITEM TreeBridge::Insert(WTreeItem item, HTREEITEM parentHandle, HTREEITEM after) {
    TVINSERTSTRUCTW insert{};
    insert.hParent = parentHandle;
    insert.hInsertAfter = after;
    insert.item.mask = TVIF_TEXT | TVIF_CHILDREN | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
    insert.item.pszText = LPSTR_TEXTCALLBACKW;
    insert.item.cChildren = I_CHILDRENCALLBACK;
    insert.item.iImage = I_IMAGECALLBACK;
    insert.item.iSelectedImage = I_IMAGECALLBACK;
    insert.item.lParam = static_cast<LPARAM>(item);
    auto* handle = reinterpret_cast<HTREEITEM>(
        SendMessageW(tree_, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
    if (handle != nullptr) {
        shown_[item] = handle;
    }
    return handle;
}

void TreeBridge::InsertChildren(WTreeItem parent, HTREEITEM parentHandle) {
    filled_.insert(parent);
    // Children made on demand come now, inserted below as the others.
    ++bulkDepth_;
    store_.MakeChildren(parent);
    --bulkDepth_;
    const WTreeItem first = parent == kNoItem ? store_.FirstRoot() : store_.FirstChild(parent);
    for (WTreeItem child = first; child != kNoItem; child = store_.NextSibling(child)) {
        Insert(child, parentHandle, TVI_LAST);
    }
}

LRESULT TreeBridge::OnNotify(const NMHDR* header) {
    switch (header->code) {
        case TVN_GETDISPINFOW: {
            auto* info = reinterpret_cast<NMTVDISPINFOW*>(const_cast<NMHDR*>(header));
            const auto item = static_cast<WTreeItem>(info->item.lParam);
            if (info->item.mask & TVIF_TEXT) {
                text_ = Widen(store_.Label(item));
                info->item.pszText = text_.data();
            }
            if (info->item.mask & TVIF_CHILDREN) {
                info->item.cChildren = store_.MayHaveChildren(item) ? 1 : 0;
            }
            if (info->item.mask & TVIF_IMAGE) {
                info->item.iImage = store_.Image(item);
            }
            if (info->item.mask & TVIF_SELECTEDIMAGE) {
                info->item.iSelectedImage = store_.SelectedImage(item);
            }
            return 0;
        }
        case TVN_ITEMEXPANDINGW: {
            const auto* view = reinterpret_cast<const NMTREEVIEWW*>(header);
            const auto item = static_cast<WTreeItem>(view->itemNew.lParam);
            if ((view->action & TVE_EXPAND) && !filled_.count(item)) {
                InsertChildren(item, view->itemNew.hItem);
            }
            return FALSE;  // let it expand
        }
        case TVN_DELETEITEMW: {
            const auto* view = reinterpret_cast<const NMTREEVIEWW*>(header);
            const auto item = static_cast<WTreeItem>(view->itemOld.lParam);
            shown_.erase(item);
            filled_.erase(item);
            return 0;
        }
        default:
            return 0;
    }
}

HTREEITEM TreeBridge::Show(WTreeItem item) {
    if (tree_ == nullptr || !store_.IsValid(item)) {
        return nullptr;
    }
    if (auto found = shown_.find(item); found != shown_.end()) {
        return found->second;
    }
    const WTreeItem parent = store_.Parent(item);
    HTREEITEM parentHandle = parent == kNoItem ? TVI_ROOT : Show(parent);
    if (parentHandle == nullptr) {
        return nullptr;
    }
    if (!filled_.count(parent)) {
        InsertChildren(parent, parentHandle);
    }
    auto found = shown_.find(item);
    return found == shown_.end() ? nullptr : found->second;
}

bool TreeBridge::IsExpanded(WTreeItem item) const {
    auto found = shown_.find(item);
    if (tree_ == nullptr || found == shown_.end()) {
        return false;
    }
    const auto state = SendMessageW(tree_, TVM_GETITEMSTATE,
                                    reinterpret_cast<WPARAM>(found->second), TVIS_EXPANDED);
    return (state & TVIS_EXPANDED) != 0;
}

void TreeBridge::ItemAdded(WTreeItem item) {
    if (bulkDepth_ > 0 || tree_ == nullptr) {
        return;
    }
    const WTreeItem parent = store_.Parent(item);
    if (!filled_.count(parent)) {
        // A shown parent may show a button now, once it has a child. Children
        // made on demand come by the thousand while '*' runs: a repaint of the
        // whole control for each of them would cost more than the rows.
        if (store_.PreviousSibling(item) == kNoItem && shown_.count(parent) > 0) {
            Repaint();
        }
        return;
    }
    HTREEITEM parentHandle = parent == kNoItem ? TVI_ROOT : shown_[parent];
    const WTreeItem previous = store_.PreviousSibling(item);
    HTREEITEM after = TVI_FIRST;
    if (previous != kNoItem) {
        auto found = shown_.find(previous);
        after = found == shown_.end() ? TVI_LAST : found->second;
    }
    Insert(item, parentHandle, after);
}

void TreeBridge::ItemAboutToBeRemoved(WTreeItem item) {
    if (bulkDepth_ > 0 || tree_ == nullptr) {
        return;
    }
    if (auto found = shown_.find(item); found != shown_.end()) {
        SendMessageW(tree_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(found->second));
    }
}

void TreeBridge::ItemRemoved(WTreeItem /*parent*/) {
    if (bulkDepth_ == 0) {
        Repaint();
    }
}

void TreeBridge::LabelChanged(WTreeItem /*item*/) {
    if (bulkDepth_ == 0) {
        Repaint();
    }
}

void TreeBridge::AllRemoved() {
    if (bulkDepth_ == 0) {
        Reset();
    }
}

void TreeBridge::Repaint() {
    if (tree_ != nullptr && IsWindow(tree_)) {
        InvalidateRect(tree_, nullptr, TRUE);
    }
}
