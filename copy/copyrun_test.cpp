#include "copy/copyrun.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "classlib/core/wstring.h"
#include "project/projecttree.h"
#include "tests/support/tempdir.h"

namespace {

namespace fs = std::filesystem;

// Builds the tree a load would build, as far as the copy run reads it: the
// project node with its folder, target nodes with their references, and
// each target's "Filelist" grouped by extension.
class CopyRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* header : {"Filename", "Destination Folder", "Result"}) {
            results_.AddColumn(header, WListStore::kAppend, WListStore::kFitCellsAndHeader);
        }
    }

    // The project file folder/file.wpj below the temporary folder.
    void AddProject(std::string_view folder, std::string_view file) {
        const std::string projectFolder = temp_.Join(folder) + "/";
        project_ =
            tree_.Add("Project: x [" + std::string(file) + "]", kNoItem, ProjectImage, ProjectImage,
                      WTreePosition::Last(), std::make_unique<WString>(projectFolder));
    }

    // reference empty: a target node without data, found by its label alone.
    WTreeItem AddTarget(std::string_view bracketed, std::string_view reference) {
        std::unique_ptr<WObject> data;
        if (!reference.empty()) {
            data = std::make_unique<WString>(reference);
        }
        return tree_.Add(
            "Target: t  Windows NT windowed executable [" + std::string(bracketed) + "]", project_,
            GroupImage, GroupImage, WTreePosition::Last(), std::move(data));
    }

    void AddFiles(WTreeItem target, const std::vector<std::string>& names) {
        WTreeItem filelist = tree_.LastChild(target);
        if (filelist == kNoItem || tree_.Label(filelist) != FilelistText().View()) {
            filelist = tree_.Add(FilelistText().View(), target, GroupImage, GroupImage,
                                 WTreePosition::Last());
        }
        for (const std::string& name : names) {
            const WTreeItem file = tree_.Add(name, ExtensionNode(filelist, name), FileImage,
                                             FileImage, WTreePosition::Sorted());
            ASSERT_NE(file, kNoItem);
        }
    }

    WTreeItem ExtensionNode(WTreeItem filelist, const std::string& name) {
        std::string extension = name.substr(name.find_last_of('.') + 1);
        std::transform(extension.begin(), extension.end(), extension.begin(),
                       [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
        for (WTreeItem child = tree_.FirstChild(filelist); child != kNoItem;
             child = tree_.NextSibling(child)) {
            if (tree_.Label(child) == extension) {
                return child;
            }
        }
        return tree_.Add(extension, filelist, GroupImage, GroupImage, WTreePosition::Sorted());
    }

    CopyRunSummary Run(std::string_view destination) {
        HostFs fs;
        return RunProjectCopy(tree_, destination, results_, fs);
    }

    // Each row as "name | folder | result".
    std::vector<std::string> Rows() const {
        std::vector<std::string> rows;
        for (int row = 0; row < results_.RowCount(); ++row) {
            rows.push_back(std::string(results_.Cell(row, 0)) + " | " +
                           std::string(results_.Cell(row, 1)) + " | " +
                           std::string(results_.Cell(row, 2)));
        }
        return rows;
    }

    // Every entry below folder, relative, folders marked with a trailing '/'.
    std::vector<std::string> EntriesBelow(std::string_view folder) const {
        std::vector<std::string> entries;
        const fs::path root = temp_.Join(folder);
        std::error_code error;
        for (const auto& entry : fs::recursive_directory_iterator(root, error)) {
            std::string relative = fs::relative(entry.path(), root).generic_string();
            entries.push_back(entry.is_directory() ? relative + "/" : relative);
        }
        std::sort(entries.begin(), entries.end());
        return entries;
    }

    std::string Out(std::string_view relative = "") const {
        return relative.empty() ? temp_.Join("out") : temp_.Join("out/" + std::string(relative));
    }

    TempDir temp_;
    WTreeStore tree_;
    WListStore results_;
    WTreeItem project_ = kNoItem;
};

TEST_F(CopyRunTest, RebuildsTheRelativeLayoutAndCreatesFolders) {
    temp_.Write("p/demo.wpj", "wpj");
    temp_.Write("p/demo.tgt", "tgt");
    temp_.Write("p/src/main.c", "main");
    temp_.Write("p/inc/deep/a.h", "a");
    AddProject("p", "demo.wpj");
    AddFiles(AddTarget("demo.tgt", "demo.tgt"), {"src\\main.c", "inc\\deep\\a.h"});

    const CopyRunSummary summary = Run(Out());

    EXPECT_EQ(summary.copied, 4);
    EXPECT_EQ(summary.failed, 0);
    const std::vector<std::string> expected = {
        "demo.wpj | " + Out() + " | copied",
        "demo.tgt | " + Out() + " | copied",
        "src\\main.c | " + Out("src") + " | copied",
        "inc\\deep\\a.h | " + Out("inc/deep") + " | copied",
    };
    EXPECT_EQ(Rows(), expected);
    const std::vector<std::string> entries = {"demo.tgt",     "demo.wpj", "inc/",      "inc/deep/",
                                              "inc/deep/a.h", "src/",     "src/main.c"};
    EXPECT_EQ(EntriesBelow("out"), entries);
    EXPECT_EQ(ReadWhole(Out("inc/deep/a.h")), "a");
}

TEST_F(CopyRunTest, DestinationWithOrWithoutFinalSeparatorIsTheSame) {
    temp_.Write("p/demo.wpj", "wpj");
    AddProject("p", "demo.wpj");
    for (const std::string& destination : {Out(), Out() + "/", Out() + "\\"}) {
        results_.RemoveAllRows();
        Run(destination);
        EXPECT_EQ(Rows(), std::vector<std::string>{"demo.wpj | " + Out() + " | copied"})
            << destination;
    }
}

TEST_F(CopyRunTest, EmptyDestinationWritesNothing) {
    temp_.Write("p/demo.wpj", "wpj");
    temp_.Write("p/src/main.c", "main");
    AddProject("p", "demo.wpj");
    AddFiles(AddTarget("demo.tgt", "demo.tgt"), {"src\\main.c"});

    const CopyRunSummary summary = Run("");

    EXPECT_EQ(summary.copied, 0);
    const std::vector<std::string> expected = {"demo.wpj |  | failed", "demo.tgt |  | failed",
                                               "src\\main.c | /src | failed"};
    EXPECT_EQ(Rows(), expected);
}

TEST_F(CopyRunTest, MissingSourceFailsWithoutCreatingFolders) {
    temp_.Write("p/demo.wpj", "wpj");
    AddProject("p", "demo.wpj");
    AddFiles(AddTarget("demo.tgt", "demo.tgt"), {"gone\\lost.c"});

    Run(Out());

    const std::vector<std::string> expected = {"demo.wpj | " + Out() + " | copied",
                                               "demo.tgt | " + Out() + " | failed",
                                               "gone\\lost.c | " + Out("gone") + " | failed"};
    EXPECT_EQ(Rows(), expected);
    EXPECT_EQ(EntriesBelow("out"), std::vector<std::string>{"demo.wpj"});
}

TEST_F(CopyRunTest, ExistingDestinationFileIsReplaced) {
    temp_.Write("p/demo.wpj", "new contents");
    temp_.Write("out/demo.wpj", "old");
    AddProject("p", "demo.wpj");

    Run(Out());

    EXPECT_EQ(Rows(), std::vector<std::string>{"demo.wpj | " + Out() + " | copied"});
    EXPECT_EQ(ReadWhole(Out("demo.wpj")), "new contents");
}

TEST_F(CopyRunTest, FileWhereAFolderIsNeededFailsAndTheRunGoesOn) {
    temp_.Write("p/demo.wpj", "wpj");
    temp_.Write("p/a.c", "a");
    temp_.Write("p/src/b.c", "b");
    temp_.Write("p/z.c", "z");
    temp_.Write("out/src", "a file, not a folder");
    AddProject("p", "demo.wpj");
    AddFiles(AddTarget("demo.wpj", "demo.wpj"), {"a.c", "src\\b.c", "z.c"});

    const CopyRunSummary summary = Run(Out());

    const std::vector<std::string> expected = {
        "demo.wpj | " + Out() + " | copied", "demo.wpj | " + Out() + " | copied",
        "a.c | " + Out() + " | copied", "src\\b.c | " + Out("src") + " | failed",
        "z.c | " + Out() + " | copied"};
    EXPECT_EQ(Rows(), expected);
    EXPECT_EQ(summary.failed, 1);
    EXPECT_EQ(ReadWhole(Out("src")), "a file, not a folder");
    EXPECT_EQ(ReadWhole(Out("z.c")), "z");
}

TEST_F(CopyRunTest, ReadOnlyFolderFailsHalfWay) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "permissions do not bind the superuser";
    }
    temp_.Write("p/demo.wpj", "wpj");
    temp_.Write("p/locked/a.c", "a");
    temp_.Write("p/z.c", "z");
    const std::string locked = temp_.MakeFolder("out/locked");
    fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);
    AddProject("p", "demo.wpj");
    AddFiles(AddTarget("demo.wpj", "demo.wpj"), {"locked\\a.c", "z.c"});

    const CopyRunSummary summary = Run(Out());

    EXPECT_EQ(summary.failed, 1);
    EXPECT_EQ(results_.Cell(2, 2), "failed");
    EXPECT_EQ(results_.Cell(3, 2), "copied");
    EXPECT_EQ(EntriesBelow("out"), (std::vector<std::string>{"demo.wpj", "locked/", "z.c"}));
}

