#include "depscan/filelist.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "project/projecttree.h"

namespace {

struct ListCase {
    const char* title;
    std::vector<std::string> added;
    std::string expected;  // the Filelist node's subtree as DumpTree writes it
};

TEST(FileList, KeepsEachFileOnceUnderItsSortedExtension) {
    const std::vector<ListCase> cases = {
        {"grouped and sorted", {"b.h", "a.c", "A.h", "c.c"}, "C\n a.c\n c.c\nH\n A.h\n b.h\n"},
        {"case-insensitive uniqueness, first spelling stays",
         {"Inc\\A.h", "inc\\a.H"},
         "H\n Inc\\A.h\n"},
        {"slashes alike", {"data/x.txt", "DATA\\X.TXT"}, "TXT\n data/x.txt\n"},
        {"extension nodes .c and .C are one", {"a.c", "b.C"}, "C\n a.c\n b.C\n"},
        {"no dot, no node", {"makefile", "a.c"}, "C\n a.c\n"},
        {"extension after the last dot", {"a.b.c", "x.tar.gz"}, "C\n a.b.c\nGZ\n x.tar.gz\n"},
        {"nothing", {}, ""},
    };
    for (const ListCase& c : cases) {
        WTreeStore tree;
        const WTreeItem filelist = tree.Add("Filelist", kNoItem, 1, 1, WTreePosition::Last());
        FileList list(tree, filelist);
        for (const std::string& path : c.added) {
            list.AddToFilelist(path);
        }
        FileList again(tree, filelist);  // over a filled list: nothing comes twice
        for (const std::string& path : c.added) {
            EXPECT_EQ(again.AddToFilelist(path), 0) << c.title << ": " << path;
        }
        WString text;
        DumpTree(tree, tree.FirstChild(filelist), text, 0);
        EXPECT_EQ(text.Str(), c.expected) << c.title;
    }
}

}  // namespace
