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

// The examples and edge cases, then every kind of image and every file type.
TEST(ImageTypesTest, DescriptionAndDefaultIncludeDirectories) {
    const CodeRow rows[] = {
        {"nw2e", "Windows NT windowed executable (32-bit Executable)", kNt},
        {"lx6s", "Netware NLM (16-bit Library)", "$(%watcom)\\novh"},
        {"wm2d", "Windows 3.x MFC 2.X application, static linkage (32-bit Dll)", kWin},
        {nullptr, "Unknown", kH},
        {"", "Unknown", kH},
        {"NW2E", "Unknown", kH},
        {"Nw2e", "Unknown", kH},
        {"x_2e", "Unknown", kH},
        {"n", "Unknown Target", kNt},
        {"o", "Unknown Target", kOs2},
        {"nw", "Unknown Target", kNt},
        {"nw2", "Unknown Target", kNt},
        {"nwe", "Unknown Target", kNt},
        {"nw2x", "Unknown Target", kNt},
        {"nw3e", "Windows NT windowed executableExecutable)", kNt},
        {"nz2e", "Windows NT (32-bit Executable)", kNt},
        {"nA2e", "Windows NT (32-bit Executable)", kNt},
        {"qc2e", "QNX (32-bit Executable)", kH},
        {"lc2e", "Netware NLM (32-bit Executable)", "$(%watcom)\\novh"},
        {"nw2en", "Windows NT windowed executable (32-bit Executable)", kNt},
        {"w_6e9", "Windows 3.x (16-bit Executable)", kWin},
        {"ad2d", "Autocad ADS device interface (32-bit Dll)", kH},
        {"ae2e", "Autocad ADS executable (32-bit Executable)", kH},
        {"af2d", "Autocad ADS floating-point device interface (32-bit Dll)", kH},
        {"dc6e", "DOS .com file (16-bit Executable)", kH},
        {"de6e", "DOS .exe file (16-bit Executable)", kH},
        {"df2e", "DOS Flashtek, register based calling conventions (32-bit Executable)", kH},
        {"dp2e", "DOS Pharlap (32-bit Executable)", kH},
        {"dr2e", "DOS Rational DOS 4G (32-bit Executable)", kH},
        {"ds2e", "DOS Flashtek, stack based calling conventions (32-bit Executable)", kH},
        {"dt2e", "DOS Pharlap tnt (32-bit Executable)", kH},
        {"d_6s", "DOS (16-bit Library)", kH},
        {"na2d", "Windows NT MFC DLL linkage (32-bit Dll)", kMfc},
        {"nc2e", "Windows NT character mode executable (32-bit Executable)", kNt},
        {"nm2e", "Windows NT MFC static linkage (32-bit Executable)", kMfc},
        {"no2d", "Windows NT MFC Unicode DLL linkage (32-bit Dll)", kMfc},
        {"np2d", "Windows NT PowerBuilder DLL (32-bit Dll)", kNt},
        {"nu2e", "Windows NT MFC Unicode static linkage (32-bit Executable)", kMfc},
        {"oc2e", "OS/2 PM Compatible (32-bit Executable)", kOs2},
        {"of2e", "OS/2 Full screen (32-bit Executable)", kOs2},
        {"op2e", "OS/2 PM (32-bit Executable)", kOs2},
        {"ov2d", "OS/2 Virtual device (32-bit Dll)", kOs2},
        {"o62e", "OS/2 (32-bit Executable)", "$(%watcom)\\h;$(%watcom)\\h\\os21x"},
        {"wa6e", "Windows 3.x MFC 2.X application, DLL linkage (16-bit Executable)", kWin},
        {"wp6d", "Windows 3.x PowerBuilder DLL (16-bit Dll)", kWin},
        {"ws6e", "Windows 3.x application (not Visual Programmer) (16-bit Executable)", kWin},
        {"w_6d", "Windows 3.x (16-bit Dll)", kWin},
        {"w_6h", "Windows 3.x (16-bit Help file)", kWin},
        {"w_6i", "Windows 3.x (16-bit Inf file)", kWin},
    };
    for (const CodeRow& row : rows) {
        SCOPED_TRACE(row.code != nullptr ? row.code : "null");
        EXPECT_EQ(DescribeTargetType(row.code).Str(), row.description);
        EXPECT_EQ(std::string(DefaultIncludeDirectories(row.code)), row.includeDirectories);
    }
}

}  // namespace
