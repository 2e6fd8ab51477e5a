#include "depscan/dependencyscan.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "classlib/core/asciicase.h"
#include "classlib/core/wtreesearch.h"
#include "classlib/core/wtreewalk.h"
#include "depscan/projectload.h"
#include "project/projectfiles.h"
#include "tests/support/fakehostfs.h"
#include "tests/support/memoryhostfs.h"
#include "tests/support/projectwriter.h"
#include "tests/support/tempdir.h"

namespace {

// A project as the loader leaves it: one target file named by reference, whose
// include directory list is `list`, with the given sources, in a temporary
// project folder, and a compiler folder holding h/stdio.h.
struct ScanProject {
    ScanProject() { compiler.Write("h/stdio.h", "#include \"never.h\"\n"); }

    void MakeTarget(const std::vector<std::string>& names, const std::string& list = "",
                    const std::string& reference = "t.tgt") {
        const WTreeItem root = tree.Add("Project: p [p.wpj]", kNoItem, 0, 0, Last());
        const WTreeItem target =
            tree.Add("Target: t", root, 1, 1, Last(), std::make_unique<WString>(reference));
        tree.Add("Target Name: t.exe", target, 2, 2, Last());
        tree.Add("Default Include directories: " + list, target, 2, 2, Last());
        sources = tree.Add("Dependency Filelist", target, 1, 1, Last());
        for (const std::string& name : names) {
            tree.Add(name, sources, 2, 2, Last());
        }
        filelist = tree.Add("Filelist", target, 1, 1, Last());
    }

    ScanOutcome Run(ParseLiterals literals = ParseLiterals::Off, std::size_t limit = 1000,
                    bool readAhead = true) {
        ScanOptions options;
        options.parseLiterals = literals;
        options.readAhead = readAhead;
        options.compilerFolder = WString(compiler.path());
        options.nodeLimit = limit;
        return BuildDependencies(tree, WString(project.path() + "/"), fs, options);
    }

    // The subtree below node, one line per node, one blank per level, as a
    // walk sees it.
    std::string Dump(WTreeItem node) const {
        WString text;
        DumpTree(tree, tree.FirstChild(node), text, 0);
        return text.Str();
    }

    // The same lines from the walk that sees the nodes not made yet through the child source,
    // as Find and the expansion's count walk them.
    std::string Walked(WTreeItem node) const {
        std::string text;
        WalkTree(tree, tree.FirstChild(node), 0, [&text](int level, std::string_view label) {
            text.append(static_cast<std::size_t>(level), ' ').append(label) += '\n';
        });
        return text;
    }

    // The same lines from the nodes the store holds after every node below
    // node has been asked for its children.
    std::string DumpMade(WTreeItem node) {
        std::string text;
        std::vector<std::pair<WTreeItem, int>> pending;
        tree.MakeChildren(node);
        for (WTreeItem child = tree.LastChild(node); child != kNoItem;
             child = tree.PreviousSibling(child)) {
            pending.emplace_back(child, 0);
        }
        while (!pending.empty()) {
            const auto [item, level] = pending.back();
            pending.pop_back();
            text += std::string(static_cast<std::size_t>(level), ' ');
            text += tree.Label(item);
            text += '\n';
            tree.MakeChildren(item);
            for (WTreeItem child = tree.LastChild(item); child != kNoItem;
                 child = tree.PreviousSibling(child)) {
                pending.emplace_back(child, level + 1);
            }
        }
        return text;
    }

    // text with '@' standing for the compiler folder, spelled with backslashes.
    std::string WithCompiler(std::string text) const {
        std::string folder = compiler.path();
        std::replace(folder.begin(), folder.end(), '/', '\\');
        return Substituted(text, {{'@', folder}});
    }

    static WTreePosition Last() { return WTreePosition::Last(); }

