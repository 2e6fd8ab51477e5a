#include "classlib/core/environment.h"

#include <cstdlib>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

bool CanNameAVariable(std::string_view name) {
    return !name.empty() && name.find('=') == std::string_view::npos &&
           name.find('\0') == std::string_view::npos;
}

#ifdef _WIN32
std::wstring Widened(std::string_view text) {
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), length);
    return wide;
}

std::string Narrowed(const wchar_t* wide) {
    const int length = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(length > 0 ? length : 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, text.data(), length, nullptr, nullptr);
    text.resize(text.size() - 1);  // the terminator
    return text;
}
#endif

}  // namespace

std::optional<std::string> EnvironmentValue(std::string_view name) {
    if (!CanNameAVariable(name)) {
        return std::nullopt;
    }
#ifdef _WIN32
    // The narrow environment is in the ANSI code page; the wide one is
    // looked up (without regard to case, as Windows does) and converted.
    const wchar_t* value = _wgetenv(Widened(name).c_str());
    if (value == nullptr) {
        return std::nullopt;
    }
    return Narrowed(value);
#else
    const char* value = std::getenv(std::string(name).c_str());
    if (value == nullptr) {
        return std::nullopt;
    }
    return std::string(value);
#endif
}
