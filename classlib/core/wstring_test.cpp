#include "classlib/core/wstring.h"

#include <cstring>
#include <string>

#include <gtest/gtest.h>

TEST(WString, TextLengthCharactersAndJoining) {
    EXPECT_STREQ(WString().GetText(), "");  // never null
    EXPECT_EQ(WString(static_cast<const char*>(nullptr)).GetLength(), 0u);
    EXPECT_EQ(WString("abcdef", 3).Str(), "abc");
    EXPECT_EQ(WString("abcdef", -1).Str(), "abcdef");
    const WString text("ab");
    EXPECT_EQ(text.GetCharacter(1), 'b');
    EXPECT_EQ(text.GetCharacter(2), '\0');
    EXPECT_EQ(text.GetCharacter(-1), '\0');
    EXPECT_EQ(WString().GetCharacter(0), '\0');
    WString joined("a");
    joined.Concat(WString("b")).Concat("c").Concat('d').Concat(static_cast<const char*>(nullptr));
    EXPECT_EQ(("x" + joined + "y").Str(), "xabcdy");
}

TEST(WString, CompareGivesTheSignOfTheOrderWithOrWithoutCase) {
    const struct {
        const char* left;
        const char* right;
        bool caseSensitive;
        int sign;
    } rows[] = {
        {"abc", "abc", true, 0},
        {"abc", "ABC", true, 1},
        {"abc", "ABC", false, 0},
        {"ab", "abc", true, -1},
        // Bytes above 0x7F order after ASCII; the case-blind order is
        // CompareIgnoringAsciiCase's.
        {"\xC4", "z", true, 1},
        {"_", "A", true, 1},
        {"\xC4", "\xE4", false, -1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message()
                     << row.left << " vs " << row.right << " case " << row.caseSensitive);
        const int result = WString(row.left).Compare(WString(row.right), row.caseSensitive);
        EXPECT_EQ((result > 0) - (result < 0), row.sign);
    }
    WString text("aZ09_\xE4\xC4[`{@");
    text.ToUppercase();
    EXPECT_EQ(text.Str(), "AZ09_\xE4\xC4[`{@");
    text.ToLowercase();
    EXPECT_EQ(text.Str(), "az09_\xE4\xC4[`{@");
}

TEST(WString, FormatOfAnyLengthIsWhole) {
    WString text("old");
    text.Format("%s=%d", "n", 42);
    text.ConcatFormat(" [%s]", "none");
    EXPECT_EQ(text.Str(), "n=42 [none]");
    const std::string part(5000, 'x');
    text.ConcatFormat("%s|%s", part.c_str(), part.c_str());
    EXPECT_EQ(text.Str(), "n=42 [none]" + part + "|" + part);
    text.Format("%s", part.c_str());
    EXPECT_EQ(text.Str(), part);
}

TEST(WString, LockBufferGivesThirtyTwoCharactersAndUnlockMeasuresToTheTerminator) {
    WString text("ab");
    char* buffer = text.LockBuffer(1);
    std::memset(buffer, 'z', 32);
    buffer[31] = '\0';
    text.UnlockBuffer();
    EXPECT_EQ(text.Str(), std::string(31, 'z'));
    buffer = text.LockBuffer(100);
    std::memset(buffer, 'q', 100);
    buffer[5] = '\0';
    text.UnlockBuffer();
    EXPECT_EQ(text.Str(), "qqqqq");
}
