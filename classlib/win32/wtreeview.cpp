#include "classlib/gui/wtreeview.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <vector>

#include "classlib/gui/wcursor.h"
#include "classlib/gui/wevents.h"
#include "classlib/gui/wimagelist.h"
#include "classlib/win32/wbusyinput.h"
#include "classlib/win32/wtreebridge.h"

namespace {

// The longest stretch of work between two turns of the message pump.
constexpr auto kSlice = std::chrono::milliseconds(40);

// Takes '+', '-' and '*' from the control, as characters, so that the main
// keyboard's keys work as the numeric keypad's do (the control knows only
// the keypad's, and reads the characters as the start of an incremental
// search). Its own '*' also expands the whole subtree in one piece and
// freezes the window on big ones.
LRESULT CALLBACK TreeKeyProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                  UINT_PTR /*id*/, DWORD_PTR owner) {
    if (message == WM_KEYDOWN &&
        (wParam == VK_ADD || wParam == VK_SUBTRACT || wParam == VK_MULTIPLY)) {
        return 0;  // the character that follows does it
    }
    if (message == WM_CHAR && (wParam == L'+' || wParam == L'-' || wParam == L'*')) {
        auto* view = reinterpret_cast<WTreeView*>(owner);
        const WTreeItem item = view->GetSelectedItem();
        if (item != kNoItem && wParam == L'*') {
            view->ExpandSubtree(item);
        } else if (item != kNoItem) {
            wParam == L'+' ? view->Expand(item) : view->Collapse(item);
        }
        return 0;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

constexpr UINT_PTR kTreeKeySubclass = 1;

// Whether the item's row lies wholly inside the control's client area.
bool IsRowShown(HWND tree, HTREEITEM handle) {
    if (handle == nullptr) {
        return false;
    }
    RECT row{};
    std::memcpy(&row, &handle, sizeof handle);  // the message takes the item in the rectangle
    RECT client{};
    GetClientRect(tree, &client);
    return SendMessageW(tree, TVM_GETITEMRECT, FALSE, reinterpret_cast<LPARAM>(&row)) != 0 &&
           row.top >= client.top && row.bottom <= client.bottom;
}

// Scrolls sideways only as far as the start of the item's row needs (its
// expander, image and text): ensuring an item visible scrolls a long label's
// text to the left edge, hiding the expanders. The view stays where it was
// (before) while the start lies in its left half.
void ShowStartOfRow(HWND tree, HTREEITEM handle, int before) {
    RECT text{};
    std::memcpy(&text, &handle, sizeof handle);
    if (SendMessageW(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&text)) == 0) {
        return;
    }
    int imageWidth = 0;
    int imageHeight = 0;
    if (HIMAGELIST images = TreeView_GetImageList(tree, TVSIL_NORMAL)) {
        ImageList_GetIconSize(images, &imageWidth, &imageHeight);
    }
    const int now = GetScrollPos(tree, SB_HORZ);
    const int indent = static_cast<int>(SendMessageW(tree, TVM_GETINDENT, 0, 0));
    const int start = std::max(0, static_cast<int>(text.left) + now - imageWidth - indent);
    RECT client{};
    GetClientRect(tree, &client);
    const int wanted = start >= before && start < before + client.right / 2 ? before : start;
    if (wanted != now) {
        SendMessageW(tree, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, wanted), 0);
    }
}

// A subtree of at most this many rows is expanded while its top is closed and
// then shown by opening the top: the control lays the rows out then, and some
// (Wine's) do it for every row at once.
constexpr std::size_t kRowsShownAtOnce = 1500;

// Expands a subtree one parent a step, in the order the rows are shown. A big
// subtree opens level by level; each part of it small enough is expanded
// hidden below its closed top first and then shown in one piece. No step
// reveals more than kRowsShownAtOnce rows or one parent's children, so the
// window stays responsive between steps, also where the control lays out
// every revealed row when an item opens.
class SubtreeExpansion {
public:
    SubtreeExpansion(WTreeView& view, WTreeItem top, std::size_t rowLimit)
        : view_(view), store_(view.Store()), rowLimit_(rowLimit) {
        steps_.push_back({top, Kind::Visit});
    }

    // Whether the rows brought into the tree passed the limit.
    bool AtLimit() const { return rows_ > rowLimit_; }

    // Does one step; false when nothing is left or the limit is passed.
    bool Step() {
        if (steps_.empty() || AtLimit()) {
            return false;
        }
        const auto [item, kind] = steps_.back();
        steps_.pop_back();
        if (kind == Kind::Visit && store_.HasAtMostDescendants(item, kRowsShownAtOnce)) {
            view_.Collapse(item);
            steps_.push_back({item, Kind::Open});
            PushChildren(item, Kind::Hidden);
        } else {
            view_.Expand(item);
            if (kind != Kind::Open) {
                PushChildren(item, kind);
            }
        }
        return true;
    }