TEST_F(CopyRunTest, ExtensionNodeWithoutChildrenStillSizesColumns) {
    temp_.Write("p/demo.wpj", "wpj");
    AddProject("p", "demo.wpj");
    const WTreeItem target = AddTarget("a-long-target-name.tgt", "");
    AddFiles(target, {});
    const WTreeItem filelist = tree_.LastChild(target);
    tree_.Add("C", filelist, GroupImage, GroupImage, WTreePosition::Sorted());

    std::vector<int> headerWidths;
    for (int column = 0; column < 3; ++column) {
        headerWidths.push_back(results_.ColumnAt(column).width);
    }

    Run(Out());

    EXPECT_EQ(results_.RowCount(), 2);
    for (int column = 0; column < 3; ++column) {
        const int sized = results_.ColumnAt(column).width;
        EXPECT_NE(sized, headerWidths[static_cast<std::size_t>(column)]) << column;
        results_.SetColumnWidth(column, WListStore::kFitCells);
        EXPECT_EQ(sized, results_.ColumnAt(column).width) << column;
    }
}

TEST_F(CopyRunTest, NoColumnSizingWithoutExtensionNodes) {
    AddProject("p", "demo.wpj");
    AddTarget("demo.tgt", "demo.tgt");
    const int headerWidth = results_.ColumnAt(0).width;

    Run(Out());

    EXPECT_EQ(results_.ColumnAt(0).width, headerWidth);
}

