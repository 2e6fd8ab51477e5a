#include "classlib/core/wstring.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

TEST(WStringText, EmptyStringGivesEmptyTextNeverNull) {
    const WString empty;
    ASSERT_NE(empty.GetText(), nullptr);
    EXPECT_STREQ(empty.GetText(), "");
    EXPECT_EQ(WString(static_cast<const char*>(nullptr)).GetLength(), 0u);
}

TEST(WStringText, ConstructWithLengthTakesThatManyCharacters) {
    EXPECT_EQ(WString("abcdef", 3).Str(), "abc");
    EXPECT_EQ(WString("abcdef", -1).Str(), "abcdef");
    WString assigned;
    assigned.Assign("xyz", 2);
    EXPECT_EQ(assigned.Str(), "xy");
}

TEST(WStringText, GetCharacterIsZeroOutsideTheString) {
    const WString text("ab");
    EXPECT_EQ(text.GetCharacter(0), 'a');
    EXPECT_EQ(text.GetCharacter(1), 'b');
    EXPECT_EQ(text.GetCharacter(2), '\0');
    EXPECT_EQ(text.GetCharacter(-1), '\0');
    EXPECT_EQ(WString().GetCharacter(0), '\0');
}

TEST(WStringText, ConcatAndPlusJoinInOrder) {
    WString text("a");
    text.Concat(WString("b")).Concat("c").Concat('d').Concat(static_cast<const char*>(nullptr));
    EXPECT_EQ(text.Str(), "abcd");
    EXPECT_EQ(("x" + WString("y")).Str(), "xy");
    EXPECT_EQ((WString("y") + "z").Str(), "yz");
    EXPECT_EQ((WString("p") + WString("q")).Str(), "pq");
}

struct CompareCase {
    const char* left;
    const char* right;
    bool caseSensitive;
    int sign;
};

class WStringCompare : public ::testing::TestWithParam<CompareCase> {};

TEST_P(WStringCompare, GivesTheSignOfTheOrder) {
    const CompareCase& c = GetParam();
    const int result = WString(c.left).Compare(WString(c.right), c.caseSensitive);
    EXPECT_EQ((result > 0) - (result < 0), c.sign) << c.left << " vs " << c.right;
}

INSTANTIATE_TEST_SUITE_P(
    Table, WStringCompare,
    ::testing::Values(CompareCase{"abc", "abc", true, 0}, CompareCase{"abc", "ABC", true, 1},
                      CompareCase{"abc", "ABC", false, 0}, CompareCase{"abc", "abd", false, -1},
                      CompareCase{"ab", "abc", true, -1}, CompareCase{"abc", "ab", false, 1},
                      CompareCase{"", "", false, 0},
                      // Bytes above 0x7F order after ASCII and never fold.
                      CompareCase{"\xC4", "z", true, 1}, CompareCase{"\xC4", "\xE4", false, -1},
                      // '_' (0x5F) lies between the cases: folding puts it before letters.
                      CompareCase{"_", "A", false, -1}, CompareCase{"_", "A", true, 1}));

TEST(WStringCase, OnlyAsciiLettersChange) {
    WString text("aZ09_\xE4\xC4[`{@");
    text.ToUppercase();
    EXPECT_EQ(text.Str(), "AZ09_\xE4\xC4[`{@");
    text.ToLowercase();
    EXPECT_EQ(text.Str(), "az09_\xE4\xC4[`{@");
}

TEST(WStringFormat, FormatReplacesAndConcatFormatAppends) {
    WString text("old");
    text.Format("%s=%d", "n", 42);
    EXPECT_EQ(text.Str(), "n=42");
    text.ConcatFormat(" [%s]", "none");
    EXPECT_EQ(text.Str(), "n=42 [none]");
}

TEST(WStringFormat, OutputOfAnyLengthIsWhole) {
    const std::string part(5000, 'x');
    WString text("head:");
    text.ConcatFormat("%s|%s", part.c_str(), part.c_str());
    EXPECT_EQ(text.Str(), "head:" + part + "|" + part);
    text.Format("%s", part.c_str());
    EXPECT_EQ(text.Str(), part);
}

TEST(WStringBuffer, LockGivesAtLeastThirtyTwoWritableCharacters) {
    WString text("ab");
    char* buffer = text.LockBuffer(1);
    std::memset(buffer, 'z', 32);
    buffer[31] = '\0';
    text.UnlockBuffer();
    EXPECT_EQ(text.Str(), std::string(31, 'z'));
}

TEST(WStringBuffer, UnlockTakesTheLengthFromTheTerminator) {
    WString text("a long text that is going to be cut short");
    char* buffer = text.LockBuffer(100);
    std::memset(buffer, 'q', 100);
    buffer[5] = '\0';
    text.UnlockBuffer();
    EXPECT_EQ(text.Str(), "qqqqq");
}

TEST(WStringEnvironment, ReadsSetVariableAndIsEmptyWhenUnset) {
    ::setenv("TAMSK_TEST_VARIABLE", "c:\\watcom", 1);
    EXPECT_EQ(WString::GetEnvironmentVariable("TAMSK_TEST_VARIABLE").Str(), "c:\\watcom");
    ::unsetenv("TAMSK_TEST_VARIABLE");
    EXPECT_EQ(WString::GetEnvironmentVariable("TAMSK_TEST_VARIABLE").Str(), "");
}
