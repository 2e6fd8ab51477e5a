#include "classlib/core/wprofile.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/tempdir.h"

namespace {

struct ReadCase {
    const char* name;
    const char* contents;
    const char* expected;  // value of Folder in [Options]
};

class ProfileRead : public testing::TestWithParam<ReadCase> {};

TEST_P(ProfileRead, FindsTheValueAsThePlatformDoes) {
    EXPECT_EQ(ProfileGetValue(GetParam().contents, "Options", "Folder", "<default>"),
              GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ProfileRead,
    testing::Values(ReadCase{"Plain", "[Options]\r\nFolder=C:\\p\\\r\n", "C:\\p\\"},
                    ReadCase{"LfOnly", "[Options]\nFolder=x\n", "x"},
                    ReadCase{"CaseFolded", "[OPTIONS]\nfolder=x\n", "x"},
                    ReadCase{"BlanksTrimmed", "  [ Options ]  \n  Folder =  x y  \n", "x y"},
                    ReadCase{"QuotesDropped", "[Options]\nFolder=\"a b\"\n", "a b"},
                    ReadCase{"FirstEqualsSplits", "[Options]\nFolder=a=b\n", "a=b"},
                    ReadCase{"MissingBracket", "[Options\nFolder=x\n", "x"},
                    ReadCase{"FirstKeyWins", "[Options]\nFolder=1\nFolder=2\n", "1"},
                    ReadCase{"FirstSectionWins", "[Options]\nA=1\n[Options]\nFolder=2\n",
                             "<default>"},
                    ReadCase{"KeyOfOtherSection", "[Other]\nFolder=x\n[Options]\n", "<default>"},
                    ReadCase{"NoSection", "Folder=x\n", "<default>"},
                    ReadCase{"EmptyValue", "[Options]\nFolder=\n", ""},
                    ReadCase{"LineWithoutEquals", "[Options]\nFolder\n", "<default>"},
                    ReadCase{"EmptyFile", "", "<default>"}),
    [](const testing::TestParamInfo<ReadCase>& row) { return std::string(row.param.name); });

TEST(ProfileReadLimits, ValueIsCutTo8191Characters) {
    const std::string contents = "[S]\nK=" + std::string(10000, 'v') + "\n";
    EXPECT_EQ(ProfileGetValue(contents, "S", "K", "").size(), 8191u);
    EXPECT_EQ(ProfileGetValue("", "S", "K", std::string(9000, 'd')).size(), 8191u);
}

struct WriteCase {
    const char* name;
    const char* contents;
    const char* key;    // nullptr removes the section
    const char* value;  // nullptr removes the key
    const char* expected;
};

class ProfileWrite : public testing::TestWithParam<WriteCase> {};

TEST_P(ProfileWrite, ChangesOnlyItsLine) {
    const WriteCase& c = GetParam();
    const auto updated = ProfileSetValue(
        c.contents, "Options", c.key ? std::optional<std::string_view>(c.key) : std::nullopt,
        c.value ? std::optional<std::string_view>(c.value) : std::nullopt);
    ASSERT_TRUE(updated.has_value());
    EXPECT_EQ(*updated, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ProfileWrite,
    testing::Values(
        WriteCase{"NewFile", "", "ParseSource", "false", "[Options]\r\nParseSource=false\r\n"},
        WriteCase{"ReplacesValueKeepsKeySpelling", "[options]\nPARSESOURCE=1\n", "ParseSource",
                  "true", "[options]\r\nPARSESOURCE=true\r\n"},
        WriteCase{"AddsKeyAfterLastFilledLine", "[Options]\nFolder=x\n\n[Other]\nA=1\n",
                  "ParseSource", "true",
                  "[Options]\r\nFolder=x\r\nParseSource=true\r\n\r\n[Other]\r\nA=1\r\n"},
        WriteCase{"KeepsOtherLines", "; note\r\n[Other]\r\n weird line \r\n", "Folder", "C:\\a\\",
                  "; note\r\n[Other]\r\n weird line \r\n[Options]\r\nFolder=C:\\a\\\r\n"},
        WriteCase{"RemovesKey", "[Options]\nFolder=x\nParseSource=true\n", "Folder", nullptr,
                  "[Options]\r\nParseSource=true\r\n"},
        WriteCase{"RemovesSection", "[A]\nk=1\n[Options]\nFolder=x\n[B]\n", nullptr, nullptr,
                  "[A]\r\nk=1\r\n[B]\r\n"}),
    [](const testing::TestParamInfo<WriteCase>& row) { return std::string(row.param.name); });

TEST(ProfileWriteRefusals, LineBreaksAndSeparatorsAreRefused) {
    EXPECT_FALSE(ProfileSetValue("", "Options", "Folder", "a\r\nb").has_value());
    EXPECT_FALSE(ProfileSetValue("", "Options", "Fol=der", "x").has_value());
    EXPECT_FALSE(ProfileSetValue("", "Opt]ions", "Folder", "x").has_value());
    EXPECT_FALSE(ProfileSetValue("", "Options", " ", "x").has_value());
}

// Found by fuzzing: the key "[" was written as the line "[=", which reads as a
// section and hides every key after it.
TEST(ProfileWriteRefusals, KeyThatWouldReadAsASectionIsRefused) {
    EXPECT_FALSE(ProfileSetValue("", "", "[", "").has_value());
    EXPECT_FALSE(ProfileSetValue("[Options]\nFolder=a\n", "Options", " [k", "1").has_value());
}

// Reading, writing and keeping other sections through the file are driven by the main
// window's settings tests; here only what they cannot reach.
TEST(ProfileFile, FlushRequestSucceedsAndAFolderInThePlaceIsNotReplaced) {
    TempDir dir;
    EXPECT_TRUE(WriteProfileString(nullptr, nullptr, nullptr, dir.Join("Tamsk.Ini").c_str(), true));
    const std::string folder = dir.MakeFolder("Tamsk.Ini");
    EXPECT_FALSE(WriteProfileString("Options", "Folder", "x", folder.c_str(), true));
    EXPECT_EQ(ReadProfileString("Options", "Folder", ".", folder.c_str()).Str(), ".");
}

}  // namespace
