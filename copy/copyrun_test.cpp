#include "copy/copyrun.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "classlib/core/wstring.h"
#include "copy/copycolumns.h"
#include "depscan/filelist.h"
#include "project/projecttree.h"
#include "tests/support/fakehostfs.h"
#include "tests/support/tempdir.h"
#include "tests/support/treesnapshot.h"

namespace {

// Builds the tree a load would build, as far as the copy run reads it: the
// project node with its folder, target nodes with their references, and
// each target's "Filelist" grouped by extension. In expected texts '$'
// stands for the destination folder temp/out.
class CopyRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const std::string_view header : kCopyColumnHeaders) {
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
        const WTreeItem target =
            tree_.Add("Target: t  Windows NT windowed executable [" + std::string(bracketed) + "]",
                      project_, GroupImage, GroupImage, WTreePosition::Last(),
                      reference.empty() ? nullptr : std::make_unique<WString>(reference));
        FileList filelist(tree_, tree_.Add(FilelistText().View(), target, GroupImage, GroupImage,
                                           WTreePosition::Last()));
        for (const std::string& name : names) {
            filelist.AddToFilelist(name);
        }
        return target;
    }

    // Adds the target's "Dependency Filelist": each entry a source file node followed by the
    // dependency nodes below it, each nested in the one before.
    void AddDependencies(WTreeItem target, const std::vector<std::vector<std::string>>& sources) {
        const WTreeItem list = tree_.Add(DependencyFilelistText().View(), target, GroupImage,
                                         GroupImage, WTreePosition::First());
        for (const std::vector<std::string>& chain : sources) {
            WTreeItem parent = list;
            for (const std::string& name : chain) {
                parent = tree_.Add(name, parent, FileImage, FileImage, WTreePosition::Last());
            }
        }
    }

    CopyRunSummary Run(std::string_view destination, HostFs* fs = nullptr) {
        NativeHostFs native;
        return RunProjectCopy(tree_, destination, results_, fs != nullptr ? *fs : native);
    }

    // Each row as "name | folder | result", one a line, from the given column on.
    std::string Rows(int from = 0) const {
        std::string rows;
        for (int row = 0; row < results_.RowCount(); ++row) {
            for (int column = from; column < 3; ++column) {
                rows += std::string(results_.Cell(row, column)) + (column < 2 ? " | " : "\n");
            }
        }
        return rows;
    }

    // text with every '$' replaced by the destination folder and every '%' by
    // the temporary folder.
    std::string Out(std::string_view text = "$") const {
        return Substituted(text, {{'$', temp_.Join("out")}, {'%', temp_.path()}});
    }

    TempDir temp_;
    WTreeStore tree_;
    WListStore results_;
    WTreeItem project_ = kNoItem;
};

// A target file is copied by the reference the project file gives; names
// take the case of the files and folders on disk, as Windows allows any (the
// destination keeps the case it was given: the host layer's rule and test).
TEST_F(CopyRunTest, RebuildsTheRelativeLayoutAndCreatesFolders) {
    AddProject({"p/demo.wpj", "p/demo.tgt", "p/bin/sub.tgt", "p/plain.tgt", "p/Src/Main.c",
                "p/Src/util.h", "p/inc/deep/a.h"});
    AddTarget("demo.tgt", "demo.tgt", {"SRC\\MAIN.C", "src\\UTIL.H", "inc\\deep\\a.h"});
    AddTarget("sub.tgt", "bin\\sub.tgt");
    // An extension node without children, walked last, must not keep the columns from fitting.
    tree_.Add("C", tree_.LastChild(AddTarget("plain.tgt", "")), GroupImage, GroupImage,
              WTreePosition::Sorted());
    const CopyRunSummary summary = Run(Out());
    EXPECT_EQ(summary.copied, 7);
    EXPECT_EQ(summary.failed, 0);
    EXPECT_EQ(Rows(),
              Out("demo.wpj | $ | copied\ndemo.tgt | $ | copied\nSRC\\MAIN.C | $/Src | copied\n"
                  "inc\\deep\\a.h | $/inc/deep | copied\nsrc\\UTIL.H | $/Src | copied\n"
                  "bin\\sub.tgt | $/bin | copied\nplain.tgt | $ | copied\n"));
    EXPECT_EQ(treesnapshot::Paths(Out()),
              "Src Src/Main.c Src/util.h bin bin/sub.tgt demo.tgt demo.wpj inc inc/deep "
              "inc/deep/a.h plain.tgt");
    EXPECT_EQ(ReadWhole(Out("$/Src/Main.c")), "p/Src/Main.c");
    for (int column = 0; column < 3; ++column) {
        const int sized = results_.ColumnAt(column).width;
        results_.SetColumnWidth(column, WListStore::kFitCells);
        EXPECT_EQ(sized, results_.ColumnAt(column).width) << column;
    }
}

