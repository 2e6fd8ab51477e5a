#include "classlib/core/utf16.h"

#include <gtest/gtest.h>

// Well-formed UTF-8 is decoded; anything else is Latin-1 as a whole, so no byte is lost.
TEST(Utf16, WidensUtf8AndReadsAnythingElseAsLatin1) {
    const struct {
        const char* name;
        std::string narrow;
        std::u16string wide;
    } rows[] = {
        {"empty", "", u""},
        {"ascii", "inc\\a.h", u"inc\\a.h"},
        {"two bytes", "Caf\xC3\xA9", u"Caf\u00E9"},
        {"three bytes", "\xE2\x82\xAC", u"\u20AC"},
        {"four bytes: a surrogate pair", "\xF0\x9F\x98\x80", u"\U0001F600"},
        {"8-bit byte", "Caf\xE9.h", u"Caf\u00E9.h"},
        {"8-bit byte beside UTF-8", "\xC3\xA9\xE9", u"\u00C3\u00A9\u00E9"},
        {"cut sequence", "a\xE2\x82", u"a\u00E2\u0082"},
        {"overlong slash", "\xC0\xAF", u"\u00C0\u00AF"},
        {"encoded surrogate", "\xED\xA0\x80", u"\u00ED\u00A0\u0080"},
        {"past U+10FFFF", "\xF4\x90\x80\x80", u"\u00F4\u0090\u0080\u0080"},
        {"lone continuation", "\x80", u"\u0080"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(Utf16FromUtf8(row.narrow), row.wide);
        EXPECT_EQ(Utf16FromUtf8(Utf8FromUtf16(row.wide)), row.wide);   // what it narrows to
        EXPECT_EQ(Utf8OrLatin1(row.narrow), Utf8FromUtf16(row.wide));  // as a JSON text takes it
    }
}

TEST(Utf16, NarrowsPairsAndReplacesLoneSurrogates) {
    const struct {
        const char* name;
        std::u16string wide;
        std::string narrow;
    } rows[] = {
        {"pair", u"\U0001F600", "\xF0\x9F\x98\x80"},
        {"latin", u"\u00E9", "\xC3\xA9"},
        {"lone high at the end", std::u16string(u"a") + char16_t(0xD800), "a\xEF\xBF\xBD"},
        {"lone low", std::u16string(1, char16_t(0xDC00)) + u"b",
         "\xEF\xBF\xBD"
         "b"},
        {"high then high", std::u16string{char16_t(0xD800), char16_t(0xD800)},
         "\xEF\xBF\xBD\xEF\xBF\xBD"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(Utf8FromUtf16(row.wide), row.narrow);
    }
}
