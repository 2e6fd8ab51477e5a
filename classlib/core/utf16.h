#pragma once
// UTF-8 inside the program, UTF-16 where Windows wants it: the one converter
// for names on screen, on disk and on the console.
//
// The rule for bytes that are not UTF-8: a text that is not well-formed UTF-8
// as a whole (a name an old project file wrote in an 8-bit code page) is read
// byte by byte as Latin-1, so every byte becomes the character of its value and
// none is lost or replaced. One rule on all three paths means an 8-bit name is
// widened the same way for the window, the file system and the console.
// UTF-16 that is not well-formed (a lone surrogate) narrows to U+FFFD.

#include <string>
#include <string_view>

std::u16string Utf16FromUtf8(std::string_view text);
std::string Utf8FromUtf16(std::u16string_view text);

// Whether text is well-formed UTF-8; and text made so by the rule above (itself when it is,
// else its bytes read as Latin-1), for outputs that must be UTF-8 such as JSON.
bool IsWellFormedUtf8(std::string_view text);
std::string Utf8OrLatin1(std::string_view text);

#ifdef _WIN32
// The same for the Win32 API's wide strings (UTF-16 there).
inline std::wstring Widen(std::string_view text) {
    const std::u16string wide = Utf16FromUtf8(text);
    return std::wstring(wide.begin(), wide.end());
}
inline std::string Narrow(std::wstring_view text) {
    return Utf8FromUtf16(std::u16string(text.begin(), text.end()));
}
#endif
