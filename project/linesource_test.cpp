#include "project/linesource.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/tempdir.h"

namespace {

std::vector<std::string> LinesOf(std::string bytes) {
    LineSource source;
    source.SetContents(std::move(bytes));
    std::vector<std::string> lines;
    std::string_view line;
    while (source.Next(line)) {
        lines.emplace_back(line);
    }
    return lines;
}

using Lines = std::vector<std::string>;
using namespace std::string_literals;

// Line form, one test per row of the table in linesource.h.

TEST(LineFormTest, NewlineEndsALine) {
    EXPECT_EQ(LinesOf("40\nabc\n"), (Lines{"40", "abc"}));
}

TEST(LineFormTest, CarriageReturnBeforeNewlineIsDropped) {
    EXPECT_EQ(LinesOf("40\r\nabc\r\n"), (Lines{"40", "abc"}));
}

TEST(LineFormTest, LoneCarriageReturnStaysInTheLine) {
    EXPECT_EQ(LinesOf("40\nabc\rdef\n"), (Lines{"40", "abc\rdef"}));
}

TEST(LineFormTest, LastLineWithoutNewlineKeepsAllCharacters) {
    EXPECT_EQ(LinesOf("40\nabc"), (Lines{"40", "abc"}));
}

TEST(LineFormTest, LastLineEndingInCarriageReturnKeepsIt) {
    EXPECT_EQ(LinesOf("40\nabc\r"), (Lines{"40", "abc\r"}));
}

TEST(LineFormTest, LongLineIsReadWhole) {
    const std::string longLine(200, 'x');
    EXPECT_EQ(LinesOf("40\n" + longLine + "\nnext\n"), (Lines{"40", longLine, "next"}));
}

TEST(LineFormTest, EmptyLineIsALine) {
    EXPECT_EQ(LinesOf("40\n\n\nx\n"), (Lines{"40", "", "", "x"}));
}

TEST(LineFormTest, FinalDosEndOfFileMarkIsIgnored) {
    EXPECT_EQ(LinesOf("40\nabc\r\n\x1A"), (Lines{"40", "abc"}));
    EXPECT_EQ(LinesOf("40\nabc\x1A"), (Lines{"40", "abc"}));
}

TEST(LineFormTest, OtherControlBytesAreKept) {
    EXPECT_EQ(LinesOf("40\na\x1A"
                      "b\nc\0d\n"s),
              (Lines{"40",
                     "a\x1A"
                     "b",
                     "c\0d"s}));
}

TEST(LineFormTest, EmptyFileHasNoLines) {
    EXPECT_EQ(LinesOf(""), Lines{});
}

// NUL-separated form, one test per row.

TEST(NulFormTest, NulEndsAValue) {
    EXPECT_EQ(LinesOf("37\0abc\0"s), (Lines{"37", "abc"}));
}

TEST(NulFormTest, LineBreaksStayInsideAValue) {
    EXPECT_EQ(LinesOf("37\0a\r\nb\0c\0"s), (Lines{"37", "a\r\nb", "c"}));
}

TEST(NulFormTest, TrueBooleanReadsAsOne) {
    EXPECT_EQ(LinesOf("38\0x\0\x01\0y\0"s), (Lines{"38", "x", "1", "y"}));
}

TEST(NulFormTest, FalseBooleanReadsAsZero) {
    EXPECT_EQ(LinesOf("38\0x\0\0\0y\0"s), (Lines{"38", "x", "0", "y"}));
}

TEST(NulFormTest, LoneNulIsAnEmptyValue) {
    EXPECT_EQ(LinesOf("38\0\0y\0"s), (Lines{"38", "", "y"}));
    EXPECT_EQ(LinesOf("38\0\x01\0\0y\0"s), (Lines{"38", "1", "", "y"}));
    EXPECT_EQ(LinesOf("38\0x\0\0"s), (Lines{"38", "x", ""}));
}

TEST(NulFormTest, LastValueWithoutNulKeepsAllCharacters) {
    EXPECT_EQ(LinesOf("37\0abc"s), (Lines{"37", "abc"}));
}

TEST(NulFormTest, RunsOfNulAfterAValueAreFalseBooleansInPairs) {
    // The runs the IDE writes: 1 (terminator only), 3 and 5 NUL bytes.
    EXPECT_EQ(LinesOf("37\0a\0\0\0\0\0b\0"s), (Lines{"37", "a", "0", "0", "b"}));
    EXPECT_EQ(LinesOf("37\0a\0\x01\0\0\0\x01\0"s), (Lines{"37", "a", "1", "0", "1"}));
}

// Telling the forms apart, and the version number.

struct FormCase {
    const char* name;
    std::string bytes;
    LineForm form;
    int version;
};

class FormDetectionTest : public testing::TestWithParam<FormCase> {};

TEST_P(FormDetectionTest, FormAndVersion) {
    LineSource source;
    source.SetContents(GetParam().bytes);
    EXPECT_EQ(source.Form(), GetParam().form);
    EXPECT_EQ(source.Version(), GetParam().version);
}

INSTANTIATE_TEST_SUITE_P(
    Files, FormDetectionTest,
    testing::Values(FormCase{"Version40Lf", "40\ntargetIdent\n", LineForm::Lines, 40},
                    FormCase{"Version42CrLf", "42\r\ntargetIdent\r\n", LineForm::Lines, 42},
                    FormCase{"Version39", "39\nprojectIdent\n", LineForm::Lines, 39},
                    FormCase{"Version37Nul", "37\0projectIdent\0"s, LineForm::NulSeparated, 37},
                    FormCase{"Version38Nul", "38\0targetIdent\0"s, LineForm::NulSeparated, 38},
                    // CR LF inside a later value does not make a NUL file a line file.
                    FormCase{"NulWithLineBreaks", "38\0a\r\nb\0"s, LineForm::NulSeparated, 38},
                    FormCase{"NulLaterInLineFile", "40\nx\0y\n"s, LineForm::Lines, 40},
                    FormCase{"NoNumber", "targetIdent\n", LineForm::Lines, -1},
                    FormCase{"NumberWithText", "40x\n", LineForm::Lines, -1},
                    FormCase{"NulWithoutNumber", "\0abc\0"s, LineForm::Lines, -1},
                    FormCase{"Empty", "", LineForm::Lines, -1}),
    [](const testing::TestParamInfo<FormCase>& param) { return std::string(param.param.name); });

TEST(LineSourceLoadTest, ReadsThroughTheHostFileLayer) {
    TempDir dir;
    dir.Write("t.tgt", "40\r\nMItem\r\n");
    HostFs fs;
    LineSource source;
    ASSERT_EQ(source.Load(fs, dir.Join("t.tgt")).code, HostStatus::Code::Ok);
    std::string_view line;
    ASSERT_EQ(source.Next(line), true);
    EXPECT_EQ(line, "40");
    ASSERT_EQ(source.Next(line), true);
    EXPECT_EQ(line, "MItem");
    EXPECT_EQ(source.Next(line), false);
}

TEST(LineSourceLoadTest, MissingFileGivesNoLines) {
    TempDir dir;
    HostFs fs;
    LineSource source;
    EXPECT_EQ(source.Load(fs, dir.Join("missing.tgt")).code, HostStatus::Code::NotFound);
    std::string_view line;
    EXPECT_EQ(source.Next(line), false);
}

}  // namespace
