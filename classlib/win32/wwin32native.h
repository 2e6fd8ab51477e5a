#pragma once

// The Win32 backend's records behind the library's objects, and the way from a
// library object to its window. Only this backend includes this header.

#ifndef UNICODE
#define UNICODE
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// windows.h first: the common controls build on it.
#include <commctrl.h>
// The platform's names for its A/W variants would rename the library's own.
#undef CreateEvent
#undef LoadMenu
#undef GetForm

#include <memory>
#include <string>
#include <string_view>

#include "classlib/core/utf16.h"  // Widen and Narrow: UTF-8 here, UTF-16 in the API
#include "classlib/gui/wapplication.h"
#include "classlib/gui/wfont.h"
#include "classlib/gui/wimage.h"
#include "classlib/gui/wlistview.h"
#include "classlib/gui/wmenu.h"
#include "classlib/gui/wtreeview.h"
#include "classlib/gui/wwindow.h"

class TreeBridge;
class ListBridge;

struct WWindow::Native {
    HWND hwnd = nullptr;
};

struct WMenuItem::Native {
    HMENU menu = nullptr;  // the menu holding the item
};

struct WMenu::Native {
    HMENU menu = nullptr;
    bool owned = false;  // a menu bar destroys its popups with it
};

struct WTreeView::Native {
    std::unique_ptr<TreeBridge> bridge;
};

struct WListView::Native {
    std::unique_ptr<ListBridge> bridge;
};

struct WExeApplication::Native {
    bool comStarted = false;
};

inline WWindowHandle HandleOf(HWND hwnd) {
    return WWindowHandle{hwnd};
}
inline HWND Win32Window(WWindowHandle handle) {
    return static_cast<HWND>(handle.native);
}
inline HWND Win32Window(const WWindow& window) {
    return window.GetNative().hwnd;
}

// The library object a window belongs to (set when a control is attached or a
// form is created), or null.
WWindow* ObjectOfWindow(HWND hwnd);
void SetObjectOfWindow(HWND hwnd, WWindow* object);

// A font handle for the font, made once per face and size and kept.
HFONT Win32Font(const WFont& font);
// The face a dialog template's face stands for: itself when the system has
// it as a font that scales, else the system's message font face.
std::string DialogFontFace(std::string_view face);
// An icon made from pixels with their transparency; the caller destroys it.
HICON Win32Icon(const WImage& image);

// The wait cursor is shown over every window of the program while set.
bool WaitCursorShown();

// The window's text, and the window class name, as UTF-8 / UTF-16.
std::string WindowText(HWND hwnd);
std::wstring WindowClass(HWND hwnd);
