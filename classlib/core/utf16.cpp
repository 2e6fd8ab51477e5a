#include "classlib/core/utf16.h"

#include <optional>

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// The code point of the well-formed sequence at text[at], and its length; none
// for an overlong form, a surrogate, a value past U+10FFFF or a cut sequence.
std::optional<char32_t> DecodeAt(std::string_view text, std::size_t& at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    std::size_t length;
    char32_t point;
    char32_t least;
    if (lead < 0x80) {
        ++at;
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, point = lead & 0x1Fu, least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, point = lead & 0x0Fu, least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, point = lead & 0x07u, least = 0x10000;
    } else {
        return std::nullopt;
    }
    if (text.size() - at < length) {
        return std::nullopt;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(text[at + i]);
        if (!IsContinuation(byte)) {
            return std::nullopt;
        }
        point = (point << 6) | (byte & 0x3Fu);
    }
    if (point < least || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) {
        return std::nullopt;
    }
    at += length;
    return point;
}

void AppendUtf16(std::u16string& out, char32_t point) {
    if (point < 0x10000) {
        out.push_back(static_cast<char16_t>(point));
    } else {
        point -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (point >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (point & 0x3FF)));
    }
}

void AppendUtf8(std::string& out, char32_t point) {
    if (point < 0x80) {
        out.push_back(static_cast<char>(point));
    } else if (point < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (point >> 6)));
        out.push_back(static_cast<char>(0x80 | (point & 0x3F)));
    } else if (point < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (point >> 12)));
        out.push_back(static_cast<char>(0x80 | ((point >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (point & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (point >> 18)));
        out.push_back(static_cast<char>(0x80 | ((point >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((point >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (point & 0x3F)));
    }
}

std::u16string Latin1(std::string_view text) {
    std::u16string wide;
    wide.reserve(text.size());
    for (const char c : text) {
        wide.push_back(static_cast<unsigned char>(c));
    }
    return wide;
}

}  // namespace

std::u16string Utf16FromUtf8(std::string_view text) {
    std::u16string wide;
    wide.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const std::optional<char32_t> point = DecodeAt(text, at);
        if (!point) {
            return Latin1(text);
        }
        AppendUtf16(wide, *point);
    }
    return wide;
}

bool IsWellFormedUtf8(std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        if (!DecodeAt(text, at)) {
            return false;
        }
    }
    return true;
}

std::string Utf8OrLatin1(std::string_view text) {
    if (IsWellFormedUtf8(text)) {
        return std::string(text);
    }
    std::string utf8;
    utf8.reserve(text.size() * 2);
    for (const char c : text) {
        AppendUtf8(utf8, static_cast<unsigned char>(c));
    }
    return utf8;
}

std::string Utf8FromUtf16(std::u16string_view text) {
    std::string narrow;
    narrow.reserve(text.size());
    for (std::size_t at = 0; at < text.size(); ++at) {
        const char16_t unit = text[at];
        char32_t point = unit;
        if (unit >= 0xD800 && unit <= 0xDBFF && at + 1 < text.size() && text[at + 1] >= 0xDC00 &&
            text[at + 1] <= 0xDFFF) {
            point = 0x10000 + ((char32_t{unit} - 0xD800) << 10) + (text[++at] - 0xDC00u);
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            point = kReplacement;
        }
        AppendUtf8(narrow, point);
    }
    return narrow;
}
