#include "classlib/gui/wform.h"

#include "classlib/core/messagetext.h"

#include <algorithm>
#include <cwctype>
#include <string>

#include "classlib/gui/wcontrol.h"
#include "classlib/gui/wevents.h"
#include "classlib/gui/wmenu.h"
#include "classlib/gui/wtreeview.h"
#include "classlib/win32/formframe.h"
#include "classlib/win32/wbusyinput.h"
#include "classlib/win32/wtreebridge.h"
// After the native header (through formframe.h), which sets the platform up.
#include <shellapi.h>

namespace {

constexpr int kStatusLineId = 0x7FFF;

WForm* FormOf(HWND hwnd) {
    return dynamic_cast<WForm*>(ObjectOfWindow(hwnd));
}

int StatusHeight(const FormFrame& frame) {
    if (frame.status == nullptr || !IsWindowVisible(frame.status)) {
        return 0;
    }
    RECT rect{};
    GetWindowRect(frame.status, &rect);
    return rect.bottom - rect.top;
}

WSize ClientSizeOf(HWND hwnd, const FormFrame& frame) {
    RECT rect{};
    GetClientRect(hwnd, &rect);
    return WSize{rect.right, std::max(0L, rect.bottom - StatusHeight(frame))};
}

// A command from a control, the menu or the keyboard's Escape.
void HandleCommand(WForm& form, WPARAM wParam, LPARAM lParam) {
    const int id = LOWORD(wParam);
    if (lParam != 0) {
        if (HIWORD(wParam) == BN_CLICKED) {
            if (WWindow* control = ObjectOfWindow(reinterpret_cast<HWND>(lParam))) {
                WDispatchEvent(control, ClickEvent, nullptr);
            }
        }
        return;
    }
    if (id == IDCANCEL) {
        // Escape goes the way of the close box.
        form.HandleCloseRequest();
        return;
    }
    if (id == IDOK) {
        return;  // Enter without a default button does nothing
    }
    if (WMenu* menu = form.GetMenu()) {
        if (WMenuItem* item = menu->FindItem(id)) {
            WDispatchEvent(item, ClickEvent, nullptr);
        }
    }
}

FormFrame* FrameOf(HWND hwnd) {
    return static_cast<FormFrame*>(GetPropW(hwnd, L"Tamsk.Frame"));
}

// The status line shows its message with the paths shortened as far as its
// width needs.
void FitStatusText(FormFrame& frame) {
    RECT part{};
    SendMessageW(frame.status, SB_GETRECT, 0, reinterpret_cast<LPARAM>(&part));
    int borders[3] = {};
    SendMessageW(frame.status, SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders));
    // The text starts a few pixels into its part.
    const int room = static_cast<int>(part.right - part.left) - 2 * borders[0] - 6;
    HDC dc = GetDC(frame.status);
    HGDIOBJ font = SelectObject(dc, reinterpret_cast<HGDIOBJ>(
                                        SendMessageW(frame.status, WM_GETFONT, 0, 0)));
    const StatusLineText line =
        StatusLineTextOf(frame.statusMessage, [&](std::string_view shown) {
            const std::wstring text = Widen(shown);
            SIZE extent{};
            GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
            return extent.cx <= room;
        });
    SelectObject(dc, font);
    ReleaseDC(frame.status, dc);
    frame.statusWhole = line.whole;
    SetWindowTextW(frame.status, Widen(line.shown).c_str());
}

// Lays out the status line and tells the form of a new client area size.
void FrameResized(WForm& form, HWND hwnd) {
    FormFrame* frame = FrameOf(hwnd);
    if (frame == nullptr) {
        return;
    }
    if (frame->status != nullptr) {
        SendMessageW(frame->status, WM_SIZE, 0, 0);
        FitStatusText(*frame);
        // Painted whole: Wine's line repaints only what a wider window adds,
        // leaving the old right edge of its text drawn in the middle.
        InvalidateRect(frame->status, nullptr, TRUE);
    }
    const WSize newSize = ClientSizeOf(hwnd, *frame);
    if (newSize != frame->clientSize) {
        const WSize oldSize = frame->clientSize;
        frame->clientSize = newSize;
        form.ClientAreaResized(oldSize, newSize);
    }
}

