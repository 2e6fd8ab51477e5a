#include "copy/copypaths.h"

#include <gtest/gtest.h>

#include "classlib/core/hostfs.h"

namespace {

TEST(CopyPathsTest, AbsoluteNames) {
    struct Case {
        std::string_view name;
        bool absolute;
    };
    const Case cases[] = {
        {"src\\main.c", false}, {"..\\..\\png.c", false}, {"main.c", false},
        {"", false},           {"C:\\x.c", true},        {"c:x.c", true},
        {"\\x.c", true},       {"/x.c", true},           {"\\\\server\\share\\x.c", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsAbsoluteName(c.name), c.absolute) << c.name;
    }
}

TEST(CopyPathsTest, FoldedPathJoinsAndFoldsBothSeparators) {
    struct Case {
        std::string_view folder;
        std::string_view name;
        std::string_view folded;
    };
    const Case cases[] = {
        {"/p/proj/", "src\\main.c", "/p/proj/src/main.c"},
        {"/p/proj/", "..\\..\\png.c", "/png.c"},
        {"/a/b/c/", "..\\x\\.\\y.h", "/a/b/x/y.h"},
        {"/a/", "..\\..\\..\\up.c", "/up.c"},
        {"/a//b/", "c", "/a/b/c"},
        {"/a/b/", "", "/a/b"},
        {"/", "", "/"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FoldedPath(c.folder, c.name), c.folded) << c.folder << " + " << c.name;
    }
}

TEST(CopyPathsTest, FoldedPathOfRelativeFolderStartsAtCurrentFolder) {
    const std::string here = FoldedPath(HostFs::CurrentFolder(), "");
    EXPECT_EQ(FoldedPath("", "x.wpj"), FoldedPath(here, "x.wpj"));
    EXPECT_EQ(FoldedPath("sub\\", "..\\x.wpj"), FoldedPath(here, "x.wpj"));
}

TEST(CopyPathsTest, CommonFolderComparesWholeComponents) {
    EXPECT_EQ(CommonFolder("/a/b/c", "/a/b/c"), "/a/b/c");
    EXPECT_EQ(CommonFolder("/a/b/c", "/a/bx"), "/a");
    EXPECT_EQ(CommonFolder("/a/b", "/a/B"), "/a");
    EXPECT_EQ(CommonFolder("/a", "/b"), "/");
}

TEST(CopyPathsTest, RelativeBelowOnlyForPathsInsideRoot) {
    EXPECT_EQ(RelativeBelow("/a", "/a/b/c").value_or("<none>"), "b/c");
    EXPECT_EQ(RelativeBelow("/", "/a/b").value_or("<none>"), "a/b");
    EXPECT_EQ(RelativeBelow("/a", "/ab/c").value_or("<none>"), "<none>");
    EXPECT_EQ(RelativeBelow("/a/b", "/a").value_or("<none>"), "<none>");
    EXPECT_EQ(RelativeBelow("/a", "/a").value_or("<none>"), "<none>");
}

TEST(CopyPathsTest, FolderPartStopsBeforeLastSeparator) {
    EXPECT_EQ(FolderPart("/out/src/main.c"), "/out/src");
    EXPECT_EQ(FolderPart("D:\\out\\src\\main.c"), "D:\\out\\src");
    EXPECT_EQ(FolderPart("/main.c"), "");
    EXPECT_EQ(FolderPart("main.c"), "main.c");
}

}  // namespace
