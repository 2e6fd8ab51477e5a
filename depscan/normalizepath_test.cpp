#include "depscan/normalizepath.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "depscan/fileclass.h"

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
        {"folder removed without case", "c:\\P\\inc\\a.h", "C:\\p\\", "inc\\a.h"},
        {"path equal to the folder stays", "C:\\p\\", "C:\\p\\", "C:\\p\\"},
        {"other folder stays", "C:\\q\\a.h", "C:\\p\\", "C:\\q\\a.h"},
        {"POSIX folder", "/home/u/p/inc/a.h", "/home/u/p/", "inc\\a.h"},
        {"POSIX folder, backslashed path", "\\home\\u\\p\\a.h", "/home/u/p/", "a.h"},
        {"target folder in a sub-folder", "/p/BIN/x.c", "/p/bin\\", "x.c"},
        {"parent folded", "a\\b\\..\\c", "", "a\\c"},
        {"leading parents stay", "..\\..\\inc\\a.h", "/p/bin\\", "..\\..\\inc\\a.h"},
        {"first name before parent stays", "a\\..\\b", "", "a\\..\\b"},
        {"absolute parent folded", "\\x\\y\\..\\z", "", "\\x\\z"},
        {"folder goes before folding", "C:\\p\\a\\..\\b.h", "C:\\p\\", "a\\..\\b.h"},
        {"parent of parent stays", "x\\..\\..\\y", "", "x\\..\\..\\y"},
        {"single dot and doubled backslash stay", "a\\.\\b\\\\c", "", "a\\.\\b\\\\c"},
    };
    for (const PathCase& c : cases) {
        WString path(c.path);
        NormalizePath(path, c.folder);
        EXPECT_EQ(path.Str(), c.expected) << c.title;
    }
}

TEST(ClassifyFile, UsesTheLowerCasedExtensionPiece) {
    const std::vector<std::pair<const char*, FileClass>> cases = {
        {"A.RC", FileClass::ResourceScript}, {"a.dlg", FileClass::ResourceScript},
        {"a.r", FileClass::ResourceScript},  {"A.LIB", FileClass::Library},
        {"a.li", FileClass::Library},        {"a.", FileClass::Library},
        {"a.c", FileClass::Source},          {"a.rcx", FileClass::Source},
        {"makefile", FileClass::Source},     {"a.rc\\b", FileClass::Source},
    };
    for (const auto& [path, expected] : cases) {
        EXPECT_EQ(ClassifyFile(path), expected) << path;
    }
}

}  // namespace
