#include "classlib/win32/wwin32native.h"

std::string WindowText(HWND hwnd) {
    const int length = GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(hwnd, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return Narrow(text);
}

std::wstring WindowClass(HWND hwnd) {
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    return name;
}

namespace {
constexpr const wchar_t* kObjectProperty = L"Tamsk.Object";
}

WWindow* ObjectOfWindow(HWND hwnd) {
    return hwnd ? static_cast<WWindow*>(GetPropW(hwnd, kObjectProperty)) : nullptr;
}

void SetObjectOfWindow(HWND hwnd, WWindow* object) {
    if (object != nullptr) {
        SetPropW(hwnd, kObjectProperty, object);
    } else {
        RemovePropW(hwnd, kObjectProperty);
    }
}
