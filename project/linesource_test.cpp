#include "project/linesource.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;
using namespace std::string_literals;

Lines LinesOf(LineSource& source) {
    Lines lines;
    std::string_view line;
    while (source.Next(line)) {
        lines.emplace_back(line);
    }
    return lines;
}

struct Row {
    const char* name;
    std::string bytes;
    Lines lines;
    LineForm form;
    int version;  // -1: none
};

// One row per row of the two tables in linesource.h, and how the start of the file gives the form
// and the version.
TEST(LineSourceTest, BothFormsHandOutTheirLinesAfterTheirVersion) {
    const std::string longLine(200, 'x');
    constexpr LineForm kLines = LineForm::Lines;
    constexpr LineForm kNul = LineForm::NulSeparated;
    const Row rows[] = {
        {"CrBeforeLfDropped", "42\r\nabc\r\n", {"42", "abc"}, kLines, 42},
        {"LoneCrStays", "40\nabc\rdef\n", {"40", "abc\rdef"}, kLines, 40},
        {"LastLineWithoutNewline", "40\nabc", {"40", "abc"}, kLines, 40},
        {"LastLineEndingInCr", "40\nabc\r", {"40", "abc\r"}, kLines, 40},
        {"LongLineWhole", "40\n" + longLine + "\nnext\n", {"40", longLine, "next"}, kLines, 40},
        {"FinalDosEofAfterCrLf", "40\nabc\r\n\x1A", {"40", "abc"}, kLines, 40},
        // A NUL later in a line file does not make it a NUL-separated one.
        {"OtherControlBytesKept", "40\na\032b\nc\0d\n"s, {"40", "a\032b", "c\0d"s}, kLines, 40},
        {"EmptyFile", "", {}, kLines, -1},
        {"NulEndsAValue", "37\0abc\0"s, {"37", "abc"}, kNul, 37},
        // CR LF inside a later value does not make a NUL file a line file.
        {"LineBreaksInsideAValue", "38\0a\r\nb\0c\0"s, {"38", "a\r\nb", "c"}, kNul, 38},
        {"TrueBoolean", "38\0x\0\x01\0y\0"s, {"38", "x", "1", "y"}, kNul, 38},
        {"FalseBoolean", "38\0x\0\0\0y\0"s, {"38", "x", "0", "y"}, kNul, 38},
        {"LoneNulIsEmpty", "38\0\0y\0"s, {"38", "", "y"}, kNul, 38},
        {"LoneNulAfterBoolean", "38\0\x01\0\0y\0"s, {"38", "1", "", "y"}, kNul, 38},
        {"LastValueWithoutNul", "37\0abc"s, {"37", "abc"}, kNul, 37},
        // The runs the IDE writes: 1 (terminator only), 3 and 5 NUL bytes.
        {"RunOfFiveNuls", "37\0a\0\0\0\0\0b\0"s, {"37", "a", "0", "0", "b"}, kNul, 37},
        {"RunsOfThreeNuls", "37\0a\0\x01\0\0\0\x01\0"s, {"37", "a", "1", "0", "1"}, kNul, 37},
        {"NineDigitsFit", "123456789\n", {"123456789"}, kLines, 123456789},
        {"TenDigitsDoNot", "1234567890\n", {"1234567890"}, kLines, -1},
        {"NoNumber", "targetIdent\n", {"targetIdent"}, kLines, -1},
        {"NumberWithText", "40x\n", {"40x"}, kLines, -1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        LineSource source;
        source.SetContents(row.bytes);
        EXPECT_EQ(source.Form(), row.form);
        EXPECT_EQ(source.Version(), row.version);
        EXPECT_EQ(LinesOf(source), row.lines);
    }
}

}  // namespace
