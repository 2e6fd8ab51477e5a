#include "copy/copypaths.h"

#include <gtest/gtest.h>

#include <string>

#include "classlib/core/hostfs.h"

namespace {

TEST(CopyPathsTest, FoldedPathJoinsAndFoldsBothSeparators) {
    struct Case {
        std::string folder;
        std::string name;
        std::string folded;
    };
    const std::string here = FoldedPath(HostFs::CurrentFolder(), "");
    const Case cases[] = {
        {"/p/proj/", "..\\..\\png.c", "/png.c"},
        {"/a/b/c/", "..\\x\\.\\y.h", "/a/b/x/y.h"},
        {"/a/", "..\\..\\..\\up.c", "/up.c"},
        {"/a//b/", "c", "/a/b/c"},
        {"/a/b/", "", "/a/b"},
        {"/", "", "/"},
        {"sub\\", "..\\x.wpj", here + "/x.wpj"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FoldedPath(c.folder, c.name), c.folded) << c.folder << " + " << c.name;
    }
}

// Whole components, compared exactly: "/a/bx" does not lie below "/a/b".
TEST(CopyPathsTest, CommonFolderAndRelativeBelowCompareWholeComponents) {
    EXPECT_EQ(CommonFolder("/a/b/c", "/a/bx"), "/a");
    EXPECT_EQ(CommonFolder("/a/b", "/a/B"), "/a");
    EXPECT_EQ(CommonFolder("/a", "/b"), "/");
    EXPECT_EQ(RelativeBelow("/a", "/a/b/c").value_or("<none>"), "b/c");
    EXPECT_EQ(RelativeBelow("/", "/a/b").value_or("<none>"), "a/b");
    EXPECT_EQ(RelativeBelow("/a", "/ab/c").value_or("<none>"), "<none>");
    EXPECT_EQ(RelativeBelow("/a/b", "/a").value_or("<none>"), "<none>");
    EXPECT_EQ(RelativeBelow("/a", "/a").value_or("<none>"), "<none>");
}

}  // namespace
