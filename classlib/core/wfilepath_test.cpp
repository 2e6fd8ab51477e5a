#include "classlib/core/wfilepath.h"

#include <string>

#include <gtest/gtest.h>

// Masks joined with "|" select adjoining parts together.
TEST(WFilePath, MasksSelectAndJoinParts) {
    const struct {
        const char* path;
        std::string drive, directory, name, extension;
    } rows[] = {
        {"C:\\work\\app\\app.wpj", "C:", "\\work\\app\\", "app", ".wpj"},
        {"/home/u/p/N.wpj", "", "/home/u/p/", "N", ".wpj"},
        {"name", "", "", "name", ""},
        {"a.b\\c", "", "a.b\\", "c", ""},
        {"x.tar.gz", "", "", "x.tar", ".gz"},
        {"C:name.c", "C:", "", "name", ".c"},
        {"C:", "C:", "", "", ""},
        {"dir/sub\\mixed.h", "", "dir/sub\\", "mixed", ".h"},
        {"folder\\", "", "folder\\", "", ""},
        {".profile", "", "", "", ".profile"},
        {"", "", "", "", ""},
        {"ab:c.d", "", "", "ab:c", ".d"},  // only a colon in the second place marks a drive
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.path);
        const WFilePath path(row.path);
        EXPECT_EQ(path.GetPart(WFilePath::Drive).Str(), row.drive);
        EXPECT_EQ(path.GetPart(WFilePath::Directory).Str(), row.directory);
        EXPECT_EQ(path.GetPart(WFilePath::FileName).Str(), row.name);
        EXPECT_EQ(path.GetPart(WFilePath::Extension).Str(), row.extension);
        EXPECT_EQ(path.GetFileName().Str(), row.name);
        EXPECT_EQ(path.GetPart(WFilePath::Folder).Str(), row.drive + row.directory);
        EXPECT_EQ(path.GetPart(WFilePath::WithoutExtension).Str(),
                  row.drive + row.directory + row.name);
        EXPECT_EQ(path.GetPart(WFilePath::NameWithExtension).Str(), row.name + row.extension);
        EXPECT_EQ(path.GetPart(WFilePath::Drive | WFilePath::FileName).Str(), row.drive + row.name);
        EXPECT_EQ(WFilePath(WString(row.path)).GetPart(WFilePath::Whole).Str(), row.path);
    }
}