// A project in projects/owatcom/ naming ..\..\png.c is copied rooted two
// levels up, so nothing lands beside or above the destination.
TEST_F(CopyRunTest, FilesAboveTheProjectFolderKeepTheirLayout) {
    temp_.Write("lib/projects/owatcom/libpng.wpj", "wpj");
    temp_.Write("lib/projects/owatcom/libpng.tgt", "tgt");
    temp_.Write("lib/png.c", "png");
    temp_.Write("lib/pngpriv.h", "priv");
    temp_.Write("lib/projects/owatcom/local.h", "local");
    AddProject("lib/projects/owatcom", "libpng.wpj");
    AddFiles(AddTarget("libpng.tgt", "libpng.tgt"),
             {"..\\..\\png.c", "..\\..\\pngpriv.h", "local.h"});

    const CopyRunSummary summary = Run(Out());

    EXPECT_EQ(summary.failed, 0);
    const std::string projectOut = Out("projects/owatcom");
    const std::vector<std::string> expected = {
        "libpng.wpj | " + projectOut + " | copied", "libpng.tgt | " + projectOut + " | copied",
        "..\\..\\png.c | " + Out() + " | copied", "..\\..\\pngpriv.h | " + Out() + " | copied",
        "local.h | " + projectOut + " | copied"};
    EXPECT_EQ(Rows(), expected);
    const std::vector<std::string> entries = {"png.c",
                                              "pngpriv.h",
                                              "projects/",
                                              "projects/owatcom/",
                                              "projects/owatcom/libpng.tgt",
                                              "projects/owatcom/libpng.wpj",
                                              "projects/owatcom/local.h"};
    EXPECT_EQ(EntriesBelow("out"), entries);
    EXPECT_EQ(EntriesBelow("lib"), (std::vector<std::string>{
                                       "png.c", "pngpriv.h", "projects/", "projects/owatcom/",
                                       "projects/owatcom/libpng.tgt", "projects/owatcom/libpng.wpj",
                                       "projects/owatcom/local.h"}));
}

TEST_F(CopyRunTest, AbsoluteNameIsNotCopied) {
    const std::string outside = temp_.Write("outside.c", "x");
    temp_.Write("p/demo.wpj", "wpj");
    AddProject("p", "demo.wpj");
    AddFiles(AddTarget("demo.wpj", "demo.wpj"), {outside, "C:\\outside.c"});

    Run(Out());

    EXPECT_EQ(results_.Cell(2, 2), "failed");
    EXPECT_EQ(results_.Cell(3, 2), "failed");
    EXPECT_EQ(results_.Cell(2, 1), Out());
    EXPECT_EQ(EntriesBelow("out"), std::vector<std::string>{"demo.wpj"});
}

