#include "depscan/filelist.h"

#include <gtest/gtest.h>

#include <cctype>
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
        {"strcasecmp order", {"b_.h", "B.h", "a.h", "_.h", "Z.h"}, "H: _.h a.h B.h b_.h Z.h"},
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

// The index must order siblings exactly as the store's own sorted insertion.
TEST(FileList, OrdersLikeTheStoresSortedInsertion) {
    const std::vector<std::string> paths = {"m.h", "A.h",  "z\\q.h", "_x.h", "a_.h", "Ab.h",
                                            "[.h", "a.h2", "0.h",    "~.h",  "zz.h", "Z\\a.h"};
    WTreeStore indexed;
    const WTreeItem filelist = indexed.Add("Filelist", kNoItem, 1, 1, WTreePosition::Last());
    FileList list(indexed, filelist);
    WTreeStore plain;
    const WTreeItem plainFilelist = plain.Add("Filelist", kNoItem, 1, 1, WTreePosition::Last());
    for (const std::string& path : paths) {
        list.AddToFilelist(path);
        const std::string ext = path.substr(path.rfind('.') + 1);
        std::string upper = ext;
        for (char& c : upper) {
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
        WTreeItem extNode = plain.FindDescendant(
            plainFilelist, [&](WTreeItem item) { return plain.Label(item) == upper; });
        if (extNode == kNoItem) {
            extNode = plain.Add(upper, plainFilelist, 1, 1, WTreePosition::Sorted());
        }
        plain.Add(path, extNode, 2, 2, WTreePosition::Sorted());
    }
    EXPECT_EQ(Listing(indexed, filelist), Listing(plain, plainFilelist));
}

}  // namespace
