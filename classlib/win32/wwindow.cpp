#include "classlib/gui/wwindow.h"

#include "classlib/gui/wevents.h"
#include "classlib/gui/wfont.h"
#include "classlib/gui/wicon.h"
#include "classlib/win32/wwin32native.h"
#include "classlib/gui/wresources.h"

WWindow::WWindow() : native_(std::make_unique<Native>()) {}

WWindow::~WWindow() {
    // A later object at this address must not inherit this window's handlers.
    WUnregisterAllEvents(this);
    if (HasWindow()) {
        SetObjectOfWindow(native_->hwnd, nullptr);
        DestroyWindow(native_->hwnd);
    }
}

WWindowHandle WWindow::GetHandle() const {
    return HandleOf(HasWindow() ? native_->hwnd : nullptr);
}

bool WWindow::HasWindow() const {
    return native_->hwnd != nullptr && IsWindow(native_->hwnd) &&
           ObjectOfWindow(native_->hwnd) == this;
}

WString WWindow::GetText() const {
    return HasWindow() ? WString(WindowText(native_->hwnd)) : WString();
}

void WWindow::SetText(std::string_view text) {
    if (HasWindow()) {
        SetWindowTextW(native_->hwnd, Widen(text).c_str());
    }
}

void WWindow::Enable(bool enable) {
    if (!HasWindow()) {
        return;
    }
    // A disabled window cannot keep the focus; without this the keyboard
    // (Escape, mnemonics) would reach no window of the form at all.
    if (!enable && GetFocus() == native_->hwnd) {
        HWND form = GetAncestor(native_->hwnd, GA_ROOT);
        SendMessageW(form, WM_NEXTDLGCTL, 0, FALSE);
        // No tab stop is left: the first other control that takes input does,
        // since a dialog's frame hands the focus straight back to its saved control.
        for (HWND child = GetWindow(form, GW_CHILD);
             child != nullptr && GetFocus() == native_->hwnd;
             child = GetWindow(child, GW_HWNDNEXT)) {
            if (child != native_->hwnd && IsWindowEnabled(child) && IsWindowVisible(child) &&
                WindowClass(child) != L"Static") {
                ::SetFocus(child);
            }
        }
        if (GetFocus() == native_->hwnd) {
            ::SetFocus(form);
        }
    }
    EnableWindow(native_->hwnd, enable ? TRUE : FALSE);
}

bool WWindow::IsEnabled() const {
    return HasWindow() && IsWindowEnabled(native_->hwnd);
}

void WWindow::Show(bool show) {
    if (HasWindow()) {
        ShowWindow(native_->hwnd, show ? SW_SHOW : SW_HIDE);
    }
}

bool WWindow::IsVisible() const {
    return HasWindow() && IsWindowVisible(native_->hwnd);
}

namespace {

BOOL CALLBACK SetFontOfChild(HWND child, LPARAM font) {
    SendMessageW(child, WM_SETFONT, static_cast<WPARAM>(font), FALSE);
    return TRUE;
}

}  // namespace

void WWindow::SetFont(const WFont& font) {
    if (!HasWindow()) {
        return;
    }
    // The children take the window's font, as the template's font reaches every item.
    HFONT handle = Win32Font(font);
    SendMessageW(native_->hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(handle), TRUE);
    EnumChildWindows(native_->hwnd, SetFontOfChild, reinterpret_cast<LPARAM>(handle));
}

void WWindow::SetName(std::string_view name) {
    name_ = WString(name);
}

void WWindow::SetSmallIcon(const WIcon& icon) {
    if (!HasWindow() || icon.IsNull()) {
        return;
    }
    // The window keeps the icons for its life; they are small and made once per window.
    const int small = GetSystemMetrics(SM_CXSMICON) > 16 ? 32 : 16;
    HICON smallIcon = Win32Icon(FindIcon(icon.GetResourceNumber(), small));
    HICON bigIcon = Win32Icon(FindIcon(icon.GetResourceNumber(), 32));
    SendMessageW(native_->hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));
    SendMessageW(native_->hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon));
}

WRect WWindow::GetRectangle() const {
    if (!HasWindow()) {
        return {};
    }
    RECT rect{};
    GetWindowRect(native_->hwnd, &rect);
    if (HWND parent = GetParent(native_->hwnd);
        parent && (GetWindowLongW(native_->hwnd, GWL_STYLE) & WS_CHILD)) {
        MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
    }
    return WRect{rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

void WWindow::Move(int x, int y, int width, int height, bool repaint) {
    if (HasWindow()) {
        MoveWindow(native_->hwnd, x, y, width, height, repaint ? TRUE : FALSE);
    }
}

void WWindow::Update() {
    if (HasWindow() && IsWindowVisible(native_->hwnd)) {
        RedrawWindow(native_->hwnd, nullptr, nullptr,
                     RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_INVALIDATE | RDW_ERASE);
    }
}

void WWindow::ReleaseWindowLater() {
    if (!HasWindow()) {
        return;
    }
    // The window may be destroyed from inside one of its own handlers: hide it
    // now and let the window system destroy it once the handler has returned.
    HWND hwnd = native_->hwnd;
    SetObjectOfWindow(hwnd, nullptr);
    native_->hwnd = nullptr;
    ShowWindow(hwnd, SW_HIDE);
    PostMessageW(hwnd, WM_CLOSE, 0, 0);
}

void WWindow::SetFocus() {
    HWND hwnd = Win32Window(*this);
    if (hwnd == nullptr) {
        return;
    }
    // In a dialog the dialog manager moves the focus, so that the default
    // button and the focus rectangle follow.
    HWND root = GetAncestor(hwnd, GA_ROOT);
    if (root != nullptr && root != hwnd) {
        SendMessageW(root, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(hwnd), TRUE);
    } else {
        ::SetFocus(hwnd);
    }
}