TEST_F(CopyRunTest, TargetFileInASubFolderIsCopiedByItsReference) {
    temp_.Write("p/tetris.wpj", "wpj");
    temp_.Write("p/bin/tetris.tgt", "tgt");
    temp_.Write("p/plain.tgt", "plain");
    AddProject("p", "tetris.wpj");
    AddTarget("tetris.tgt", "bin\\tetris.tgt");
    AddTarget("plain.tgt", "");

    Run(Out());

    const std::vector<std::string> expected = {"tetris.wpj | " + Out() + " | copied",
                                               "bin\\tetris.tgt | " + Out("bin") + " | copied",
                                               "plain.tgt | " + Out() + " | copied"};
    EXPECT_EQ(Rows(), expected);
    EXPECT_EQ(ReadWhole(Out("bin/tetris.tgt")), "tgt");
}

TEST_F(CopyRunTest, ProjectFolderAsDestinationLeavesSourcesUntouched) {
    temp_.Write("p/demo.wpj", "wpj");
    temp_.Write("p/src/main.c", "main");
    AddProject("p", "demo.wpj");
    AddFiles(AddTarget("demo.wpj", "demo.wpj"), {"src\\main.c"});

    const CopyRunSummary summary = Run(temp_.Join("p"));

    EXPECT_EQ(summary.copied, 0);
    EXPECT_EQ(Rows().back(), "src\\main.c | " + temp_.Join("p/src") + " | failed");
    EXPECT_EQ(ReadWhole(temp_.Join("p/demo.wpj")), "wpj");
    EXPECT_EQ(ReadWhole(temp_.Join("p/src/main.c")), "main");
    EXPECT_EQ(EntriesBelow("p"), (std::vector<std::string>{"demo.wpj", "src/", "src/main.c"}));
}

// Windows names files in any case; the copy takes the case from the disk.
TEST_F(CopyRunTest, DestinationTakesTheCaseFromTheDisk) {
    temp_.Write("p/demo.wpj", "wpj");
    temp_.Write("p/Src/Main.c", "main");
    temp_.Write("p/Src/util.h", "util");
    AddProject("p", "demo.wpj");
    AddFiles(AddTarget("demo.wpj", "demo.wpj"), {"SRC\\MAIN.C", "src\\UTIL.H"});

    Run(Out());

    EXPECT_EQ(results_.Cell(2, 0), "SRC\\MAIN.C");
    EXPECT_EQ(results_.Cell(2, 1), Out("Src"));
    EXPECT_EQ(EntriesBelow("out"),
              (std::vector<std::string>{"Src/", "Src/Main.c", "Src/util.h", "demo.wpj"}));
}

TEST_F(CopyRunTest, SameNameInTwoTargetsIsCopiedTwice) {
    temp_.Write("p/demo.wpj", "wpj");
    temp_.Write("p/a.tgt", "a");
    temp_.Write("p/b.tgt", "b");
    temp_.Write("p/common.h", "h");
    AddProject("p", "demo.wpj");
    AddFiles(AddTarget("a.tgt", "a.tgt"), {"common.h"});
    AddFiles(AddTarget("b.tgt", "b.tgt"), {"common.h"});

    const CopyRunSummary summary = Run(Out());

    EXPECT_EQ(summary.copied, 5);
    EXPECT_EQ(results_.Cell(2, 0), "common.h");
    EXPECT_EQ(results_.Cell(4, 0), "common.h");
}

TEST_F(CopyRunTest, FolderNamedAsAFileIsNotCopied) {
    temp_.Write("p/demo.wpj", "wpj");
    temp_.MakeFolder("p/odd.c/inner");
    AddProject("p", "demo.wpj");
    AddFiles(AddTarget("demo.wpj", "demo.wpj"), {"odd.c\\inner", "odd.c"});

    Run(Out());

    EXPECT_EQ(Rows().size(), 4u);
    EXPECT_EQ(results_.Cell(2, 2), "failed");
    EXPECT_EQ(results_.Cell(3, 2), "failed");
    EXPECT_EQ(EntriesBelow("out"), std::vector<std::string>{"demo.wpj"});
}

TEST_F(CopyRunTest, NothingToCopyWithoutProjectOrFolder) {
    EXPECT_EQ(Run(Out()).ran, false);
    tree_.Add("Project: x [x.wpj]", kNoItem, ProjectImage, ProjectImage, WTreePosition::Last());
    EXPECT_EQ(Run(Out()).ran, false);
    EXPECT_EQ(results_.RowCount(), 0);
    EXPECT_EQ(EntriesBelow(""), std::vector<std::string>{});
}

TEST(BracketedNameTest, TakesTheTextBetweenTheLastBrackets) {
    EXPECT_EQ(BracketedName("Project: demo [demo.wpj]"), "demo.wpj");
    EXPECT_EQ(BracketedName("Target: a [x]  desc [a.tgt]"), "a.tgt");
    EXPECT_EQ(BracketedName("Target: a"), "Target: a");
    EXPECT_EQ(BracketedName("odd ] then [ open"), "odd ] then [ open");
    EXPECT_EQ(BracketedName("[]"), "");
}

}  // namespace
