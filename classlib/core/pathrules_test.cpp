#include "classlib/core/pathrules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct PathCase {
    std::string path;
    bool absolute;
    std::string folder;
    std::string name;
};

TEST(PathRules, SplitAndTellAbsolutePathsWithBothSeparators) {
    const std::vector<PathCase> cases = {
        {"a\\b.c", false, "a\\", "b.c"},
        {"a/b\\", false, "a/b\\", ""},
        {"b.c", false, "", "b.c"},
        {"C:\\x.c", true, "C:\\", "x.c"},
        {"c:x.c", true, "", "c:x.c"},
        {"1:x", false, "", "1:x"},
        {"/x.c", true, "/", "x.c"},
        {"\\\\server\\share\\x.c", true, "\\\\server\\share\\", "x.c"},
        {"..\\..\\png.c", false, "..\\..\\", "png.c"},
        {"", false, "", ""},
    };
    for (const PathCase& c : cases) {
        EXPECT_EQ(IsAbsolutePath(c.path), c.absolute) << c.path;
        EXPECT_EQ(FolderOfPath(c.path), c.folder) << c.path;
        EXPECT_EQ(FileNameOfPath(c.path), c.name) << c.path;
    }
}

TEST(PathRules, JoinAndFold) {
    EXPECT_EQ(WithHostSeparators("a\\b/c\\"), "a/b/c/");
    EXPECT_EQ(JoinPath("/p", "a.c"), "/p/a.c");
    EXPECT_EQ(JoinPath("/p\\", "a.c"), "/p\\a.c");
    EXPECT_EQ(JoinPath("", "a.c"), "a.c");
    EXPECT_EQ(PathInFolder("/p/", "C:\\a.c"), "C:\\a.c");
    EXPECT_EQ(PathInFolder("/p/", "..\\a.c"), "/p/..\\a.c");
    EXPECT_EQ(LexicallyFolded("/a/./b//..\\c/"), "/a/c");
    EXPECT_EQ(LexicallyFolded("/../a/.."), "/");
    EXPECT_EQ(LexicallyFolded("../a/../../b"), "../../b");
#ifdef _WIN32
    EXPECT_EQ(LexicallyFolded("C:\\a\\..\\..\\b"), "C:/b");
    EXPECT_EQ(LexicallyFolded("c:x\\.."), "c:/");
    EXPECT_EQ(LexicallyFolded("\\\\srv\\share\\..\\x"), "\\\\srv\\share/x");
#endif
    EXPECT_TRUE(SamePathText("C:\\Src/A.c", "c:/src\\a.C"));
    EXPECT_FALSE(SamePathText("a\\b", "a\\bc"));
}

}  // namespace