    // Stopped early: the part expanded hidden so far is shown all the same.
    void ShowHiddenPart() {
        while (!steps_.empty() && steps_.back().kind != Kind::Open) {
            steps_.pop_back();
        }
        if (!steps_.empty()) {
            view_.Expand(steps_.back().item);
        }
    }

private:
    enum class Kind { Visit, Hidden, Open };
    struct Pending {
        WTreeItem item;
        Kind kind;
    };

    // The children that have children of their own, first child on top.
    void PushChildren(WTreeItem parent, Kind kind) {
        store_.MakeChildren(parent);
        for (WTreeItem child = store_.LastChild(parent); child != kNoItem;
             child = store_.PreviousSibling(child)) {
            ++rows_;
            if (store_.MayHaveChildren(child)) {
                steps_.push_back({child, kind});
            }
        }
    }

    WTreeView& view_;
    WTreeStore& store_;
    std::size_t rowLimit_;
    std::size_t rows_ = 0;
    std::vector<Pending> steps_;
};

}  // namespace

WTreeView::WTreeView() : native_(std::make_unique<Native>()) {
    native_->bridge = std::make_unique<TreeBridge>(store_);
    store_.SetDeleteHandler([this](WTreeItem item, std::unique_ptr<WObject>& data) {
        WTreeDeleteItemData eventData(item, data);
        WDispatchEvent(this, DeleteItemEvent, &eventData);
    });
}

WTreeView::~WTreeView() {
    if (HasWindow()) {
        RemoveWindowSubclass(Win32Window(*this), TreeKeyProcedure, kTreeKeySubclass);
    }
    store_.SetDeleteHandler(nullptr);
}

bool WTreeView::Accepts(WWindowHandle item) const {
    HWND hwnd = Win32Window(item);
    return hwnd != nullptr && lstrcmpiW(WindowClass(hwnd).c_str(), WC_TREEVIEWW) == 0;
}

void WTreeView::Attached() {
    native_->bridge->Attach(Win32Window(*this));
    SetWindowSubclass(Win32Window(*this), TreeKeyProcedure, kTreeKeySubclass,
                      reinterpret_cast<DWORD_PTR>(this));
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

void WTreeView::Expand(WTreeItem item) {
    TreeBridge& bridge = *native_->bridge;
    if (HTREEITEM handle = bridge.Show(item)) {
        // The children go in first: expanding by program sends no notification.
        store_.MakeChildren(item);
        bridge.Show(store_.FirstChild(item));
        SendMessageW(Win32Window(*this), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(handle));
    }
}

void WTreeView::Collapse(WTreeItem item) {
    if (HTREEITEM handle = native_->bridge->Show(item)) {
        SendMessageW(Win32Window(*this), TVM_EXPAND, TVE_COLLAPSE,
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
        const int before = GetScrollPos(tree, SB_HORZ);
        SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(handle));
        SendMessageW(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(handle));
        ShowStartOfRow(tree, handle, before);
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

void WTreeView::ExpandSubtree(WTreeItem item) {
    if (!HasWindow() || !store_.IsValid(item)) {
        return;
    }
    const WWaitCursor wait(this);
    BusyInput input;
    HWND tree = Win32Window(*this);
    // The rows stay where they were, so that the node the work was asked for
    // stays in view. The first row shown is then at or above the node, never
    // inside what the work opens and closes.
    const LPARAM firstShown = IsRowShown(tree, native_->bridge->Show(item))
                                  ? SendMessageW(tree, TVM_GETNEXTITEM, TVGN_FIRSTVISIBLE, 0)
                                  : 0;
    const auto keepInView = [&] {
        if (firstShown != 0) {
            SendMessageW(tree, TVM_SELECTITEM, TVGN_FIRSTVISIBLE, firstShown);
        }
    };
    SubtreeExpansion expansion(*this, item, workLimit_);
    ExpandEnd end = ExpandEnd::Whole;
    auto sliceStart = std::chrono::steady_clock::now();
    while (expansion.Step()) {
        if (std::chrono::steady_clock::now() - sliceStart >= kSlice) {
            keepInView();
            if (input.Pump()) {
                expansion.ShowHiddenPart();
                end = ExpandEnd::Escaped;
                break;
            }
            sliceStart = std::chrono::steady_clock::now();
        }
    }
    if (expansion.AtLimit()) {
        expansion.ShowHiddenPart();
        end = ExpandEnd::AtWorkLimit;
    }
    keepInView();
    if (firstShown == 0) {
        // Not shown when asked for (from the menu): it becomes the first row
        // shown. Scrolled vertically only: ensuring it visible would scroll
        // a long label's end into view and hide the expanders.
        if (HTREEITEM handle = native_->bridge->Show(item)) {
            SendMessageW(tree, TVM_SELECTITEM, TVGN_FIRSTVISIBLE, reinterpret_cast<LPARAM>(handle));
        }
    }
    ExpandEnded(end);
}
