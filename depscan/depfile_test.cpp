#include "depscan/depfile.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>
#include <vector>

#include "project/projecttree.h"
#include "tests/support/tempdir.h"

namespace {

struct NameCase {
    std::string project;
    std::string expected;
};

TEST(DependencyFilePath, ReplacesTheExtension) {
    const std::vector<NameCase> cases = {
        {"C:\\p\\demo.wpj", "C:\\p\\demo_dep.Txt"},
        {"/home/u/p/demo.wpj", "/home/u/p/demo_dep.Txt"},
        {"demo", "demo_dep.Txt"},
        {"a.b/demo.x.wpj", "a.b/demo.x_dep.Txt"},
    };
    for (const NameCase& c : cases) {
        EXPECT_EQ(DependencyFilePath(c.project).Str(), c.expected) << c.project;
    }
}

TEST(ExportDependencies, WritesEveryNodeWithCrLf) {
    TempDir dir;
    WTreeStore tree;
    const WTreeItem project = tree.Add("Project: p [p.wpj]", kNoItem, 0, 0, WTreePosition::Last());
    const WTreeItem target = tree.Add("Target: t", project, 1, 1, WTreePosition::Last());
    tree.Add("a.c", tree.Add("Dependency Filelist", target, 1, 1, WTreePosition::Last()), 2, 2,
             WTreePosition::Last());
    tree.Add("Second root", kNoItem, 0, 0, WTreePosition::Last());
    HostFs fs;
    const std::string path = dir.Join("p_dep.Txt");
    dir.Write("p_dep.Txt", "old content that is longer than the new one, to be replaced whole");
    EXPECT_EQ(ExportDependencies(tree, path, fs), ExportResult::Written);
    EXPECT_EQ(ReadWhole(path),
              "Project: p [p.wpj]\r\n Target: t\r\n  Dependency Filelist\r\n   a.c\r\n"
              "Second root\r\n");
}

// The file holds exactly DumpTree's lines, with CR LF ends, also across the
// writer's blocks and back up from deep levels to later roots.
TEST(ExportDependencies, WritesWhatDumpTreeWrites) {
    TempDir dir;
    WTreeStore tree;
    for (int root = 0; root < 3; ++root) {
        WTreeItem parent =
            tree.Add("root " + std::to_string(root), kNoItem, 0, 0, WTreePosition::Last());
        for (int level = 0; level < 40; ++level) {
            for (int leaf = 0; leaf < 1000; ++leaf) {
                tree.Add(std::string(20, 'a' + static_cast<char>(leaf % 26)), parent, 2, 2,
                         WTreePosition::Last());
            }
            parent =
                tree.Add("level " + std::to_string(level), parent, 2, 2, WTreePosition::Last());
        }
    }
    WString text;
    DumpTree(tree, tree.FirstRoot(), text, 0);
    std::string expected;
    for (char c : text.Str()) {
        expected += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    HostFs fs;
    ASSERT_EQ(ExportDependencies(tree, dir.Join("p_dep.Txt"), fs), ExportResult::Written);
    EXPECT_EQ(ReadWhole(dir.Join("p_dep.Txt")), expected);
}

TEST(ExportDependencies, EmptyTreeCreatesNothing) {
    TempDir dir;
    WTreeStore tree;
    HostFs fs;
    EXPECT_EQ(ExportDependencies(tree, dir.Join("p_dep.Txt"), fs), ExportResult::EmptyTree);
    EXPECT_EQ(ReadWhole(dir.Join("p_dep.Txt")), "<missing>");
}

TEST(ExportDependencies, UnwritableFolderFailsWithAReason) {
    TempDir dir;
    WTreeStore tree;
    tree.Add("Project: p [p.wpj]", kNoItem, 0, 0, WTreePosition::Last());
    HostFs fs;
    std::string reason;
    EXPECT_EQ(ExportDependencies(tree, dir.Join("missing/p_dep.Txt"), fs, &reason),
              ExportResult::Failed);
    EXPECT_NE(reason, "");
}

}  // namespace
