#include "project/imagetypes.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr const char* kH = "$(%watcom)\\h";
constexpr const char* kNt = "$(%watcom)\\h;$(%watcom)\\h\\nt";
constexpr const char* kMfc = "$(%watcom)\\h;$(%watcom)\\h\\nt;$(%watcom)\\mfc\\include";
constexpr const char* kOs2 = "$(%watcom)\\h;$(%watcom)\\h\\os2";
constexpr const char* kWin = "$(%watcom)\\h;$(%watcom)\\h\\win";

struct CodeRow {
    const char* code;
    const char* description;
    const char* includeDirectories;
};

// How a code is read, position by position; the texts of the tables are not restated.
TEST(ImageTypesTest, DescriptionAndDefaultIncludeDirectories) {
    const CodeRow rows[] = {
        {"nw2e", "Windows NT windowed executable (32-bit Executable)", kNt},
        {"lx6s", "Netware NLM (16-bit Library)", "$(%watcom)\\novh"},
        {"na2d", "Windows NT MFC DLL linkage (32-bit Dll)", kMfc},
        {"w_6h", "Windows 3.x (16-bit Help file)", kWin},
        {"nw2en", "Windows NT windowed executable (32-bit Executable)", kNt},
        {nullptr, "Unknown", kH},
        {"", "Unknown", kH},
        {"NW2E", "Unknown", kH},
        {"x_2e", "Unknown", kH},
        {"o", "Unknown Target", kOs2},
        {"nw2", "Unknown Target", kNt},
        {"nw2x", "Unknown Target", kNt},
        {"nw3e", "Windows NT windowed executableExecutable)", kNt},
        {"nA2e", "Windows NT (32-bit Executable)", kNt},
    };
    for (const CodeRow& row : rows) {
        SCOPED_TRACE(row.code != nullptr ? row.code : "null");
        EXPECT_EQ(DescribeTargetType(row.code).Str(), row.description);
        EXPECT_EQ(std::string(DefaultIncludeDirectories(row.code)), row.includeDirectories);
    }
}

}  // namespace