// The dropped files' paths, in order, as a DropFilesEvent.
void DispatchDroppedFiles(WForm& form, HDROP drop) {
    WDropFilesData dropped;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        std::wstring path(DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
        DragQueryFileW(drop, i, path.data(), static_cast<UINT>(path.size()));
        dropped.paths.push_back(Narrow(path.c_str()));
    }
    DragFinish(drop);
    if (!dropped.paths.empty()) {
        WDispatchEvent(&form, DropFilesEvent, &dropped);
    }
}

// "Ctrl+F", "Shift+F3": the modifiers, then a letter, a digit or F1 to F24.
FormHotKey ParseHotKey(std::string_view keys) {
    FormHotKey hotKey;
    for (const auto& [prefix, modifier] : {std::pair<std::string_view, UINT>{"Ctrl+", MOD_CONTROL},
                                           {"Shift+", MOD_SHIFT},
                                           {"Alt+", MOD_ALT}}) {
        if (keys.starts_with(prefix)) {
            hotKey.modifiers |= modifier;
            keys.remove_prefix(prefix.size());
        }
    }
    if (keys.size() == 1 && std::iswalnum(static_cast<wint_t>(keys[0]))) {
        hotKey.key = static_cast<UINT>(std::towupper(static_cast<wint_t>(keys[0])));
    } else if (keys.size() >= 2 && keys[0] == 'F') {
        const int number = std::atoi(std::string(keys.substr(1)).c_str());
        hotKey.key = number >= 1 && number <= 24 ? VK_F1 + static_cast<UINT>(number) - 1 : 0;
    }
    return hotKey;
}

UINT PressedModifiers() {
    UINT modifiers = 0;
    modifiers |= GetKeyState(VK_CONTROL) < 0 ? MOD_CONTROL : 0;
    modifiers |= GetKeyState(VK_SHIFT) < 0 ? MOD_SHIFT : 0;
    modifiers |= GetKeyState(VK_MENU) < 0 ? MOD_ALT : 0;
    return modifiers;
}

// The frame of a top-level window: the outer size less the size that
// PlaceOnScreen and GetPlacement speak of (the window less its border and
// title bar, the menu bar included as on the other backend).
SIZE FrameSizeOf(HWND hwnd) {
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_EXSTYLE)));
    return SIZE{frame.right - frame.left, frame.bottom - frame.top};
}

INT_PTR Result(HWND hwnd, LRESULT result) {
    SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, result);
    return TRUE;
}

// Posted by a form to itself: its window is given the size the system keeps
// for it once more.
constexpr UINT kReassertSizeMessage = WM_APP + 1;

// The system keeps a form at least at its minimum size whoever asks for less.
// Wine, though, leaves the X window at the smaller size it was given by a
// window manager or without one (its Win32 size is kept), until the window's
// size is set again from the program.
void KeepMinimumSize(HWND hwnd, const FormFrame& frame, const WINDOWPOS& position) {
    const WSize minimum = frame.minimumSize;
    if ((position.flags & SWP_NOSIZE) == 0 && !IsIconic(hwnd) &&
        (position.cx < minimum.w || position.cy < minimum.h)) {
        PostMessageW(hwnd, kReassertSizeMessage, 0, 0);
    }
}

}  // namespace

INT_PTR CALLBACK FormProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* form = reinterpret_cast<WForm*>(lParam);
        SetObjectOfWindow(hwnd, form);
        form->GetNative().hwnd = hwnd;
        return TRUE;
    }
    WForm* form = FormOf(hwnd);
    switch (message) {
        case WM_CLOSE:
            if (BusyInput::HoldsBack(hwnd, message)) {
                return TRUE;
            }
            if (form != nullptr) {
                form->HandleCloseRequest();
            } else {
                DestroyWindow(hwnd);  // a released window, gone at last
            }
            return TRUE;
        case WM_COMMAND:
            if (form != nullptr) {
                HandleCommand(*form, wParam, lParam);
            }
            return TRUE;
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (auto* tree = dynamic_cast<WTreeView*>(ObjectOfWindow(header->hwndFrom))) {
                return Result(hwnd, tree->GetTreeNative().bridge->OnNotify(header));
            }
            return FALSE;
        }
        case WM_SIZE:
            if (form != nullptr) {
                FrameResized(*form, hwnd);
            }
            return TRUE;
        case WM_GETMINMAXINFO:
            if (FormFrame* frame = FrameOf(hwnd)) {
                auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
                const WSize minimum = frame->minimumSize;
                info->ptMinTrackSize.x = std::max<LONG>(info->ptMinTrackSize.x, minimum.w);
                info->ptMinTrackSize.y = std::max<LONG>(info->ptMinTrackSize.y, minimum.h);
                return Result(hwnd, 0);
            }
            return FALSE;
        case WM_WINDOWPOSCHANGING:
            if (const FormFrame* frame = FrameOf(hwnd)) {
                KeepMinimumSize(hwnd, *frame, *reinterpret_cast<const WINDOWPOS*>(lParam));
            }
            return FALSE;  // the system then applies the minimum
        case kReassertSizeMessage: {
            RECT outer{};
            GetWindowRect(hwnd, &outer);
            SetWindowPos(hwnd, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            return TRUE;
        }
        case WM_DROPFILES:
            if (BusyInput::HoldsBack(hwnd, message, wParam)) {
                return TRUE;
            }
            if (form != nullptr) {
                DispatchDroppedFiles(*form, reinterpret_cast<HDROP>(wParam));
            }
            return TRUE;
        case WM_CTLCOLORSTATIC:
            // A label is drawn on the form's own face colour, its whole width.
            SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_BTNFACE));
            return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
        case WM_SETCURSOR:
            if (WaitCursorShown()) {
                SetCursor(LoadCursorW(nullptr, IDC_WAIT));
                return Result(hwnd, TRUE);
            }
            return FALSE;
        default:
            return FALSE;
    }
}

