#include "depscan/dependencyscan.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/tempdir.h"

namespace {

// A project tree as the loader leaves it: one target whose include directory
// list is `list`, with the given sources, and a scan over files in a
// temporary project folder.
class Scan : public ::testing::Test {
protected:
    void SetUp() override { folder_ = project_.path() + "/"; }

    void MakeTarget(const std::vector<std::string>& sources, const std::string& list = "") {
        const WTreeItem root =
            tree_.Add("Project: p [p.wpj]", kNoItem, 0, 0, WTreePosition::Last());
        const WTreeItem target = tree_.Add("Target: t", root, 1, 1, WTreePosition::Last());
        tree_.Add("Target Name: t.exe", target, 2, 2, WTreePosition::Last());
        tree_.Add("Default Include directories: " + list, target, 2, 2, WTreePosition::Last());
        sources_ = tree_.Add("Dependency Filelist", target, 1, 1, WTreePosition::Last());
        for (const std::string& source : sources) {
            tree_.Add(source, sources_, 2, 2, WTreePosition::Last());
        }
        filelist_ = tree_.Add("Filelist", target, 1, 1, WTreePosition::Last());
    }

    ScanOutcome Run(ParseLiterals literals = ParseLiterals::Off, std::size_t limit = 1000) {
        ScanOptions options;
        options.parseLiterals = literals;
        options.compilerFolder = WString(compiler_);
        options.nodeLimit = limit;
        return BuildDependencies(tree_, WString(folder_), fs_, options);
    }

    // The subtree below node, one line per node, one blank per level.
    std::string Dump(WTreeItem node, int depth = 0) const {
        std::string text;
        for (WTreeItem child = tree_.FirstChild(node); child != kNoItem;
             child = tree_.NextSibling(child)) {
            text += std::string(depth, ' ') + std::string(tree_.Label(child)) + "\n";
            text += Dump(child, depth + 1);
        }
        return text;
    }