TEST_F(CopyRunTest, NothingIsWrittenWithoutProjectFolderOrDestination) {
    EXPECT_EQ(Run(Out()).ran, false);
    tree_.Add("Project: x [x.wpj]", kNoItem, ProjectImage, ProjectImage, WTreePosition::Last());
    EXPECT_EQ(Run(Out()).ran, false);
    EXPECT_EQ(results_.RowCount(), 0);
    EXPECT_EQ(treesnapshot::Paths(temp_.path()), "");

    tree_.DeleteAll();
    AddProject({"p/demo.wpj", "p/src/main.c"});
    AddTarget("demo.tgt", "demo.tgt", {"src\\main.c"});
    const CopyRunSummary summary = Run("");
    EXPECT_EQ(summary.copied, 0);
    EXPECT_EQ(Rows(), "demo.wpj |  | failed\ndemo.tgt |  | failed\nsrc\\main.c | /src | failed\n");
    EXPECT_EQ(summary.reasons.front(), "cannot copy demo.wpj: no destination folder was given");
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
    EXPECT_EQ(treesnapshot::Paths(Out()), "demo.wpj");
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
        "png.c pngpriv.h projects projects/owatcom projects/owatcom/libpng.tgt "
        "projects/owatcom/libpng.wpj projects/owatcom/local.h";
    EXPECT_EQ(treesnapshot::Paths(Out()), layout);
    EXPECT_EQ(treesnapshot::Paths(temp_.Join("lib")), layout);
}

// The project lists shapes.c beside it and src\shapes.c: a copy into src
// would put the first onto the second, which it has yet to read.
TEST_F(CopyRunTest, NeverWritesOntoAFileThatTheCopyReads) {
    AddProject({"p/shapes.wpj", "p/shapes.c", "p/src/shapes.c"});
    AddTarget("shapes.wpj", "shapes.wpj", {"shapes.c", "src\\shapes.c"});
    const CopyRunSummary summary = Run(temp_.Join("p/src"));
    EXPECT_EQ(Rows(2), "copied\ncopied\nfailed\ncopied\n");
    EXPECT_EQ(summary.reasons, std::vector<std::string>{Out(
                                   "cannot copy shapes.c: %/p/src/shapes.c: is a file this project "
                                   "reads; left untouched")});
    EXPECT_EQ(ReadWhole(temp_.Join("p/src/shapes.c")), "p/src/shapes.c");
    EXPECT_EQ(ReadWhole(temp_.Join("p/src/src/shapes.c")), "p/src/shapes.c");
    EXPECT_EQ(CopyRunSummaryText(summary), "3 copied, 1 failed; first: " + summary.reasons.front());
}

// Files the tree shows that its file list leaves out are copied too, each with a row after the
// target's listed files: a source or header without an extension, and a file whose name differs
// only in case from a listed one (where the host tells them apart).
TEST_F(CopyRunTest, CopiesTheFilesTheTreeShowsThatTheFileListLeavesOut) {
    AddProject({"p/x.wpj", "p/makefile", "p/a.c", "p/config", "p/A.c", "p/h/b.h"});
    const WTreeItem target = AddTarget("x.wpj", "x.wpj", {"a.c", "h\\b.h"});
    AddDependencies(target, {{"makefile"}, {"a.c", "config", "h\\b.h"}, {"A.c", "gone"}});
    Run(Out());
    std::string expected =
        "x.wpj | $ | copied\nx.wpj | $ | copied\na.c | $ | copied\n"
        "h\\b.h | $/h | copied\nmakefile | $ | copied\nconfig | $ | copied\n";
#ifndef _WIN32
    expected += "A.c | $ | copied\n";
    EXPECT_EQ(ReadWhole(Out("$/A.c")), "p/A.c");
#endif
    EXPECT_EQ(Rows(), Out(expected));
    EXPECT_EQ(ReadWhole(Out("$/config")), "p/config");
}

