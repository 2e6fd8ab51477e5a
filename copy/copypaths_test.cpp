#include "copy/copypaths.h"

#include <gtest/gtest.h>

#include <string>

#include "classlib/core/hostfs.h"

namespace {

// Folding itself is the path rules' (LexicallyFolded); here the joining and
// the current folder for a relative project folder.
TEST(CopyPathsTest, FoldedPathJoinsFolderAndName) {
    EXPECT_EQ(FoldedPath("/p/proj/", "..\\..\\..\\png.c"), "/png.c");
    EXPECT_EQ(FoldedPath("/a/b/c", "..\\x\\.\\y.h"), "/a/b/x/y.h");
    EXPECT_EQ(FoldedPath("", ""), FoldedPath(HostFs::CurrentFolder(), ""));
    EXPECT_EQ(FoldedPath("sub\\", "..\\x.wpj"), FoldedPath(HostFs::CurrentFolder(), "x.wpj"));
}

// Whole components, compared exactly: "/a/bx" does not lie below "/a/b".
TEST(CopyPathsTest, CommonFolderAndRelativeBelowCompareWholeComponents) {
    EXPECT_EQ(CommonFolder("/a/b/c", "/a/bx"), "/a");
    EXPECT_EQ(CommonFolder("/a/b", "/a/B/"), "/a");
    EXPECT_EQ(CommonFolder("/a", "/b"), "/");
    EXPECT_EQ(RelativeBelow("/a", "/a/b/c").value_or("<none>"), "b/c");
    EXPECT_EQ(RelativeBelow("/", "/a/b").value_or("<none>"), "a/b");
    EXPECT_EQ(RelativeBelow("/a", "/ab/c").value_or("<none>"), "<none>");
    EXPECT_EQ(RelativeBelow("/a/b", "/a").value_or("<none>"), "<none>");
    EXPECT_EQ(RelativeBelow("/a", "/a").value_or("<none>"), "<none>");
}

}  // namespace
