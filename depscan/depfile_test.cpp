#include "depscan/depfile.h"

#include <gtest/gtest.h>

#include <string>

#include "project/projecttree.h"
#include "tests/support/fakehostfs.h"
#include "tests/support/tempdir.h"

namespace {

// Which part is the extension is the file path's rule.
TEST(DependencyFilePath, ReplacesTheExtension) {
    EXPECT_EQ(DependencyFilePath("C:\\p.x\\demo.wpj").Str(), "C:\\p.x\\demo_dep.Txt");
}

// An empty tree creates nothing. Otherwise the streamed file holds exactly DumpTree's lines with
// CR LF ends (control characters in a label written as blanks), also across the writer's blocks
// and back up from deep levels to later roots; an older, longer file is replaced whole; a failure
// has its reason.
TEST(ExportDependencies, WritesWhatDumpTreeWritesOrSaysWhyNot) {
    TempDir dir;
    WTreeStore tree;
    NativeHostFs fs;
    const std::string path = dir.Join("p_dep.Txt");
    EXPECT_EQ(ExportDependencies(tree, path, fs), ExportResult::EmptyTree);
    EXPECT_EQ(ReadWhole(path), "<missing>");
    for (int root = 0; root < 3; ++root) {
        WTreeItem parent =
            tree.Add("root\r\n\t\x7f" + std::to_string(root), kNoItem, 0, 0, WTreePosition::Last());
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
    dir.Write("p_dep.Txt", std::string(expected.size() + 100, 'x'));
    ASSERT_EQ(ExportDependencies(tree, path, fs), ExportResult::Written);
    EXPECT_EQ(ReadWhole(path), expected);

    EXPECT_EQ(ExportDependencies(tree, dir.Join("missing/p_dep.Txt"), fs), ExportResult::Failed);
    FakeHostFs denied;  // its wording is the same on every host
    denied.DenyOpen("p_dep.Txt");
    std::string reason;
    EXPECT_EQ(ExportDependencies(tree, path, denied, &reason), ExportResult::Failed);
    EXPECT_EQ(reason, "cannot create a temporary file for " + path + ": Permission denied");
}

}  // namespace