#ifndef _WIN32
// A copy into the project reads only what was there before it began: z\A.C is the file z/a.c
// of the project, not the z/A.C that the copy of the root's A.C has just written.
TEST_F(CopyRunTest, NeverReadsAFileThatTheCopyWrote) {
    AddProject({"p/x.wpj", "p/A.C", "p/z/a.c"});
    AddTarget("x.wpj", "x.wpj", {"A.C", "z\\A.C"});
    Run(temp_.Join("p/z"));
    EXPECT_EQ(Rows(2), "copied\ncopied\ncopied\ncopied\n");
    EXPECT_EQ(ReadWhole(temp_.Join("p/z/A.C")), "p/A.C");
    EXPECT_EQ(ReadWhole(temp_.Join("p/z/z/a.c")), "p/z/a.c");
    EXPECT_EQ(ReadWhole(temp_.Join("p/z/a.c")), "p/z/a.c");
}
#endif

struct FaultCase {
    const char* name;
    void (*fault)(FakeHostFs&);
    const char* results;      // of demo.wpj, demo.wpj, a.c, z.c, one a line
    const char* firstReason;  // '%' the temporary folder, '$' the destination
};

class CopyFaultTest : public CopyRunTest, public ::testing::WithParamInterface<FaultCase> {};

// Faults from the file system: each fails its rows with the reason, the run
// goes on, an old file at the destination stays whole, no temporary file stays.
TEST_P(CopyFaultTest, FailsItsRowsWithTheReason) {
    AddProject({"p/demo.wpj", "p/a.c", "p/z.c"});
    AddTarget("demo.wpj", "demo.wpj", {"a.c", "z.c"});
    temp_.Write("out/a.c", "old");
    FakeHostFs fs;
    GetParam().fault(fs);
    const CopyRunSummary summary = Run(Out(), &fs);
    EXPECT_EQ(Rows(2), GetParam().results);
    ASSERT_FALSE(summary.reasons.empty());
    EXPECT_EQ(summary.reasons.front(), Out(GetParam().firstReason));
    if (results_.Cell(2, 2) == "failed") {
        EXPECT_EQ(ReadWhole(Out("$/a.c")), "old");
    }
    EXPECT_EQ(treesnapshot::Paths(Out()).find(".tamsk-"), std::string::npos)
        << treesnapshot::Paths(Out());
}

INSTANTIATE_TEST_SUITE_P(
    Faults, CopyFaultTest,
    ::testing::Values(FaultCase{"FullDisk", [](FakeHostFs& fs) { fs.SetDiskSpace(25); },
                                "copied\ncopied\ncopied\nfailed\n",
                                "cannot copy z.c: cannot write $/z.c: No space left on device"},
                      FaultCase{"DeniedOpen", [](FakeHostFs& fs) { fs.DenyOpen("p/a.c"); },
                                "copied\ncopied\nfailed\ncopied\n",
                                "cannot copy a.c: cannot open %/p/a.c: Permission denied"},
                      FaultCase{"ReadOnlyDestination", [](FakeHostFs& fs) { fs.DenyOpen("out"); },
                                "failed\nfailed\nfailed\nfailed\n",
                                "cannot copy demo.wpj: cannot create folder $: Permission denied"},
                      FaultCase{"FailedRename", [](FakeHostFs& fs) { fs.FailRename("out/a.c"); },
                                "copied\ncopied\nfailed\ncopied\n",
                                "cannot copy a.c: cannot replace $/a.c: Operation not permitted"},
                      FaultCase{"GoneAfterListing", [](FakeHostFs& fs) { fs.Vanish("p/a.c"); },
                                "copied\ncopied\nfailed\ncopied\n",
                                "cannot copy a.c: cannot open %/p/a.c: No such file or directory"},
                      FaultCase{"ListingChanged",
                                [](FakeHostFs& fs) { fs.ListAs("p/z.c", HostEntry::Missing); },
                                "copied\ncopied\ncopied\nfailed\n",
                                "cannot copy z.c: %/p/z.c: not found"}),
    [](const auto& test) { return std::string(test.param.name); });

}  // namespace
