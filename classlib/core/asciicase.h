#pragma once

#include <string>
#include <string_view>

// The one rule by which Tamsk ignores letter case: 'A'..'Z' and 'a'..'z' only,
// every other byte as it stands. The IDE's names are 8-bit text in an unknown
// code page, so no other letter can be told from its bytes. None of these
// allocates except the two that return a new string.

constexpr char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}
constexpr char AsciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
}
std::string AsciiLowered(std::string_view text);
std::string AsciiUppered(std::string_view text);

// Whether a and b are equal without regard to case.
bool SameIgnoringAsciiCase(std::string_view a, std::string_view b);

// Orders like strcasecmp: letters folded to lower case, then byte by byte as
// unsigned values, a prefix before the longer text. -1, 0 or 1.
int CompareIgnoringAsciiCase(std::string_view a, std::string_view b);

// Whether part occurs in text without regard to case.
bool ContainsIgnoringAsciiCase(std::string_view text, std::string_view part);