    TempDir project_;
    std::string folder_;
    std::string compiler_;
    HostFs fs_;
    WTreeStore tree_;
    WTreeItem sources_ = kNoItem;
    WTreeItem filelist_ = kNoItem;
};

TEST_F(Scan, BuildsTheTreeDepthFirstInFileOrder) {
    project_.Write("a.c", "#include \"a.h\"\n#include \"b.h\"\n");
    project_.Write("a.h", "#include \"c.h\"\n");
    project_.Write("b.h", "");
    project_.Write("c.h", "");
    MakeTarget({"a.c"});
    EXPECT_EQ(Run().complete, true);
    EXPECT_EQ(Dump(sources_), "a.c\n a.h\n  c.h\n b.h\n");
    EXPECT_EQ(Dump(filelist_), "C\n a.c\nH\n a.h\n b.h\n c.h\n");
}

TEST_F(Scan, SharedHeaderStandsAtEveryPlaceWithItsChildren) {
    project_.Write("one.c", "#include \"common.h\"\n");
    project_.Write("two.c", "#include \"COMMON.H\"\n");
    project_.Write("common.h", "#include \"base.h\"\n");
    project_.Write("base.h", "");
    MakeTarget({"one.c", "two.c"});
    Run();
    EXPECT_EQ(Dump(sources_), "one.c\n common.h\n  base.h\ntwo.c\n COMMON.H\n  base.h\n");
    EXPECT_EQ(Dump(filelist_), "C\n one.c\n two.c\nH\n base.h\n common.h\n");
}

TEST_F(Scan, UnreadableSourcesAndLibraries) {
    project_.Write("app.lib", "binary #include \"x.h\"");
    project_.Write("x.h", "");
    project_.MakeFolder("folder.c");
    ASSERT_EQ(mkfifo(project_.Join("pipe.c").c_str(), 0600), 0);
    ASSERT_EQ(mkfifo(project_.Join("pipe.lib").c_str(), 0600), 0);
    MakeTarget({"gone.c", "app.lib", "folder.c", "noext", "pipe.c", "pipe.lib"});
    project_.Write("noext", "#include \"x.h\"\n#include \"pipe.c\"\n");
    Run();
    EXPECT_EQ(Dump(sources_),
              "gone.c\napp.lib\nfolder.c\nnoext\n x.h\n pipe.c\npipe.c\npipe.lib\n");
    EXPECT_EQ(Dump(filelist_), "H\n x.h\nLIB\n app.lib\n");
}

TEST_F(Scan, CompilerFolderFilesAreLeftOut) {
    TempDir compiler;
    compiler.Write("h/stdio.h", "#include \"never.h\"\n");
    compiler_ = compiler.path();
    project_.Write("a.c", "#include <stdio.h>\n#include <missing.h>\n#include \"a.h\"\n");
    project_.Write("a.h", "");
    MakeTarget({"a.c"}, "$(%watcom)\\h");
    Run();
    EXPECT_EQ(Dump(sources_), "a.c\n a.h\n");
}

TEST_F(Scan, ResourceScriptGivesIncludesAndLinesInFileOrder) {
    project_.Write("app.rc",
                   "#include \"res.h\"\r\nAPP ICON app.ico\r\nBMP BITMAP \"art/b.bmp\"\r\n"
                   "#include \"ver.h\"\r\n");
    project_.Write("res.h", "");
    project_.Write("ver.h", "");
    project_.Write("app.ico", "");
    project_.Write("art/b.bmp", "");
    MakeTarget({"app.rc"});
    Run();
    EXPECT_EQ(Dump(sources_), "app.rc\n res.h\n app.ico\n art\\b.bmp\n ver.h\n");
    EXPECT_EQ(Dump(filelist_), "BMP\n art\\b.bmp\nH\n res.h\n ver.h\nICO\n app.ico\nRC\n app.rc\n");
}

TEST_F(Scan, LiteralsFollowTheIncludesAndAreNotScanned) {
    project_.Write("a.c", "char* f = \"data/x.txt\";\n#include \"a.h\"\nchar* g = \"gone\";\n");
    project_.Write("a.h", "");
    project_.Write("data/x.txt", "#include \"a.h\"\n");
    MakeTarget({"a.c"});
    Run(ParseLiterals::On);
    EXPECT_EQ(Dump(sources_), "a.c\n a.h\n data/x.txt\n");
    EXPECT_EQ(Dump(filelist_), "C\n a.c\nH\n a.h\nTXT\n data/x.txt\n");
}

TEST_F(Scan, QuotedIncludesAreFoundNextToTheIncludingFiles) {
    project_.Write("lib/x.c", "#include \"x.h\"\n");
    project_.Write("lib/x.h", "#include \"deep/y.h\"\n");
    project_.Write("lib/deep/y.h", "#include \"z.h\"\n#include \"x.h\"\n");
    project_.Write("lib/z.h", "");
    project_.Write("proj/p.wpj", "");
    folder_ = project_.path() + "/proj/";
    MakeTarget({"..\\lib\\x.c"});
    Run();
    // z.h is next to neither y.h nor in the list: found next to x.h, which
    // includes y.h; x.h in y.h is on the chain already.
    EXPECT_EQ(Dump(sources_),
              "..\\lib\\x.c\n ..\\lib\\x.h\n  ..\\lib\\deep\\y.h\n   ..\\lib\\z.h\n"
              "   ..\\lib\\x.h\n");
}

TEST_F(Scan, ListedSearchKeepsItsResult) {
    project_.Write("sub/a.c", "#include \"a.h\"\n");
    project_.Write("sub/a.h", "");
    project_.Write("a.h", "");
    MakeTarget({"sub\\a.c"});
    Run();
    EXPECT_EQ(Dump(sources_), "sub\\a.c\n a.h\n");
}

TEST_F(Scan, CycleGetsItsNodeButIsNotScannedAgain) {
    project_.Write("a.c", "#include \"a.h\"\n");
    project_.Write("a.h", "#include \"b.h\"\n");
    project_.Write("b.h", "#include \"A.H\"\n#include \"b.h\"\n#include \"c.h\"\n");
    project_.Write("c.h", "#include \"a.h\"\n");
    MakeTarget({"a.c"});
    EXPECT_EQ(Run().complete, true);
    EXPECT_EQ(Dump(sources_), "a.c\n a.h\n  b.h\n   A.H\n   b.h\n   c.h\n    a.h\n");
}

TEST_F(Scan, WorkLimitStopsWithWhatWasFound) {
    // Ten headers that all include each other behind guards expand into
    // about 10! nodes.
    std::string all;
    for (int i = 0; i < 10; ++i) {
        all += "#include \"h" + std::to_string(i) + ".h\"\n";
    }
    for (int i = 0; i < 10; ++i) {
        project_.Write("h" + std::to_string(i) + ".h", all);
    }
    project_.Write("a.c", all);
    project_.Write("b.c", "#include \"h0.h\"\n");
    MakeTarget({"a.c", "b.c"});
    const ScanOutcome outcome = Run(ParseLiterals::Off, 500);
    EXPECT_EQ(outcome.complete, false);
    EXPECT_GE(outcome.nodesAdded, 500u);
    EXPECT_LE(outcome.nodesAdded, 501u);
    const std::string start = "a.c\n h0.h\n  h0.h\n  h1.h\n   h0.h\n   h1.h\n   h2.h\n";
    EXPECT_EQ(Dump(sources_).substr(0, start.size()), start);
    EXPECT_EQ(tree_.HasChildren(tree_.NextSibling(tree_.FirstChild(sources_))), false);
}

TEST_F(Scan, DeepIncludeChainDoesNotExhaustTheStack) {
    const int depth = 10000;
    for (int i = 0; i < depth; ++i) {
        project_.Write("d" + std::to_string(i) + ".h",
                       "#include \"d" + std::to_string(i + 1) + ".h\"\n");
    }
    project_.Write("a.c", "#include \"d0.h\"\n");
    MakeTarget({"a.c"});
    EXPECT_EQ(Run(ParseLiterals::Off, 100000).complete, true);
    int levels = 0;
    for (WTreeItem node = tree_.FirstChild(sources_); tree_.HasChildren(node);
         node = tree_.FirstChild(node)) {
        ++levels;
    }
    EXPECT_EQ(levels, depth);
}

TEST_F(Scan, HostPathRulesWithWatcomSet) {
    TempDir compiler;
    compiler.Write("h/stdio.h", "");
    project_.Write("inc/defs.h", "");
    project_.Write("a.c", "#include \"Inc\\Defs.H\"\n#include <stdio.h>\n");
    MakeTarget({".\\A.C"}, "$(%watcom)\\h");
    setenv("WATCOM", compiler.path().c_str(), 1);
    const ScanOptions options = ScanOptions::ForLoad(ParseLiterals::Off);
    unsetenv("WATCOM");
    BuildDependencies(tree_, WString(folder_), fs_, options);
    EXPECT_EQ(Dump(sources_), ".\\A.C\n Inc\\Defs.H\n");
    EXPECT_EQ(Dump(filelist_), "C\n A.C\nH\n Inc\\Defs.H\n");
}

TEST_F(Scan, NothingIsLeftOutWithoutWatcom) {
    TempDir compiler;
    compiler.Write("h/stdio.h", "");
    project_.Write("a.c", "#include <stdio.h>\n");
    MakeTarget({"a.c"}, compiler.path() + "\\h");
    Run();
    std::string found = compiler.path() + "\\h\\stdio.h";
    for (char& c : found) {
        c = c == '/' ? '\\' : c;
    }
    EXPECT_EQ(Dump(sources_), "a.c\n " + found + "\n");
}

}  // namespace
