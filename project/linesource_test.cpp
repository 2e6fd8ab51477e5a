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

struct LinesRow {
    const char* name;
    std::string bytes;
    Lines lines;
};

// One row per row of the two tables in linesource.h.
TEST(LineSourceTest, BothFormsHandOutTheirLines) {
    const std::string longLine(200, 'x');
    const LinesRow rows[] = {
        {"CrBeforeLfDropped", "40\r\nabc\r\n", {"40", "abc"}},
        {"LoneCrStays", "40\nabc\rdef\n", {"40", "abc\rdef"}},
        {"LastLineWithoutNewline", "40\nabc", {"40", "abc"}},
        {"LastLineEndingInCr", "40\nabc\r", {"40", "abc\r"}},
        {"LongLineWhole", "40\n" + longLine + "\nnext\n", {"40", longLine, "next"}},
        {"FinalDosEofAfterCrLf", "40\nabc\r\n\x1A", {"40", "abc"}},
        {"OtherControlBytesKept", "40\na\032b\nc\0d\n"s, {"40", "a\032b", "c\0d"s}},
        {"EmptyFile", "", {}},
        {"NulEndsAValue", "37\0abc\0"s, {"37", "abc"}},
        {"LineBreaksInsideAValue", "37\0a\r\nb\0c\0"s, {"37", "a\r\nb", "c"}},
        {"TrueBoolean", "38\0x\0\x01\0y\0"s, {"38", "x", "1", "y"}},
        {"FalseBoolean", "38\0x\0\0\0y\0"s, {"38", "x", "0", "y"}},
        {"LoneNulIsEmpty", "38\0\0y\0"s, {"38", "", "y"}},
        {"LoneNulAfterBoolean", "38\0\x01\0\0y\0"s, {"38", "1", "", "y"}},
        {"LastValueWithoutNul", "37\0abc"s, {"37", "abc"}},
        // The runs the IDE writes: 1 (terminator only), 3 and 5 NUL bytes.
        {"RunOfFiveNuls", "37\0a\0\0\0\0\0b\0"s, {"37", "a", "0", "0", "b"}},
        {"RunsOfThreeNuls", "37\0a\0\x01\0\0\0\x01\0"s, {"37", "a", "1", "0", "1"}},
    };
    for (const LinesRow& row : rows) {
        SCOPED_TRACE(row.name);
        LineSource source;
        source.SetContents(row.bytes);
        EXPECT_EQ(LinesOf(source), row.lines);
    }
}

struct FormRow {
    const char* name;
    std::string bytes;
    LineForm form;
    int version;
};

TEST(LineSourceTest, FormAndVersionFromTheStartOfTheFile) {
    const FormRow rows[] = {
        {"Version40Lf", "40\ntargetIdent\n", LineForm::Lines, 40},
        {"Version42CrLf", "42\r\ntargetIdent\r\n", LineForm::Lines, 42},
        {"Version37Nul", "37\0projectIdent\0"s, LineForm::NulSeparated, 37},
        // CR LF inside a later value does not make a NUL file a line file.
        {"NulWithLineBreaks", "38\0a\r\nb\0"s, LineForm::NulSeparated, 38},
        {"NulLaterInLineFile", "40\nx\0y\n"s, LineForm::Lines, 40},
        {"NineDigitsFit", "123456789\n", LineForm::Lines, 123456789},
        {"TenDigitsDoNot", "1234567890\n", LineForm::Lines, -1},
        {"NoNumber", "targetIdent\n", LineForm::Lines, -1},
        {"NumberWithText", "40x\n", LineForm::Lines, -1},
        {"Empty", "", LineForm::Lines, -1},
    };
    for (const FormRow& row : rows) {
        SCOPED_TRACE(row.name);
        LineSource source;
        source.SetContents(row.bytes);
        EXPECT_EQ(source.Form(), row.form);
        EXPECT_EQ(source.Version(), row.version);
    }
}

}  // namespace
