#include "classlib/win32/wwin32native.h"

std::wstring Widen(std::string_view text) {
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    const int length =
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
    if (length <= 0) {
        std::wstring latin1;
        for (const char c : text) {
            latin1.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
        }
        return latin1;
    }
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), size, wide.data(), length);
    return wide;
}

std::string Narrow(std::wstring_view text) {
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), size, narrow.data(), length, nullptr, nullptr);
    return narrow;
}

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
