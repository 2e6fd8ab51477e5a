#include "depscan/normalizepath.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "depscan/fileclass.h"
#include "depscan/includeresolution.h"

namespace {

struct PathCase {
    const char* title;
    std::string path;
    std::string folder;
    std::string expected;
};

TEST(NormalizePath, CleansAsTheTableSays) {
    const std::vector<PathCase> cases = {
        {"slashes turned", "a/b/c.h", "", "a\\b\\c.h"},
        {"leading dot-backslash", ".\\a.h", "C:\\p\\", "a.h"},
        {"dot-backslash skips the folder", ".\\C:\\p\\a.h", "C:\\p\\", "C:\\p\\a.h"},
        {"folder removed", "C:\\p\\inc\\a.h", "C:\\p\\", "inc\\a.h"},
        {"folder removed without case", "c:\\P\\inc\\a.h", "C:\\p\\", "inc\\a.h"},
        {"path equal to the folder stays", "C:\\p\\", "C:\\p\\", "C:\\p\\"},
        {"other folder stays", "C:\\q\\a.h", "C:\\p\\", "C:\\q\\a.h"},
        {"POSIX folder", "/home/u/p/inc/a.h", "/home/u/p/", "inc\\a.h"},
        {"POSIX folder, backslashed path", "\\home\\u\\p\\a.h", "/home/u/p/", "a.h"},
        {"parent folded", "a\\b\\..\\c", "", "a\\c"},
        {"leading parents stay", "..\\..\\inc\\a.h", "", "..\\..\\inc\\a.h"},
        {"first name before parent stays", "a\\..\\b", "", "a\\..\\b"},
        {"absolute parent folded", "\\x\\y\\..\\z", "", "\\x\\z"},
        {"folder goes before folding", "C:\\p\\a\\..\\b.h", "C:\\p\\", "a\\..\\b.h"},
        {"parent of parent stays", "x\\..\\..\\y", "", "x\\..\\..\\y"},
        {"single dot stays", "a\\.\\b", "", "a\\.\\b"},
        {"doubled backslash stays", "a\\\\b", "", "a\\\\b"},
    };
    for (const PathCase& c : cases) {
        WString path(c.path);
        NormalizePath(path, c.folder);
        EXPECT_EQ(path.Str(), c.expected) << c.title;
    }
}

struct ClassCase {
    const char* path;
    FileClass expected;
};

TEST(ClassifyFile, UsesTheLowerCasedExtensionPiece) {
    const std::vector<ClassCase> cases = {
        {"A.RC", FileClass::ResourceScript}, {"a.dlg", FileClass::ResourceScript},
        {"a.r", FileClass::ResourceScript},  {"A.LIB", FileClass::Library},
        {"a.li", FileClass::Library},        {"a.", FileClass::Library},
        {"a.c", FileClass::Source},          {"a.rcx", FileClass::Source},
        {"makefile", FileClass::Source},     {"a.rc\\b", FileClass::Source},
    };
    for (const ClassCase& c : cases) {
        EXPECT_EQ(ClassifyFile(c.path), c.expected) << c.path;
    }
}

struct SplitCase {
    const char* title;
    std::string text;
    std::vector<std::string> expected;
};

// The include directory lists are split with the class library's tokens.
TEST(IncludeDirectoryPieces, SplitLikeTheTokenRulesSay) {
    const std::vector<SplitCase> cases = {
        {"empty pieces dropped", ";a;;b;", {"a", "b"}},
        {"blanks stay", " a ; b", {" a ", " b"}},
        {"quoted piece holds ;", "\"x;y\";z", {"x;y", "z"}},
        {"escaped quote inside quotes", "\"x\\\"y\"", {"x\"y"}},
        {"backslash elsewhere stays", "\"c:\\h\"", {"c:\\h"}},
        {"quote mid-piece", "a\"b;c\"d", {"ab;cd"}},
        {"nothing", "", {}},
    };
    for (const SplitCase& c : cases) {
        EXPECT_EQ(IncludeDirectoryPieces(c.text), c.expected) << c.title;
    }
}

}  // namespace