bool RunFormHotKey(const MSG& message) {
    if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) {
        return false;
    }
    HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    FormFrame* frame = root ? FrameOf(root) : nullptr;
    if (frame == nullptr) {
        return false;
    }
    const UINT modifiers = PressedModifiers();
    for (const FormHotKey& hotKey : frame->hotKeys) {
        if (hotKey.key == message.wParam && hotKey.modifiers == modifiers) {
            const auto action = hotKey.action;  // the action may change the list
            action();
            return true;
        }
    }
    return false;
}

WForm::WForm() = default;

WForm::~WForm() {
    if (HasWindow()) {
        RemovePropW(Win32Window(*this), L"Tamsk.Frame");
    }
    delete frame_;
}

WWindowHandle WForm::MakeWindow(WWindowHandle /*parent*/) {
    return {};  // the dialog template makes the window
}

bool WForm::BuildFromTemplate(std::string_view templateName, WWindowHandle parentWindow) {
    const std::vector<WORD> bytes = BuildDialogTemplate(templateName);
    if (bytes.empty()) {
        return false;
    }
    HWND hwnd = CreateDialogIndirectParamW(
        GetModuleHandleW(nullptr), reinterpret_cast<const DLGTEMPLATE*>(bytes.data()),
        Win32Window(parentWindow), FormProcedure, reinterpret_cast<LPARAM>(this));
    if (hwnd == nullptr) {
        return false;
    }
    delete frame_;
    frame_ = new FormFrame();
    frame_->clientSize = ClientSizeOf(hwnd, *frame_);
    SetPropW(hwnd, L"Tamsk.Frame", frame_);
    // The template's position is relative to the owner's client area already;
    // this keeps the window wholly on the screen.
    SendMessageW(hwnd, DM_REPOSITION, 0, 0);
    return true;
}

