// The corpus of IDE-written projects: every project loads, and its project,
// target, target-name and switch lines are what the files say. The
// expectations are in testdata/corpus-tree.txt, one block per project file.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "project/projecttree.h"
#include "tests/support/tempdir.h"

namespace {

namespace fs = std::filesystem;

// Project file path -> its expected lines, each ended by '\n'.
std::map<std::string, std::string> ReadExpectations() {
    std::map<std::string, std::string> expectations;
    std::ifstream in(fs::path(SourceFolder()) / "project" / "testdata" / "corpus-tree.txt");
    std::string line;
    std::string* current = nullptr;
    while (std::getline(in, line)) {
        if (line.starts_with("== ")) {
            current = &expectations[line.substr(3)];
        } else if (current != nullptr && !line.starts_with("#")) {
            *current += line + "\n";
        }
    }
    return expectations;
}

// The lines of the tree the expectations hold: the project, its targets, their
// first child (the target name) and their switch groups with the switches.
std::string ComparedLines(const WTreeStore& tree) {
    const WTreeItem project = tree.FirstRoot();
    std::string text = std::string(tree.Label(project)) + "\n";
    for (WTreeItem target = tree.FirstChild(project); target != kNoItem;
         target = tree.NextSibling(target)) {
        text += " " + std::string(tree.Label(target)) + "\n";
        for (WTreeItem child = tree.FirstChild(target); child != kNoItem;
             child = tree.NextSibling(child)) {
            const std::string_view label = tree.Label(child);
            const bool group = label == "Debug Switches" || label == "Release Switches";
            if (child == tree.FirstChild(target) || group) {
                text += "  " + std::string(label) + "\n";
            }
            for (WTreeItem item = group ? tree.FirstChild(child) : kNoItem; item != kNoItem;
                 item = tree.NextSibling(item)) {
                text += "   " + std::string(tree.Label(item)) + "\n";
            }
        }
    }
    return text;
}

// Each project the expectations name; a project added to the corpus needs its block there.
TEST(CorpusTest, EveryProjectShowsItsTargetsNamesAndSwitches) {
    const std::string corpus = CorpusFolder();
    if (corpus.empty()) {
        GTEST_SKIP() << "the corpus of IDE-written files is not there (../shared/corpus)";
    }
    const std::map<std::string, std::string> expectations = ReadExpectations();
    ASSERT_NE(expectations.size(), 0u);
    for (const auto& [path, lines] : expectations) {
        SCOPED_TRACE(path);
        NativeHostFs hostFs;
        WTreeStore tree;
        ASSERT_EQ(LoadProject(tree, WFilePath(std::string_view(corpus + "/" + path)), hostFs,
                              ParseLiterals::Off, DependencyScan()),
                  true);
        EXPECT_EQ(ComparedLines(tree), lines);
    }
}

}  // namespace
