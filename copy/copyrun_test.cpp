#include "copy/copyrun.h"

#include <gtest/gtest.h>

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
// each target's "Filelist" grouped by extension. In expected texts '$'
// stands for the destination folder temp/out.
class CopyRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* header : {"Filename", "Destination Folder", "Result"}) {
            results_.AddColumn(header, WListStore::kAppend, WListStore::kFitCellsAndHeader);
        }
    }

    // Writes each file below the temporary folder, its bytes being its own name,
    // and adds the project node of the first, which must be a .wpj file.
    void AddProject(const std::vector<std::string>& files) {
        for (const std::string& file : files) {
            temp_.Write(file, file);
        }
        const std::string& path = files.front();
        const std::size_t slash = path.rfind('/');
        project_ = tree_.Add("Project: x [" + path.substr(slash + 1) + "]", kNoItem, ProjectImage,
                             ProjectImage, WTreePosition::Last(),
                             std::make_unique<WString>(temp_.Join(path.substr(0, slash)) + "/"));
    }

    // reference empty: a target node without data, found by its label alone.
    WTreeItem AddTarget(std::string_view bracketed, std::string_view reference,
                        const std::vector<std::string>& names = {}) {
        std::unique_ptr<WObject> data;
        if (!reference.empty()) {
            data = std::make_unique<WString>(reference);
        }
        const WTreeItem target =
            tree_.Add("Target: t  Windows NT windowed executable [" + std::string(bracketed) + "]",
                      project_, GroupImage, GroupImage, WTreePosition::Last(), std::move(data));
        const WTreeItem filelist =
            tree_.Add(FilelistText().View(), target, GroupImage, GroupImage, WTreePosition::Last());
        for (const std::string& name : names) {
            tree_.Add(name, ExtensionNode(filelist, name), FileImage, FileImage,
                      WTreePosition::Sorted());
        }
        return target;
    }

    WTreeItem ExtensionNode(WTreeItem filelist, const std::string& name) {
        std::string extension = name.substr(name.find_last_of('.') + 1);
        std::transform(extension.begin(), extension.end(), extension.begin(),
                       [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
        const WTreeItem found = tree_.FindDescendant(
            filelist, [&](WTreeItem item) { return tree_.Label(item) == extension; });
        return found != kNoItem ? found
                                : tree_.Add(extension, filelist, GroupImage, GroupImage,
                                            WTreePosition::Sorted());
    }

    CopyRunSummary Run(std::string_view destination) {
        NativeHostFs fs;
        return RunProjectCopy(tree_, destination, results_, fs);
    }

    // Each row as "name | folder | result", one a line.
    std::string Rows() const {
        std::string rows;
        for (int row = 0; row < results_.RowCount(); ++row) {
            rows += std::string(results_.Cell(row, 0)) + " | " +
                    std::string(results_.Cell(row, 1)) + " | " +
                    std::string(results_.Cell(row, 2)) + "\n";
        }
        return rows;
    }

    // Every entry below folder, relative and sorted, folders with a trailing '/'.
    std::string EntriesBelow(std::string_view folder) const {
        std::vector<std::string> entries;
        const fs::path root = temp_.Join(folder);
        std::error_code error;
        for (const auto& entry : fs::recursive_directory_iterator(root, error)) {
            std::string relative = fs::relative(entry.path(), root).generic_string();
            entries.push_back(entry.is_directory() ? relative + "/" : relative);
        }
        std::sort(entries.begin(), entries.end());
        std::string text;
        for (const std::string& entry : entries) {
            text += (text.empty() ? "" : " ") + entry;
        }
        return text;
    }

    // text with every '$' replaced by the destination folder.
    std::string Out(std::string text = "$") const {
        for (std::size_t at = text.find('$'); at != std::string::npos; at = text.find('$')) {
            text.replace(at, 1, temp_.Join("out"));
        }
        return text;
    }

    TempDir temp_;
    WTreeStore tree_;
    WListStore results_;
    WTreeItem project_ = kNoItem;
};

// A target file is copied by the reference the project file gives; names
// take the case of the files and folders on disk, as Windows allows any.
TEST_F(CopyRunTest, RebuildsTheRelativeLayoutAndCreatesFolders) {
    AddProject({"p/demo.wpj", "p/demo.tgt", "p/bin/sub.tgt", "p/plain.tgt", "p/Src/Main.c",
                "p/Src/util.h", "p/inc/deep/a.h"});
    AddTarget("demo.tgt", "demo.tgt", {"SRC\\MAIN.C", "src\\UTIL.H", "inc\\deep\\a.h"});
    AddTarget("sub.tgt", "bin\\sub.tgt");
    AddTarget("plain.tgt", "");
    const CopyRunSummary summary = Run(Out());
    EXPECT_EQ(summary.copied, 7);
    EXPECT_EQ(summary.failed, 0);
    EXPECT_EQ(Rows(),
              Out("demo.wpj | $ | copied\ndemo.tgt | $ | copied\nSRC\\MAIN.C | $/Src | copied\n"
                  "inc\\deep\\a.h | $/inc/deep | copied\nsrc\\UTIL.H | $/Src | copied\n"
                  "bin\\sub.tgt | $/bin | copied\nplain.tgt | $ | copied\n"));
    EXPECT_EQ(EntriesBelow("out"),
              "Src/ Src/Main.c Src/util.h bin/ bin/sub.tgt demo.tgt demo.wpj inc/ inc/deep/ "
              "inc/deep/a.h plain.tgt");
    EXPECT_EQ(ReadWhole(Out("$/Src/Main.c")), "p/Src/Main.c");
}

// Each run after the first replaces the file the one before wrote.
TEST_F(CopyRunTest, DestinationWithOrWithoutFinalSeparatorIsTheSame) {
    AddProject({"p/demo.wpj"});
    temp_.Write("out/demo.wpj", std::string(100, 'o'));
    for (const std::string& destination : {Out(), Out() + "/", Out() + "\\"}) {
        results_.RemoveAllRows();
        Run(destination);
        EXPECT_EQ(Rows(), Out("demo.wpj | $ | copied\n")) << destination;
        EXPECT_EQ(ReadWhole(Out("$/demo.wpj")), "p/demo.wpj");
    }
}

TEST_F(CopyRunTest, EmptyDestinationWritesNothing) {
    AddProject({"p/demo.wpj", "p/src/main.c"});
    AddTarget("demo.tgt", "demo.tgt", {"src\\main.c"});
    EXPECT_EQ(Run("").copied, 0);
    EXPECT_EQ(Rows(), "demo.wpj |  | failed\ndemo.tgt |  | failed\nsrc\\main.c | /src | failed\n");
}

// Only regular files are copied, and no folder is made for a failed row.
TEST_F(CopyRunTest, MissingSourceOrFolderFailsWithoutCreatingFolders) {
    AddProject({"p/demo.wpj"});
    temp_.MakeFolder("p/odd.c/inner");
    AddTarget("demo.tgt", "demo.tgt", {"gone\\lost.c", "odd.c\\inner", "odd.c"});
    Run(Out());
    EXPECT_EQ(Rows(), Out("demo.wpj | $ | copied\ndemo.tgt | $ | failed\n"
                          "gone\\lost.c | $/gone | failed\nodd.c | $ | failed\n"
                          "odd.c\\inner | $/odd.c | failed\n"));
    EXPECT_EQ(EntriesBelow("out"), "demo.wpj");
}

TEST_F(CopyRunTest, FileWhereAFolderIsNeededFailsAndTheRunGoesOn) {
    AddProject({"p/demo.wpj", "p/a.c", "p/src/b.c", "p/z.c"});
    temp_.Write("out/src", "a file, not a folder");
    AddTarget("demo.wpj", "demo.wpj", {"a.c", "src\\b.c", "z.c"});
    EXPECT_EQ(Run(Out()).failed, 1);
    EXPECT_EQ(Rows(), Out("demo.wpj | $ | copied\ndemo.wpj | $ | copied\na.c | $ | copied\n"
                          "src\\b.c | $/src | failed\nz.c | $ | copied\n"));
    EXPECT_EQ(ReadWhole(Out("$/src")), "a file, not a folder");
    EXPECT_EQ(ReadWhole(Out("$/z.c")), "p/z.c");
}

// A folder stands where a.c goes: the copy fails after writing, leaves no
// partial file behind and the run goes on.
TEST_F(CopyRunTest, CopyFailingHalfWayLeavesNothingBehind) {
    AddProject({"p/demo.wpj", "p/a.c", "p/z.c"});
    temp_.Write("out/a.c/keep", "kept");
    AddTarget("demo.wpj", "demo.wpj", {"a.c", "z.c"});
    EXPECT_EQ(Run(Out()).failed, 1);
    EXPECT_EQ(Rows(), Out("demo.wpj | $ | copied\ndemo.wpj | $ | copied\na.c | $ | failed\n"
                          "z.c | $ | copied\n"));
    EXPECT_EQ(EntriesBelow("out"), "a.c/ a.c/keep demo.wpj z.c");
    EXPECT_EQ(ReadWhole(Out("$/a.c/keep")), "kept");
}

TEST_F(CopyRunTest, ExtensionNodeWithoutChildrenStillSizesColumns) {
    AddProject({"p/demo.wpj"});
    const WTreeItem target = AddTarget("a-long-target-name.tgt", "");
    tree_.Add("C", tree_.LastChild(target), GroupImage, GroupImage, WTreePosition::Sorted());
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

// A project in projects/owatcom/ naming ..\..\png.c is copied rooted two
// levels up, so nothing lands beside or above the destination; absolute
// names are not copied at all.
TEST_F(CopyRunTest, FilesAboveTheProjectFolderKeepTheirLayout) {
    AddProject({"lib/projects/owatcom/libpng.wpj", "lib/projects/owatcom/libpng.tgt", "lib/png.c",
                "lib/pngpriv.h", "lib/projects/owatcom/local.h"});
    const std::string outside = temp_.Write("outside.c", "x");
    AddTarget("libpng.tgt", "libpng.tgt",
              {"..\\..\\png.c", "..\\..\\pngpriv.h", "local.h", outside, "C:\\outside.c"});
    EXPECT_EQ(Run(Out()).failed, 2);
    EXPECT_EQ(Rows(),
              Out("libpng.wpj | $/projects/owatcom | copied\n"
                  "libpng.tgt | $/projects/owatcom | copied\n..\\..\\png.c | $ | copied\n" +
                  outside +
                  " | $ | failed\nC:\\outside.c | $ | failed\n"
                  "..\\..\\pngpriv.h | $ | copied\nlocal.h | $/projects/owatcom | copied\n"));
    const std::string layout =
        "png.c pngpriv.h projects/ projects/owatcom/ projects/owatcom/libpng.tgt "
        "projects/owatcom/libpng.wpj projects/owatcom/local.h";
    EXPECT_EQ(EntriesBelow("out"), layout);
    EXPECT_EQ(EntriesBelow("lib"), layout);
}

TEST_F(CopyRunTest, ProjectFolderAsDestinationLeavesSourcesUntouched) {
    AddProject({"p/demo.wpj", "p/src/main.c"});
    AddTarget("demo.wpj", "demo.wpj", {"src\\main.c"});
    EXPECT_EQ(Run(temp_.Join("p")).copied, 0);
    const std::string p = temp_.Join("p");
    EXPECT_EQ(Rows(), "demo.wpj | " + p + " | failed\ndemo.wpj | " + p +
                          " | failed\nsrc\\main.c | " + p + "/src | failed\n");
    EXPECT_EQ(ReadWhole(temp_.Join("p/demo.wpj")), "p/demo.wpj");
    EXPECT_EQ(ReadWhole(temp_.Join("p/src/main.c")), "p/src/main.c");
    EXPECT_EQ(EntriesBelow("p"), "demo.wpj src/ src/main.c");
}

TEST_F(CopyRunTest, NothingToCopyWithoutProjectOrFolder) {
    EXPECT_EQ(Run(Out()).ran, false);
    tree_.Add("Project: x [x.wpj]", kNoItem, ProjectImage, ProjectImage, WTreePosition::Last());
    EXPECT_EQ(Run(Out()).ran, false);
    EXPECT_EQ(results_.RowCount(), 0);
    EXPECT_EQ(EntriesBelow(""), "");
}

TEST(BracketedNameTest, TakesTheTextBetweenTheLastBrackets) {
    EXPECT_EQ(BracketedName("Target: a [x]  desc [a.tgt]"), "a.tgt");
    EXPECT_EQ(BracketedName("Target: a"), "Target: a");
    EXPECT_EQ(BracketedName("odd ] then [ open"), "odd ] then [ open");
    EXPECT_EQ(BracketedName("[]"), "");
}

}  // namespace
