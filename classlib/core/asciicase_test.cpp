#include "classlib/core/asciicase.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Only ASCII letters fold: '@' and '[' sit beside 'A' and 'Z', '`' and '{'
// beside 'a' and 'z', and 0xC4/0xE4 are letters of some code page only.
struct CaseRow {
    std::string a;
    std::string b;
    int order;
};

TEST(AsciiCase, FoldsAsciiLettersOnly) {
    EXPECT_EQ(AsciiLowered("AZaz@[\xC4"), "azaz@[\xC4");
    EXPECT_EQ(AsciiUppered("AZaz`{\xE4"), "AZAZ`{\xE4");
    const std::vector<CaseRow> rows = {
        {"Main.C", "mAIN.c", 0},
        {"a", "B", -1},
        {"b", "A", 1},
        {"ab", "AB\xC4", -1},
        {"\xC4", "\xE4", -1},
        {"_", "a", -1},  // '_' lies between the upper and lower letters
        {"", "", 0},
    };
    for (const CaseRow& row : rows) {
        EXPECT_EQ(CompareIgnoringAsciiCase(row.a, row.b), row.order) << row.a << " " << row.b;
        EXPECT_EQ(SameIgnoringAsciiCase(row.a, row.b), row.order == 0) << row.a << " " << row.b;
    }
    EXPECT_TRUE(ContainsIgnoringAsciiCase("src\\Shapes.CPP", "SHAPES.c"));
    EXPECT_FALSE(ContainsIgnoringAsciiCase("\xC4x", "\xE4"));
}

}  // namespace
