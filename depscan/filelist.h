#pragma once

#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "classlib/core/wtreestore.h"

// A target's "Filelist" subtree with an index over it: one extension node per
// extension (its text upper-cased), each holding the paths of that extension,
// every path once. Paths and extensions are told apart without regard to case
// and with '/' and '\' alike ("data/x.txt" and "DATA\x.txt" are one file; the
// first spelling met stays). Siblings are kept in the store's sorted order
// (strcasecmp), found through the index instead of walking the list.
class FileList {
public:
    // Takes in the nodes that filelistNode already holds.
    FileList(WTreeStore& tree, WTreeItem filelistNode);

    // Adds path under the node of its extension (the text after its last '.',
    // as written), creating that node first when needed. A path without '.'
    // and a path already listed add nothing. Returns the number of nodes added.
    int AddToFilelist(std::string_view path);

    WTreeItem node() const { return filelistNode_; }

private:
    // Children of one node, by their lower-cased text: the sorted order.
    using SortedChildren = std::map<std::string, WTreeItem>;
    struct Extension {
        WTreeItem node = kNoItem;
        SortedChildren paths;
    };

    WTreeItem InsertSorted(SortedChildren& siblings, WTreeItem parent, std::string_view label,
                           int image);
    Extension& ExtensionFor(std::string_view extension, int& added);

    WTreeStore& tree_;
    WTreeItem filelistNode_;
    SortedChildren extensionNodes_;
    std::unordered_map<std::string, Extension> extensions_;  // by extension key
    std::unordered_set<std::string> pathKeys_;
};
