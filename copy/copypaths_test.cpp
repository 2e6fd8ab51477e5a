#include "copy/copypaths.h"

#include <gtest/gtest.h>

#include <string>

#include "classlib/core/hostfs.h"
#include "copy/copycolumns.h"
#include "copy/copyrun.h"
#include "depscan/dependencyscan.h"
#include "depscan/depfile.h"
#include "tests/support/tempdir.h"

namespace {

// Folding itself is the path rules' (LexicallyFolded); here the joining and
// the current folder for a relative project folder.
TEST(CopyPathsTest, FoldedPathJoinsFolderAndName) {
    EXPECT_EQ(FoldedPath("/p/proj/", "..\\..\\..\\png.c"), "/png.c");
    EXPECT_EQ(FoldedPath("/a/b/c", "..\\x\\.\\y.h"), "/a/b/x/y.h");
    EXPECT_EQ(FoldedPath("", ""), FoldedPath(HostFs::CurrentFolder(), ""));
    EXPECT_EQ(FoldedPath("sub\\", "..\\x.wpj"), FoldedPath(HostFs::CurrentFolder(), "x.wpj"));
}

// Whole components, compared exactly: "/a/bx" does not lie below "/a/b".
TEST(CopyPathsTest, CommonFolderAndRelativeBelowCompareWholeComponents) {
    EXPECT_EQ(CommonFolder("/a/b/c", "/a/bx"), "/a");
    EXPECT_EQ(CommonFolder("/a/b", "/a/B/"), "/a");
    EXPECT_EQ(CommonFolder("/a", "/b"), "/");
    EXPECT_EQ(RelativeBelow("/a", "/a/b/c").value_or("<none>"), "b/c");
    EXPECT_EQ(RelativeBelow("/", "/a/b").value_or("<none>"), "a/b");
    EXPECT_EQ(RelativeBelow("/a", "/ab/c").value_or("<none>"), "<none>");
    EXPECT_EQ(RelativeBelow("/a/b", "/a").value_or("<none>"), "<none>");
    EXPECT_EQ(RelativeBelow("/a", "/a").value_or("<none>"), "<none>");
}

// A load as the example's expected files were written: WATCOM unset.
std::string LoadAndExport(WTreeStore& tree, const std::string& project, const TempDir& temp) {
    NativeHostFs fs;
    ScanOptions options;
    options.parseLiterals = ParseLiterals::On;
    const DependencyScan scan = [&](WTreeStore& scanned, const WString& folder, ParseLiterals) {
        return BuildDependencies(scanned, folder, fs, options);
    };
    EXPECT_EQ(LoadProject(tree, WFilePath(std::string_view(project)), fs, ParseLiterals::On, scan),
              true);
    EXPECT_EQ(ExportDependencies(tree, temp.Join("dep.Txt"), fs), ExportResult::Written);
    return ReadWhole(temp.Join("dep.Txt"));
}

// The example's target file lies in bin\ and its names reach back up with
// ..\ (and above the project folder with ..\..\): each file lands at its
// place below the destination, and the copy loads again with the same tree.
TEST(CopyPathsTest, SubFolderTargetExampleLoadsTheSameFromItsCopy) {
    const std::string shapes = ExamplesFolder() + "/shapes/";
    const std::string expected = ReadWhole(shapes + "console/expected/console_dep.Txt");
    TempDir temp;
    WTreeStore tree;
    EXPECT_EQ(LoadAndExport(tree, shapes + "console/console.wpj", temp), expected);

    WListStore results;
    for (const std::string_view header : kCopyColumnHeaders) {
        results.AddColumn(header);
    }
    NativeHostFs fs;
    const std::string out = temp.Join("out");
    RunProjectCopy(tree, out, results, fs);
    std::string rows;  // name, destination folder below out, result
    for (int row = 0; row < results.RowCount(); ++row) {
        std::string folder(results.Cell(row, 1));
        folder.erase(0, folder.rfind(out, 0) == 0 ? out.size() : 0);
        rows += std::string(results.Cell(row, 0)) + " > " + folder + " " +
                std::string(results.Cell(row, 2)) + "\n";
    }
    EXPECT_EQ(rows, R"(console.wpj > /console copied
bin\console.tgt > /console/bin copied
..\..\src\shapes.c > /src copied
..\src\report.c > /console/src copied
..\..\include\shapes.h > /include copied
..\..\include\version.h > /include copied
..\..\res\canvas.ico > /res copied
console.rc > /console/bin copied
..\..\data\palette.txt > /data copied
)");
    EXPECT_EQ(ReadWhole(out + "/console/src/report.c"), ReadWhole(shapes + "console/src/report.c"));

    WTreeStore copied;
    EXPECT_EQ(LoadAndExport(copied, out + "/console/console.wpj", temp), expected);
}

}  // namespace
