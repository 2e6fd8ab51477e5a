#include "depscan/includeresolution.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/tempdir.h"

namespace {

class Resolution : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = project_.path() + "/";
        watcom_ = compiler_.path();
        compiler_.Write("h/stdio.h", "");
        compiler_.Write("h/nt/windows.h", "");
        compiler_.Write("h/sys/types.h", "");
        project_.Write("both.h", "");
        project_.Write("inc/both.h", "");
        project_.Write("inc/only.h", "");
        project_.Write("inc/defs.h", "");
        project_.Write("sub/deep/local.h", "");
        project_.Write("sub/near.h", "");
    }

    std::string Resolve(const std::string& name, const std::string& list, char opener) {
        return ResolveInclude(WString(folder_), WString(name), WString(list), opener, fs_).Str();
    }

    TempDir project_;
    TempDir compiler_;
    std::string folder_;
    std::string watcom_;
    HostFs fs_;
};

struct ResolveCase {
    const char* title;
    std::string name;
    char opener;
    std::string list;  // "W" stands for the compiler folder
    std::string expected;
};

TEST_F(Resolution, SearchesProjectFolderThenTheList) {
    const std::string std = watcom_ + "\\h;" + watcom_ + "\\h\\nt";
    const std::vector<ResolveCase> cases = {
        {"quoted in the project folder", "both.h", '"', "inc", "both.h"},
        {"quoted falls back to the list", "only.h", '"', "inc", "inc\\only.h"},
        {"angle skips the project folder", "both.h", '<', "inc", "inc\\both.h"},
        {"angle in the second folder", "windows.h", '<', std, watcom_ + "\\h\\nt\\windows.h"},
        {"forward slashes in the name", "sys/types.h", '<', std, watcom_ + "\\h\\sys\\types.h"},
        {"dot-backslash piece", "only.h", '<', ".\\inc", "inc\\only.h"},
        {"parent piece kept", "only.h", '<',
         "..\\" + project_.path().substr(project_.path().rfind('/') + 1) + "\\inc",
         "..\\" + project_.path().substr(project_.path().rfind('/') + 1) + "\\inc\\only.h"},
        {"empty pieces skipped", "only.h", '<', ";;inc;", "inc\\only.h"},
        {"quoted piece", "only.h", '<', "\"inc\"", "inc\\only.h"},
        {"case differs on disk", "Inc\\Defs.H", '"', "", "Inc\\Defs.H"},
        {"absolute quoted name stays absolute", folder_ + "inc/only.h", '"', "",
         folder_ + "inc/only.h"},
        {"absolute angle name", folder_ + "inc/only.h", '<', "", ""},
        {"not found", "gone.h", '"', std, ""},
        {"folder counts as found", "inc", '"', "", "inc"},
        {"quoted name only next to its file is not found here", "local.h", '"', "", ""},
    };
    for (const ResolveCase& c : cases) {
        std::string expected = c.expected;
        // Absolute results are spelled with backslashes throughout.
        for (char& ch : expected) {
            if (ch == '/') {
                ch = '\\';
            }
        }
        EXPECT_EQ(Resolve(c.name, c.list, c.opener), expected) << c.title;
    }
}

TEST_F(Resolution, NextToTheIncludingFile) {
    EXPECT_EQ(ResolveNextToFile(folder_, "sub\\deep\\", "local.h", fs_), "sub\\deep\\local.h");
    EXPECT_EQ(ResolveNextToFile(folder_, "sub\\deep\\", "..\\near.h", fs_), "sub\\near.h");
    EXPECT_EQ(ResolveNextToFile(folder_, "sub\\", "local.h", fs_), "");
}

TEST(CompilerFolderExclusion, MatchesTheFolderTextWithCase) {
    EXPECT_EQ(IsInCompilerFolder("C:\\WATCOM\\h\\stdio.h", "C:\\WATCOM"), true);
    EXPECT_EQ(IsInCompilerFolder("C:\\watcom\\h\\stdio.h", "C:\\WATCOM"), false);
    EXPECT_EQ(IsInCompilerFolder("\\opt\\watcom\\h\\stdio.h", "/opt/watcom"), true);
    EXPECT_EQ(IsInCompilerFolder("inc\\a.h", "/opt/watcom"), false);
    EXPECT_EQ(IsInCompilerFolder("anything", ""), false);
}

// Builds target > [default node, Dependency Filelist > source], optionally with
// a switch group holding the given switch lines before Dependency Filelist.
struct TargetTree {
    WTreeStore tree;
    WTreeItem source = kNoItem;

    TargetTree(const std::string& defaults, const std::vector<std::string>& releaseSwitches) {
        const WTreeItem project =
            tree.Add("Project: p [p.wpj]", kNoItem, 0, 0, WTreePosition::Last());
        const WTreeItem target = tree.Add("Target: t", project, 1, 1, WTreePosition::Last());
        tree.Add("Target Name: t.exe", target, 2, 2, WTreePosition::Last());
        tree.Add(defaults, target, 2, 2, WTreePosition::Last());
        if (!releaseSwitches.empty()) {
            const WTreeItem group =
                tree.Add("Release Switches", target, 1, 1, WTreePosition::Last());
            for (const std::string& line : releaseSwitches) {
                tree.Add(line, group, 2, 2, WTreePosition::Last());
            }
        }
        const WTreeItem sources =
            tree.Add("Dependency Filelist", target, 1, 1, WTreePosition::Last());
        source = tree.Add("a.c", sources, 2, 2, WTreePosition::Last());
        tree.Add("Filelist", target, 1, 1, WTreePosition::Last());
    }
};

struct ListCase {
    const char* title;
    std::string defaults;
    std::vector<std::string> switches;
    std::string compilerFolder;
    bool expectedRead;
    std::string expected;
};

TEST(IncludeDirectories, ReadsTheNodeBeforeTheSources) {
    const std::vector<ListCase> cases = {
        {"default list",
         "Default Include directories: $(%watcom)\\h;$(%watcom)\\h\\nt",
         {},
         "C:\\W",
         true,
         "C:\\W\\h;C:\\W\\h\\nt"},
        {"first release switch",
         "Default Include directories: $(%watcom)\\h",
         {"(wcc) Include directories: inc;$(%watcom)\\h", "(wpp) Include directories: x"},
         "/w",
         true,
         "inc;/w\\h"},
        {"WATCOM unset expands to nothing",
         "Default Include directories: $(%watcom)\\h",
         {},
         "",
         true,
         "\\h"},
        {"macro in capitals stays",
         "Default Include directories: $(%WATCOM)\\h",
         {},
         "/w",
         true,
         "$(%WATCOM)\\h"},
        {"blanks after the colon skipped",
         "Default Include directories:    a; b",
         {},
         "",
         true,
         "a; b"},
        {"no colon", "Default Include directories", {}, "", false, "unchanged"},
    };
    for (const ListCase& c : cases) {
        TargetTree target(c.defaults, c.switches);
        WString list("unchanged");
        EXPECT_EQ(IncludeDirectories(target.tree, target.source, list, WString(c.compilerFolder)),
                  c.expectedRead)
            << c.title;
        EXPECT_EQ(list.Str(), c.expected) << c.title;
    }
}

TEST(CompilerFolder, ComesFromWatcom) {
    setenv("WATCOM", "/opt/watcom-like", 1);
    EXPECT_EQ(ReadCompilerFolder().Str(), "/opt/watcom-like");
    unsetenv("WATCOM");
    EXPECT_EQ(ReadCompilerFolder().Str(), "");
}

}  // namespace
