#include "classlib/core/wprofile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/fakehostfs.h"
#include "tests/support/tempdir.h"
#include "tests/support/treesnapshot.h"

namespace {

TEST(Profile, ReadFindsTheValueAsThePlatformDoes) {
    const struct {
        const char* name;
        const char* contents;
        const char* expected;  // value of Folder in [Options]
    } rows[] = {
        {"Plain", "[Options]\r\nFolder=C:\\p\\\r\n", "C:\\p\\"},
        {"LfOnly", "[Options]\nFolder=x\n", "x"},
        {"CaseFolded", "[OPTIONS]\nfolder=x\n", "x"},
        {"BlanksTrimmed", "  [ Options ]  \n  Folder =  x y  \n", "x y"},
        {"QuotesDropped", "[Options]\nFolder=\"a b\"\n", "a b"},
        {"FirstEqualsSplits", "[Options]\nFolder=a=b\n", "a=b"},
        {"MissingBracket", "[Options\nFolder=x\n", "x"},
        {"FirstKeyWins", "[Options]\nFolder=1\nFolder=2\n", "1"},
        {"FirstSectionWins", "[Options]\nA=1\n[Options]\nFolder=2\n", "<default>"},
        {"KeyOfOtherSection", "[Other]\nFolder=x\n[Options]\n", "<default>"},
        {"NoSection", "Folder=x\n", "<default>"},
        {"EmptyValue", "[Options]\nFolder=\n", ""},
        {"LineWithoutEquals", "[Options]\nFolder\n", "<default>"},
        {"EmptyFile", "", "<default>"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(ProfileGetValue(row.contents, "Options", "Folder", "<default>"), row.expected);
    }
    const std::string contents = "[S]\nK=" + std::string(10000, 'v') + "\n";
    EXPECT_EQ(ProfileGetValue(contents, "S", "K", "").size(), 8191u);
    EXPECT_EQ(ProfileGetValue("", "S", "K", std::string(9000, 'd')).size(), 8191u);
}

// A write changes only its line and writes CR LF ends; one that would not read back is refused:
// the key "[" (found by fuzzing) would be written as the line "[=", which reads as a section and
// hides every key after it.
TEST(Profile, WriteChangesOnlyItsLineOrIsRefused) {
    const struct {
        const char* name;
        const char* contents;
        const char* section;
        const char* key;       // nullptr removes the section
        const char* value;     // nullptr removes the key
        const char* expected;  // nullptr: refused
    } rows[] = {
        {"NewFile", "", "Options", "ParseSource", "false", "[Options]\r\nParseSource=false\r\n"},
        {"ReplacesValueKeepsKeySpelling", "[options]\nPARSESOURCE=1\n", "Options", "ParseSource",
         "true", "[options]\r\nPARSESOURCE=true\r\n"},
        {"AddsKeyAfterLastFilledLine", "[Options]\nFolder=x\n\n[Other]\nA=1\n", "Options",
         "ParseSource", "true",
         "[Options]\r\nFolder=x\r\nParseSource=true\r\n\r\n[Other]\r\nA=1\r\n"},
        {"KeepsOtherLines", "; note\r\n[Other]\r\n weird line \r\n", "Options", "Folder", "C:\\a\\",
         "; note\r\n[Other]\r\n weird line \r\n[Options]\r\nFolder=C:\\a\\\r\n"},
        {"RemovesKey", "[Options]\nFolder=x\nParseSource=true\n", "Options", "Folder", nullptr,
         "[Options]\r\nParseSource=true\r\n"},
        {"RemovesSection", "[A]\nk=1\n[Options]\nFolder=x\n[B]\n", "Options", nullptr, nullptr,
         "[A]\r\nk=1\r\n[B]\r\n"},
        {"LineBreakInValue", "", "Options", "Folder", "a\r\nb", nullptr},
        {"EqualsInKey", "", "Options", "Fol=der", "x", nullptr},
        {"BracketInSection", "", "Opt]ions", "Folder", "x", nullptr},
        {"BlankKey", "", "Options", " ", "x", nullptr},
        {"KeyOpeningASection", "", "", "[", "", nullptr},
        {"KeyOpeningASectionAfterBlanks", "[Options]\nFolder=a\n", "Options", " [k", "1", nullptr},
    };
    const auto optional = [](const char* text) {
        return text != nullptr ? std::optional<std::string_view>(text) : std::nullopt;
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(
            ProfileSetValue(row.contents, row.section, optional(row.key), optional(row.value)),
            optional(row.expected));
    }
}

// Reading, writing and keeping other sections through the file are driven by the main window's
// settings tests; here only what they cannot reach. A flush request succeeds, and so does a write
// that changes nothing, which writes nothing (here onto a full disk); a settings file that cannot
// be read is never replaced, one that cannot be written stays whole and reads as before, and a
// folder in its place is left alone.
TEST(Profile, FailedReadsAndWritesLeaveTheOldFileWhole) {
    TempDir flushed;
    EXPECT_TRUE(WriteProfileString(nullptr, nullptr, nullptr, flushed.Join("T.Ini").c_str(), true));
    FakeHostFs full;
    full.SetDiskSpace(0);
    const std::string same = flushed.Write("Same.Ini", "[Options]\r\nFolder=x\r\n");
    EXPECT_TRUE(WriteProfileString(full, "Options", "Folder", "x", same.c_str()));
    const std::string folder = flushed.MakeFolder("Tamsk.Ini");
    EXPECT_FALSE(WriteProfileString("Options", "Folder", "x", folder.c_str(), true));
    EXPECT_EQ(ReadProfileString("Options", "Folder", ".", folder.c_str()).Str(), ".");
    const std::vector<void (*)(FakeHostFs&)> faults = {
        [](FakeHostFs& fs) { fs.DenyOpen("Tamsk.Ini"); },
        [](FakeHostFs& fs) { fs.LimitReads(4); },  // it cannot be read, but could be written
        [](FakeHostFs& fs) { fs.SetDiskSpace(8); },
        [](FakeHostFs& fs) { fs.FailRename("Tamsk.Ini"); },
    };
    for (const auto& fault : faults) {
        TempDir dir;
        const std::string file = dir.Write("Tamsk.Ini", "[Options]\nFolder=old\n");
        FakeHostFs fs;
        fault(fs);
        EXPECT_FALSE(WriteProfileString(fs, "Options", "Folder", "new", file.c_str()));
        EXPECT_EQ(ReadWhole(file), "[Options]\nFolder=old\n");
        EXPECT_EQ(ReadProfileString("Options", "Folder", ".", file.c_str()).Str(), "old");
        EXPECT_EQ(treesnapshot::Paths(dir.path()), "Tamsk.Ini");
    }
}

}  // namespace
