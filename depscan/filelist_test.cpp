#include "depscan/filelist.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// "EXT: path, path | EXT: ..." of the Filelist node.
std::string Listing(const WTreeStore& tree, WTreeItem filelist) {
    std::string text;
    for (WTreeItem ext = tree.FirstChild(filelist); ext != kNoItem; ext = tree.NextSibling(ext)) {
        text += text.empty() ? "" : " | ";
        text += std::string(tree.Label(ext)) + ":";
        for (WTreeItem path = tree.FirstChild(ext); path != kNoItem;
             path = tree.NextSibling(path)) {
            text += " " + std::string(tree.Label(path));
        }
    }
    return text;
}

struct ListCase {
    const char* title;
    std::vector<std::string> added;
    std::string expected;
};

TEST(FileList, KeepsEachFileOnceUnderItsSortedExtension) {
    const std::vector<ListCase> cases = {
        {"grouped and sorted", {"b.h", "a.c", "A.h", "c.c"}, "C: a.c c.c | H: A.h b.h"},
        {"case-insensitive uniqueness, first spelling stays",
         {"Inc\\A.h", "inc\\a.H"},
         "H: Inc\\A.h"},
        {"slashes alike", {"data/x.txt", "DATA\\X.TXT"}, "TXT: data/x.txt"},
        {"extension nodes .c and .C are one", {"a.c", "b.C"}, "C: a.c b.C"},
        {"no dot, no node", {"makefile", "a.c"}, "C: a.c"},
        {"extension after the last dot", {"a.b.c", "x.tar.gz"}, "C: a.b.c | GZ: x.tar.gz"},
        {"nothing", {}, ""},
    };
    for (const ListCase& c : cases) {
        WTreeStore tree;
        const WTreeItem filelist = tree.Add("Filelist", kNoItem, 1, 1, WTreePosition::Last());
        FileList list(tree, filelist);
        for (const std::string& path : c.added) {
            list.AddToFilelist(path);
        }
        EXPECT_EQ(Listing(tree, filelist), c.expected) << c.title;
    }
}

}  // namespace
