#include "classlib/core/wfilepath.h"

#include <gtest/gtest.h>

struct PartsCase {
    const char* path;
    const char* drive;      // 1
    const char* directory;  // 2
    const char* name;       // 4
    const char* extension;  // 8
};

class WFilePathParts : public ::testing::TestWithParam<PartsCase> {};

TEST_P(WFilePathParts, SingleMasksSelectEachPart) {
    const PartsCase& c = GetParam();
    const WFilePath path(c.path);
    EXPECT_EQ(path.GetPart(WFilePath::Drive).Str(), c.drive);
    EXPECT_EQ(path.GetPart(WFilePath::Directory).Str(), c.directory);
    EXPECT_EQ(path.GetPart(WFilePath::FileName).Str(), c.name);
    EXPECT_EQ(path.GetPart(WFilePath::Extension).Str(), c.extension);
    EXPECT_EQ(path.GetFileName().Str(), c.name);
}

TEST_P(WFilePathParts, SumsJoinAdjoiningParts) {
    const PartsCase& c = GetParam();
    const WFilePath path(c.path);
    const std::string drive = c.drive, directory = c.directory, name = c.name,
                      extension = c.extension;
    EXPECT_EQ(path.GetPart(3).Str(), drive + directory);
    EXPECT_EQ(path.GetPart(7).Str(), drive + directory + name);
    EXPECT_EQ(path.GetPart(12).Str(), name + extension);
    EXPECT_EQ(path.GetPart(15).Str(), c.path);
    EXPECT_EQ(path.GetPart(5).Str(), drive + name);
}

INSTANTIATE_TEST_SUITE_P(
    Table, WFilePathParts,
    ::testing::Values(PartsCase{"C:\\work\\app\\app.wpj", "C:", "\\work\\app\\", "app", ".wpj"},
                      PartsCase{"/home/u/p/N.wpj", "", "/home/u/p/", "N", ".wpj"},
                      PartsCase{"name", "", "", "name", ""},
                      PartsCase{"a.b\\c", "", "a.b\\", "c", ""},
                      PartsCase{"x.tar.gz", "", "", "x.tar", ".gz"},
                      PartsCase{"C:name.c", "C:", "", "name", ".c"},
                      PartsCase{"dir/sub\\mixed.h", "", "dir/sub\\", "mixed", ".h"},
                      PartsCase{"folder\\", "", "folder\\", "", ""},
                      PartsCase{".profile", "", "", "", ".profile"},
                      PartsCase{"", "", "", "", ""},
                      // Only a colon in the second place marks a drive.
                      PartsCase{"ab:c.d", "", "", "ab:c", ".d"}));

TEST(WFilePathConstruct, FromWStringMatchesFromText) {
    const WFilePath fromText("C:\\a\\b.c");
    const WFilePath fromString(WString("C:\\a\\b.c"));
    EXPECT_EQ(fromString.GetPart(WFilePath::Folder).Str(), fromText.GetPart(3).Str());
    EXPECT_EQ(fromString.GetPart(WFilePath::NameWithExtension).Str(), "b.c");
}