    TempDir project;
    TempDir compiler;
    NativeHostFs fs;
    WTreeStore tree;
    WTreeItem sources = kNoItem;
    WTreeItem filelist = kNoItem;
};

struct ScanCase {
    const char* title;
    // "name=contents|name=contents"; the contents "<fifo>" and "<folder>" make those.
    std::string files;
    std::string tree;  // its unindented lines are the sources of the target
    std::string filelist;
    std::string list = "";  // '@' stands for the compiler folder
    ParseLiterals literals = ParseLiterals::Off;
    std::string reference = "t.tgt";  // the target file, relative to the project folder
};

void MakeFiles(const TempDir& dir, const std::string& files) {
    for (std::size_t at = 0, end; at < files.size(); at = end + 1) {
        end = std::min(files.find('|', at), files.size());
        const std::size_t equals = files.find('=', at);
        const std::string name = files.substr(at, equals - at);
        const std::string contents = files.substr(equals + 1, end - equals - 1);
        if (contents == "<fifo>") {
#ifdef _WIN32  // no FIFOs there: a folder is the entry that is not a regular file
            dir.MakeFolder(name);
#else
            ASSERT_EQ(mkfifo(dir.Join(name).c_str(), 0600), 0);
#endif
        } else {
            contents == "<folder>" ? dir.MakeFolder(name) : dir.Write(name, contents);
        }
    }
}

std::vector<std::string> SourcesOf(const std::string& tree) {
    std::vector<std::string> sources;
    for (std::size_t at = 0; at < tree.size(); at = tree.find('\n', at) + 1) {
        if (tree[at] != ' ') {
            sources.push_back(tree.substr(at, tree.find('\n', at) - at));
        }
    }
    return sources;
}

// Find over the whole tree, nodes made or not, at every work limit: the hits
// are the lines of the tree's dump that hold the text, in order, among as many
// lines as the limit lets the walk pass, and each one stepped to is made.
void ExpectSearchesFollowTheDump(WTreeStore& tree) {
    std::stringstream dump;
    DumpTree(tree, tree.FirstRoot(), dump, 0);
    std::vector<std::string> lines;
    for (std::string line; std::getline(dump, line);) {
        lines.push_back(line.substr(line.find_first_not_of(' ')));
    }
    std::vector<std::string> texts = {".h", "c"};
    for (const std::string& line : lines) {
        texts.push_back(line.substr(line.find_last_of('\\') + 1));
    }
    for (const std::string& text : texts) {
        for (std::size_t limit = 1; limit <= lines.size() + 1; ++limit) {
            std::vector<std::string> hits;
            for (std::size_t at = 0; at < std::min(limit, lines.size()); ++at) {
                if (ContainsIgnoringAsciiCase(lines[at], text)) {
                    hits.push_back(lines[at]);
                }
            }
            WTreeSearch search(tree, text, limit);
            ASSERT_EQ(search.Count(), hits.size()) << text << " within " << limit;
            ASSERT_EQ(search.Complete(), limit >= lines.size()) << text << " within " << limit;
            if (limit == lines.size()) {
                const WTreeItem first = WTreeSearch(tree, text).FindFrom(tree.FirstRoot());
                ASSERT_EQ(first == kNoItem ? "" : tree.Label(first), hits.empty() ? "" : hits[0])
                    << text;
                std::vector<std::string> stepped;
                for (std::size_t step = 0; step < hits.size(); ++step) {
                    stepped.emplace_back(tree.Label(search.Step(WTreeSearch::Direction::Forward)));
                }
                ASSERT_EQ(stepped, hits) << text;
            }
        }
    }
}

TEST(Scan, BuildsTheTreeAndTheFileList) {
    const std::vector<ScanCase> cases = {
        {"depth first in file order",
         "a.c=#include \"a.h\"\n#include \"b.h\"\n|a.h=#include \"c.h\"\n|b.h=|c.h=",
         "a.c\n a.h\n  c.h\n b.h\n", "C\n a.c\nH\n a.h\n b.h\n c.h\n"},
        {"shared header stands at every place with its children",
         "one.c=#include \"common.h\"|two.c=#include \"COMMON.H\"|common.h=#include \"base.h\"|"
         "base.h=",
         "one.c\n common.h\n  base.h\ntwo.c\n COMMON.H\n  base.h\n",
         "C\n one.c\n two.c\nH\n base.h\n common.h\n"},
        // Find passes by a subtree met before without its text, counting its nodes.
        {"a header's subtree recurs alike under every source",
         "one.c=#include \"a.h\"|two.c=#include \"b.h\"\n#include \"a.h\"\n|"
         "a.h=#include \"b.h\"\n#include \"d.h\"\n|b.h=#include \"c.h\"|c.h=|d.h=",
         "one.c\n a.h\n  b.h\n   c.h\n  d.h\ntwo.c\n b.h\n  c.h\n a.h\n  b.h\n   c.h\n  d.h\n",
         "C\n one.c\n two.c\nH\n a.h\n b.h\n c.h\n d.h\n"},
        {"unreadable sources, FIFOs and libraries are not read",
         "app.lib=binary #include \"x.h\"|x.h=|folder.c=<folder>|pipe.c=<fifo>|pipe.lib=<fifo>|"
         "noext=#include \"x.h\"\n#include \"pipe.c\"\n",
         "gone.c\napp.lib\nfolder.c\nnoext\n x.h\n pipe.c\npipe.c\npipe.lib\n",
         "H\n x.h\nLIB\n app.lib\n"},
        {"compiler folder files are left out",
         "a.c=#include <stdio.h>\n#include <missing.h>\n#include \"a.h\"\n|a.h=", "a.c\n a.h\n",
         "C\n a.c\nH\n a.h\n", "$(%watcom)\\h"},
        {"literals follow the includes and are not scanned",
         "a.c=char* f = \"data/x.txt\";\n#include \"a.h\"\nchar* g = \"gone\";\n|a.h=|"
         "data/x.txt=#include \"a.h\"\n",
         "a.c\n a.h\n data/x.txt\n", "C\n a.c\nH\n a.h\nTXT\n data/x.txt\n", "", ParseLiterals::On},
        // z.h is next to neither y.h nor in the list: found next to x.h, which
        // includes y.h; x.h in y.h is on the chain already.
        {"quoted includes found next to the including files",
         "lib/x.c=#include \"x.h\"|lib/x.h=#include \"deep/y.h\"|"
         "lib/deep/y.h=#include \"z.h\"\n#include \"x.h\"\n|lib/z.h=",
         "..\\lib\\x.c\n ..\\lib\\x.h\n  ..\\lib\\deep\\y.h\n   ..\\lib\\z.h\n   ..\\lib\\x.h\n",
         "C\n ..\\lib\\x.c\nH\n ..\\lib\\deep\\y.h\n ..\\lib\\x.h\n ..\\lib\\z.h\n", "",
         ParseLiterals::Off, "proj\\t.tgt"},
        // cfg.h is beside the source only, two includes down the chain.
        {"quoted includes found next to the source at the chain's start",
         "src/a.c=#include \"inc/a.h\"|src/inc/a.h=#include \"cfg.h\"|src/cfg.h=",
         "src\\a.c\n src\\inc\\a.h\n  src\\cfg.h\n",
         "C\n src\\a.c\nH\n src\\cfg.h\n src\\inc\\a.h\n"},
        {"a name the listed search finds keeps its result",
         "sub/a.c=#include \"a.h\"|sub/a.h=|a.h=", "sub\\a.c\n a.h\n", "C\n sub\\a.c\nH\n a.h\n"},
        // cfg.h is found next to the source at the top of each chain.
        {"a name searched through the chain names another file on each chain",
         "one/s.c=#include \"h.h\"|two/s.c=#include \"h.h\"\n#include \"one/s.c\"|"
         "common/h.h=#include \"cfg.h\"|one/cfg.h=|two/cfg.h=",
         "one\\s.c\n common\\h.h\n  one\\cfg.h\ntwo\\s.c\n common\\h.h\n  two\\cfg.h\n"
         " one\\s.c\n  common\\h.h\n   one\\cfg.h\n",
         "C\n one\\s.c\n two\\s.c\nH\n common\\h.h\n one\\cfg.h\n two\\cfg.h\n", "common"},
        {"a cycle is cut wherever its file stands open",
         "a.c=#include \"x.h\"\n#include \"y.h\"\n|b.c=#include \"y.h\"|x.h=#include \"y.h\"|"
         "y.h=#include \"x.h\"",
         "a.c\n x.h\n  y.h\n   x.h\n y.h\n  x.h\n   y.h\nb.c\n y.h\n  x.h\n   y.h\n",
         "C\n a.c\n b.c\nH\n x.h\n y.h\n"},
        // Each "./" makes a new name of the same file: the names end where the file stands open.
        {"headers of a sub-folder including each other as ./ end",
         "s.c=#include \"inc/a.h\"|inc/a.h=#include \"./b.h\"|inc/b.h=#include \"./a.h\"",
         "s.c\n inc\\a.h\n  inc\\.\\b.h\n   inc\\.\\.\\a.h\n",
         "C\n s.c\nH\n inc\\.\\b.h\n inc\\a.h\n"},
        {"a cycle gets its node but is not scanned again",
         "a.c=#include \"a.h\"|a.h=#include \"b.h\"|"
         "b.h=#include \"A.H\"\n#include \"b.h\"\n#include \"c.h\"\n|c.h=#include \"a.h\"",
         "a.c\n a.h\n  b.h\n   A.H\n   b.h\n   c.h\n    a.h\n", "C\n a.c\nH\n a.h\n b.h\n c.h\n"},
        // Items, quoted and listed includes, resource lines and literals are
        // all read from the target file's folder; labels stay as written.
        {"a target in a sub-folder reads its names from its own folder",
         "src/a.c=#include \"a.h\"\nf(\"..\\\\data\\\\x.txt\", \"..\");|inc/a.h=|data/x.txt=|"
         "bin/app.rc=#include \"b.h\"\nAPP ICON ..\\res\\i.ico\n|bin/b.h=|res/i.ico=",
         "..\\src\\a.c\n ..\\inc\\a.h\n ..\\data\\x.txt\napp.rc\n b.h\n ..\\res\\i.ico\n",
         "C\n ..\\src\\a.c\nH\n ..\\inc\\a.h\n b.h\nICO\n ..\\res\\i.ico\nRC\n app.rc\nTXT\n "
         "..\\data\\x.txt\n",
         "..\\inc", ParseLiterals::On, "bin\\t.tgt"},
        // A resource line's file in the target folder, else beside the script.
        {"resource files of a script outside the target folder",
         "src/win/t.tgt=|src/draw.rc=IDM_ROTATE_LEFT BITMAP left.bmp\n"
         "IDI_MAINICON ICON DISCARDABLE \"..\\\\..\\\\res\\\\n.ico\"\n|src/left.bmp=|res/n.ico=",
         "..\\draw.rc\n ..\\left.bmp\n ..\\..\\res\\n.ico\n",
         "BMP\n ..\\left.bmp\nICO\n ..\\..\\res\\n.ico\nRC\n ..\\draw.rc\n", "", ParseLiterals::Off,
         "src\\win\\t.tgt"},
    };
    // Files read on a second thread or each when it is needed: the same tree.
    for (const bool readAhead : {true, false}) {
        for (const ScanCase& c : cases) {
            SCOPED_TRACE(std::string(c.title) + (readAhead ? "" : ", without read-ahead"));
            ScanProject s;
            s.project.MakeFolder("proj");
            MakeFiles(s.project, c.files);
            s.MakeTarget(SourcesOf(c.tree), s.WithCompiler(c.list), c.reference);
            EXPECT_EQ(s.Run(c.literals, 1000, readAhead).complete, true);
            EXPECT_EQ(s.Dump(s.sources), s.WithCompiler(c.tree));
            EXPECT_EQ(s.Dump(s.filelist), s.WithCompiler(c.filelist));
            EXPECT_EQ(s.Walked(s.sources), s.WithCompiler(c.tree));
            ExpectSearchesFollowTheDump(s.tree);
            EXPECT_EQ(s.DumpMade(s.sources), s.WithCompiler(c.tree));
        }
    }
}

// Ten headers that all include each other behind guards expand into about
// 10! nodes: the load takes them at once, a walk stops at the work limit.
TEST(Scan, WorkLimitStopsAWalkNotTheLoad) {
    ScanProject s;
    std::string all;
    for (int i = 0; i < 10; ++i) {
        all += "#include \"h" + std::to_string(i) + ".h\"\n";
    }
    for (int i = 0; i < 10; ++i) {
        s.project.Write("h" + std::to_string(i) + ".h", all);
    }
    s.project.Write("a.c", all);
    s.project.Write("b.c", "#include \"h0.h\"\n");
    s.MakeTarget({"a.c", "b.c"});
    EXPECT_EQ(s.Run(ParseLiterals::Off, 500).complete, true);
    EXPECT_EQ(s.Dump(s.filelist),
              "C\n a.c\n b.c\nH\n h0.h\n h1.h\n h2.h\n h3.h\n h4.h\n h5.h\n"
              " h6.h\n h7.h\n h8.h\n h9.h\n");
    std::ostringstream out;
    std::size_t lines = 0;
    EXPECT_EQ(DumpTree(s.tree, s.tree.FirstChild(s.sources), out, 0, "\n", 500, &lines), false);
    EXPECT_EQ(lines, 500u);
    const std::string start = "a.c\n h0.h\n  h0.h\n  h1.h\n   h0.h\n   h1.h\n   h2.h\n";
    EXPECT_EQ(out.str().substr(0, start.size()), start);
    const DependencyStats stats = CountDependencies(s.tree, 500);
    EXPECT_EQ(stats.complete, false);
    // Find within the same limit: every hit of the first 500 nodes, in order, whichever way
    // stepped.
    std::stringstream within;
    DumpTree(s.tree, s.tree.FirstRoot(), within, 0, "\n", 500);
    std::vector<std::string> hits;
    for (std::string line; std::getline(within, line);) {
        if (line.find(".h") != std::string::npos) {
            hits.push_back(line.substr(line.find_first_not_of(' ')));
        }
    }
    WTreeSearch search(s.tree, ".h", 500);
    ASSERT_EQ(search.Count(), hits.size());
    EXPECT_EQ(search.Complete(), false);
    std::vector<std::string> stepped;
    for (std::size_t step = 0; step < hits.size(); ++step) {
        stepped.emplace_back(s.tree.Label(search.Step(WTreeSearch::Direction::Forward)));
    }
    EXPECT_EQ(stepped, hits);
    std::vector<std::string> back;
    for (std::size_t step = 0; step < hits.size(); ++step) {
        back.emplace_back(s.tree.Label(search.Step(WTreeSearch::Direction::Backward)));
    }
    std::reverse(back.begin(), back.end());
    std::rotate(back.begin(), back.begin() + 1, back.end());
    EXPECT_EQ(back, hits);
}

// The scan keeps its own stack: a chain of 10,000 includes is walked whole, the first include
// standing after a comment line of 1 MB.
TEST(Scan, DeepIncludeChainDoesNotExhaustTheStack) {
    ScanProject s;
    for (int i = 0; i < 10000; ++i) {
        s.project.Write("d" + std::to_string(i) + ".h",
                        "#include \"d" + std::to_string(i + 1) + ".h\"");
    }
    s.project.Write("d0.h", "//" + std::string(1 << 20, 'x') + "\n#include \"d1.h\"");
    s.MakeTarget({"d0.h"});
    EXPECT_EQ(s.Run(ParseLiterals::Off, 100000).complete, true);
    int levels = 0;
    for (WTreeItem node = s.tree.FirstChild(s.sources); s.tree.MayHaveChildren(node);
         node = s.tree.FirstChild(node)) {
        s.tree.MakeChildren(node);
        ++levels;
    }
    EXPECT_EQ(levels, 9999);
    EXPECT_EQ(CountDependencies(s.tree, 100000).expandedNodes, 20007u);
    // The count stops at the limit to the node: the 9,999 headers below the source fit in a
    // limit of as many, not of one less.
    EXPECT_EQ(CountDependencies(s.tree, 9999).complete, true);
    EXPECT_EQ(CountDependencies(s.tree, 9998).complete, false);
}

// However often and by whatever spelling a file is named, a load reads it once.
TEST(Scan, ALoadReadsEveryFileOnce) {
    auto memory = std::make_unique<MemoryHostFs>();
    projectwriter::TargetLayout layout;
    layout.includeDirectories = "inc";
    layout.items = {"a.c", "b.c", "A.C"};
    memory->AddFile("/p/p.wpj", projectwriter::ProjectFileText({"t.tgt"}));
    memory->AddFile("/p/t.tgt", projectwriter::TargetFileText(layout));
    memory->AddFile("/p/a.c", "#include \"c.h\"\n#include \"C.H\"\n#include <d.h>\n");
    memory->AddFile("/p/b.c", "#include \"inc\\..\\c.h\"\n#include \"inc/d.h\"\n");
    memory->AddFile("/p/c.h", "#include \"d.h\"\n#include \"inc/D.h\"\n");
    memory->AddFile("/p/inc/d.h", "#include \"../c.h\"\n");
    FakeHostFs fs(std::move(memory));
    WTreeStore tree;
    ASSERT_EQ(LoadProjectWithDependencies(tree, WFilePath("/p/p.wpj"), fs, ParseLiterals::Off),
              true);
    std::map<std::string, int> reads;
    for (const std::string& path : fs.Reads()) {
        ++reads[path];
    }
    EXPECT_EQ(reads, (std::map<std::string, int>{{"/p/a.c", 1},
                                                 {"/p/b.c", 1},
                                                 {"/p/c.h", 1},
                                                 {"/p/inc/d.h", 1},
                                                 {"/p/p.wpj", 1},
                                                 {"/p/t.tgt", 1}}));
    // The files the project reads, as a refused write and the copy ask: listed (=), then the
    // sources and the names their dependency trees show, each name once.
    std::string shown;
    WalkProjectFiles(tree, [&](std::string_view name, std::string_view, ProjectFileRole role) {
        shown.append(role == ProjectFileRole::Shown ? " " : " =").append(name);
    });
    EXPECT_EQ(shown,
              " =p.wpj =t.tgt =a.c =b.c =c.h =inc\\..\\c.h =inc\\d.h"
              " a.c c.h inc\\d.h inc\\..\\c.h inc\\D.h C.H b.c A.C");
}

}  // namespace