void WForm::FocusFirstControl() {
    HWND hwnd = Win32Window(*this);
    // The first control of the tab order that can take the focus, tab stop or
    // not: no static text, nothing hidden or disabled.
    for (HWND child = GetWindow(hwnd, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        // The form itself may not be shown yet: the child's own style counts.
        const bool shown = (GetWindowLongPtrW(child, GWL_STYLE) & WS_VISIBLE) != 0;
        const bool canFocus = shown && IsWindowEnabled(child) &&
                              lstrcmpiW(WindowClass(child).c_str(), L"Static") != 0 &&
                              lstrcmpiW(WindowClass(child).c_str(), STATUSCLASSNAMEW) != 0;
        if (canFocus) {
            SendMessageW(hwnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(child), TRUE);
            return;
        }
    }
}

bool WForm::DestroyWindow() {
    if (!HasWindow()) {
        return false;
    }
    WDispatchEvent(this, DestroyEvent, nullptr);
    if (HasWindow()) {
        ::SetMenu(Win32Window(*this), nullptr);
        RemovePropW(Win32Window(*this), L"Tamsk.Frame");
    }
    delete frame_;
    frame_ = nullptr;
    resizeRecords_.clear();
    ReleaseWindowLater();
    return true;
}

void WForm::PostClose() {
    if (HasWindow()) {
        PostMessageW(Win32Window(*this), WM_CLOSE, 0, 0);
    }
}

WWindowHandle WForm::GetDialogItem(int id) const {
    if (!HasWindow() || id == kStatusLineId) {
        return {};
    }
    return HandleOf(GetDlgItem(Win32Window(*this), id));
}

bool WForm::HasClientItem(WWindowHandle control) const {
    HWND hwnd = Win32Window(control);
    return HasWindow() && hwnd != nullptr && IsWindow(hwnd) &&
           GetParent(hwnd) == Win32Window(*this);
}

WRect WForm::ItemRectangle(WWindowHandle control) const {
    RECT rect{};
    GetWindowRect(Win32Window(control), &rect);
    MapWindowPoints(HWND_DESKTOP, Win32Window(*this), reinterpret_cast<POINT*>(&rect), 2);
    return WRect{rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

void WForm::MoveItem(WWindowHandle control, WRect rect) {
    MoveWindow(Win32Window(control), rect.x, rect.y, rect.w, rect.h, TRUE);
}

WWindowHandle WForm::GetClientArea() const {
    return GetHandle();
}

WSize WForm::GetClientSize() const {
    return frame_ && HasWindow() ? ClientSizeOf(Win32Window(*this), *frame_) : WSize();
}

bool WForm::SetMenu(WMenu* menu) {
    if (frame_ == nullptr || !HasWindow()) {
        return false;
    }
    HWND hwnd = Win32Window(*this);
    const BOOL set = ::SetMenu(hwnd, menu ? menu->GetNative().menu : nullptr);
    menu_ = menu;
    DrawMenuBar(hwnd);
    FrameResized(*this, hwnd);
    return set != FALSE;
}

void WForm::SetStatusText(std::string_view text) {
    if (frame_ == nullptr || !HasWindow()) {
        return;
    }
    HWND hwnd = Win32Window(*this);
    if (frame_->status == nullptr) {
        // A text cut off at the line's end shows whole as the line's tooltip.
        frame_->status = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | SBARS_TOOLTIPS, 0, 0,
                                         0, 0, hwnd, reinterpret_cast<HMENU>(kStatusLineId),
                                         GetModuleHandleW(nullptr), nullptr);
        SendMessageW(frame_->status, WM_SETFONT, SendMessageW(hwnd, WM_GETFONT, 0, 0), FALSE);
    }
    frame_->statusMessage = text;
    ShowWindow(frame_->status, text.empty() ? SW_HIDE : SW_SHOW);
    FrameResized(*this, hwnd);  // fits the text to the line
    SendMessageW(frame_->status, SB_SETTIPTEXTW, 0,
                 reinterpret_cast<LPARAM>(Widen(frame_->statusWhole).c_str()));
}

WString WForm::GetStatusText() const {
    // The text itself, not the control's visibility: a form that is not shown
    // yet (or any more) still has its status line. An empty text hides it.
    if (frame_ == nullptr || frame_->status == nullptr) {
        return WString();
    }
    return WString(frame_->statusWhole);
}

void WForm::CenterWindow() {
    if (!HasWindow()) {
        return;
    }
    HWND hwnd = Win32Window(*this);
    RECT area{};
    HWND parentWindow = parent_ ? Win32Window(*parent_) : nullptr;
    if (parentWindow != nullptr) {
        GetClientRect(parentWindow, &area);
        MapWindowPoints(parentWindow, HWND_DESKTOP, reinterpret_cast<POINT*>(&area), 2);
    } else {
        MONITORINFO monitor{};
        monitor.cbSize = sizeof(monitor);
        GetMonitorInfoW(MonitorFromWindow(hwnd, MONITOR_DEFAULTTOPRIMARY), &monitor);
        area = monitor.rcWork;
    }
    RECT window{};
    GetWindowRect(hwnd, &window);
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    int x = area.left + (area.right - area.left - width) / 2;
    int y = area.top + (area.bottom - area.top - height) / 2;
    x = std::min<int>(x, area.right - width);
    y = std::min<int>(y, area.bottom - height);
    SetWindowPos(hwnd, nullptr, std::max(0, x), std::max(0, y), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void WForm::PlaceOnScreen(WRect placement) {
    if (!HasWindow() || placement.w <= 0 || placement.h <= 0) {
        return;
    }
    HWND hwnd = Win32Window(*this);
    const SIZE frame = FrameSizeOf(hwnd);
    RECT outer{placement.x, placement.y, placement.x + placement.w + frame.cx,
               placement.y + placement.h + frame.cy};
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromRect(&outer, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT area = monitor.rcWork;
    const WSize minimum = frame_ ? frame_->minimumSize : WSize();
    const int width =
        std::min<int>(std::max<int>(outer.right - outer.left, minimum.w), area.right - area.left);
    const int height =
        std::min<int>(std::max<int>(outer.bottom - outer.top, minimum.h), area.bottom - area.top);
    const int x = std::clamp<int>(outer.left, area.left, area.right - width);
    const int y = std::clamp<int>(outer.top, area.top, area.bottom - height);
    SetWindowPos(hwnd, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

WRect WForm::GetPlacement() const {
    if (!HasWindow()) {
        return {};
    }
    HWND hwnd = Win32Window(*this);
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    GetWindowPlacement(hwnd, &placement);
    // The normal position is in work-area coordinates: moved to the screen's.
    RECT outer = placement.rcNormalPosition;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromRect(&outer, MONITOR_DEFAULTTOPRIMARY), &monitor);
    OffsetRect(&outer, monitor.rcWork.left - monitor.rcMonitor.left,
               monitor.rcWork.top - monitor.rcMonitor.top);
    const SIZE frame = FrameSizeOf(hwnd);
    return WRect{outer.left, outer.top, outer.right - outer.left - frame.cx,
                 outer.bottom - outer.top - frame.cy};
}

void WForm::AddHotKey(std::string_view keys, std::function<void()> action) {
    FormHotKey hotKey = ParseHotKey(keys);
    if (frame_ != nullptr && hotKey.key != 0) {
        hotKey.action = std::move(action);
        frame_->hotKeys.push_back(std::move(hotKey));
    }
}

void WForm::AcceptDroppedFiles() {
    if (HasWindow()) {
        DragAcceptFiles(Win32Window(*this), TRUE);
    }
}

void WForm::SetMinimumTrackingSize(int width, int height) {
    if (frame_ != nullptr) {
        frame_->minimumSize = WSize{width, height};
    }
}

WSize WForm::GetOuterSize() const {
    if (!HasWindow()) {
        return {};
    }
    RECT rect{};
    GetWindowRect(Win32Window(*this), &rect);
    return WSize{rect.right - rect.left, rect.bottom - rect.top};
}

void WForm::OrderChildWindows(std::initializer_list<WWindow*> windows) {
    // The tab order is the order of the child windows.
    HWND previous = HWND_TOP;
    for (WWindow* window : windows) {
        HWND hwnd = window ? Win32Window(*window) : nullptr;
        if (hwnd == nullptr || !IsWindow(hwnd)) {
            continue;
        }
        SetWindowPos(hwnd, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        previous = hwnd;
    }
}

WWindowHandle WDialog::MakeWindow(WWindowHandle /*parent*/) {
    return {};
}

namespace {

// Runs the messages of the program until the dialog has ended, its window has
// gone or the program is asked to quit (the quit request is put back for the
// main loop).
void RunModal(HWND dialog, const bool& ended) {
    MSG message{};
    while (!ended && IsWindow(dialog)) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        if (got < 0) {
            return;
        }
        if (!RunFormHotKey(message) && !IsDialogMessageW(dialog, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

}  // namespace

bool WDialog::Create(WWindow* parent, std::string_view templateName) {
    result_ = 0;
    ended_ = false;
    if (!WForm::Create(parent, templateName)) {
        return false;
    }
    // A dialog ended already while it was being created does not run at all.
    if (HasWindow() && !ended_) {
        HWND owner = parent ? Win32Window(*parent) : nullptr;
        const bool ownerWasEnabled = owner != nullptr && IsWindowEnabled(owner);
        if (ownerWasEnabled) {
            EnableWindow(owner, FALSE);
        }
        running_ = true;
        RunModal(Win32Window(*this), ended_);
        running_ = false;
        // The owner takes input again before the dialog goes, so that it is activated.
        if (ownerWasEnabled) {
            EnableWindow(owner, TRUE);
        }
    }
    if (HasWindow()) {
        DestroyWindow();
    }
    return true;
}

void WDialog::EndDialog(int result) {
    result_ = result;
    ended_ = true;
    if (running_ && HasWindow()) {
        PostMessageW(Win32Window(*this), WM_NULL, 0, 0);  // wakes the modal run
    }
}
