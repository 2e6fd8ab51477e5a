#include "project/imagetypes.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct DescriptionCase {
    const char* code;
    const char* description;
};

class DescribeTargetTypeTest : public testing::TestWithParam<DescriptionCase> {};

TEST_P(DescribeTargetTypeTest, Describes) {
    EXPECT_EQ(DescribeTargetType(GetParam().code).Str(), GetParam().description);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, DescribeTargetTypeTest,
    testing::Values(
        DescriptionCase{"nw2e", "Windows NT windowed executable (32-bit Executable)"},
        DescriptionCase{"lx6s", "Netware NLM (16-bit Library)"},
        DescriptionCase{"wm2d", "Windows 3.x MFC 2.X application, static linkage (32-bit Dll)"},
        DescriptionCase{"", "Unknown"}, DescriptionCase{"NW2E", "Unknown"},
        DescriptionCase{"n", "Unknown Target"},
        DescriptionCase{"nw3e", "Windows NT windowed executableExecutable)"},
        DescriptionCase{"nz2e", "Windows NT (32-bit Executable)"},
        DescriptionCase{"qc2e", "QNX (32-bit Executable)"},
        DescriptionCase{"nw2en", "Windows NT windowed executable (32-bit Executable)"},
        // Kinds of every platform that has them, and every file type.
        DescriptionCase{"ad2d", "Autocad ADS device interface (32-bit Dll)"},
        DescriptionCase{"ae2e", "Autocad ADS executable (32-bit Executable)"},
        DescriptionCase{"af2d", "Autocad ADS floating-point device interface (32-bit Dll)"},
        DescriptionCase{"dc6e", "DOS .com file (16-bit Executable)"},
        DescriptionCase{"de6e", "DOS .exe file (16-bit Executable)"},
        DescriptionCase{"df2e",
                        "DOS Flashtek, register based calling conventions (32-bit Executable)"},
        DescriptionCase{"dp2e", "DOS Pharlap (32-bit Executable)"},
        DescriptionCase{"dr2e", "DOS Rational DOS 4G (32-bit Executable)"},
        DescriptionCase{"ds2e",
                        "DOS Flashtek, stack based calling conventions (32-bit Executable)"},
        DescriptionCase{"dt2e", "DOS Pharlap tnt (32-bit Executable)"},
        DescriptionCase{"d_6s", "DOS (16-bit Library)"},
        DescriptionCase{"na2d", "Windows NT MFC DLL linkage (32-bit Dll)"},
        DescriptionCase{"nc2e", "Windows NT character mode executable (32-bit Executable)"},
        DescriptionCase{"nm2e", "Windows NT MFC static linkage (32-bit Executable)"},
        DescriptionCase{"no2d", "Windows NT MFC Unicode DLL linkage (32-bit Dll)"},
        DescriptionCase{"np2d", "Windows NT PowerBuilder DLL (32-bit Dll)"},
        DescriptionCase{"nu2e", "Windows NT MFC Unicode static linkage (32-bit Executable)"},
        DescriptionCase{"oc2e", "OS/2 PM Compatible (32-bit Executable)"},
        DescriptionCase{"of2e", "OS/2 Full screen (32-bit Executable)"},
        DescriptionCase{"op2e", "OS/2 PM (32-bit Executable)"},
        DescriptionCase{"ov2d", "OS/2 Virtual device (32-bit Dll)"},
        DescriptionCase{"wa6e", "Windows 3.x MFC 2.X application, DLL linkage (16-bit Executable)"},
        DescriptionCase{"wp6d", "Windows 3.x PowerBuilder DLL (16-bit Dll)"},
        DescriptionCase{"ws6e",
                        "Windows 3.x application (not Visual Programmer) (16-bit Executable)"},
        DescriptionCase{"w_6d", "Windows 3.x (16-bit Dll)"},
        DescriptionCase{"w_6h", "Windows 3.x (16-bit Help file)"},
        DescriptionCase{"w_6i", "Windows 3.x (16-bit Inf file)"},
        DescriptionCase{"w_6e9", "Windows 3.x (16-bit Executable)"},
        DescriptionCase{"x_2e", "Unknown"},
        DescriptionCase{"lc2e", "Netware NLM (32-bit Executable)"},
        DescriptionCase{"nw2x", "Unknown Target"}, DescriptionCase{"nw2", "Unknown Target"},
        DescriptionCase{"nwe", "Unknown Target"}, DescriptionCase{"nw", "Unknown Target"}));

TEST(DescribeTargetTypeTest, NullCodeIsUnknown) {
    EXPECT_EQ(DescribeTargetType(nullptr).Str(), "Unknown");
}

struct DefaultsCase {
    const char* code;
    const char* directories;
};

class DefaultIncludeDirectoriesTest : public testing::TestWithParam<DefaultsCase> {};

TEST_P(DefaultIncludeDirectoriesTest, Defaults) {
    EXPECT_EQ(std::string(DefaultIncludeDirectories(GetParam().code)), GetParam().directories);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, DefaultIncludeDirectoriesTest,
    testing::Values(
        DefaultsCase{"", "$(%watcom)\\h"}, DefaultsCase{"n", "$(%watcom)\\h;$(%watcom)\\h\\nt"},
        DefaultsCase{"oc6e", "$(%watcom)\\h;$(%watcom)\\h\\os2"},
        DefaultsCase{"o62e", "$(%watcom)\\h;$(%watcom)\\h\\os21x"},
        DefaultsCase{"o", "$(%watcom)\\h;$(%watcom)\\h\\os2"},
        DefaultsCase{"de6e", "$(%watcom)\\h"}, DefaultsCase{"lx6s", "$(%watcom)\\novh"},
        DefaultsCase{"na2d", "$(%watcom)\\h;$(%watcom)\\h\\nt;$(%watcom)\\mfc\\include"},
        DefaultsCase{"nm2e", "$(%watcom)\\h;$(%watcom)\\h\\nt;$(%watcom)\\mfc\\include"},
        DefaultsCase{"no2d", "$(%watcom)\\h;$(%watcom)\\h\\nt;$(%watcom)\\mfc\\include"},
        DefaultsCase{"nu2e", "$(%watcom)\\h;$(%watcom)\\h\\nt;$(%watcom)\\mfc\\include"},
        DefaultsCase{"nw2e", "$(%watcom)\\h;$(%watcom)\\h\\nt"},
        DefaultsCase{"nA2e", "$(%watcom)\\h;$(%watcom)\\h\\nt"},
        DefaultsCase{"wm6e", "$(%watcom)\\h;$(%watcom)\\h\\win"},
        DefaultsCase{"wa6d", "$(%watcom)\\h;$(%watcom)\\h\\win"},
        DefaultsCase{"ae2e", "$(%watcom)\\h"}, DefaultsCase{"qc2e", "$(%watcom)\\h"},
        DefaultsCase{"Nw2e", "$(%watcom)\\h"}, DefaultsCase{"x_2e", "$(%watcom)\\h"}));

TEST(DefaultIncludeDirectoriesTest, NullCodeHasTheFallback) {
    EXPECT_EQ(std::string(DefaultIncludeDirectories(nullptr)), "$(%watcom)\\h");
}

}  // namespace
