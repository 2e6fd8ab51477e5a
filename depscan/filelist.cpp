#include "depscan/filelist.h"

#include "classlib/core/pathrules.h"
#include "project/projecttree.h"

namespace {

// Equal keys name the same file on every host.
std::string PathKey(std::string_view path) {
    std::string key = AsciiLowered(path);
    for (char& c : key) {
        c = WithBackslash(c);
    }
    return key;
}

std::string_view ExtensionOf(std::string_view path) {
    const std::size_t dot = path.rfind('.');
    return dot == std::string_view::npos ? std::string_view() : path.substr(dot + 1);
}

}  // namespace

FileList::FileList(WTreeStore& tree, WTreeItem filelistNode)
    : tree_(tree), filelistNode_(filelistNode) {
    for (WTreeItem ext = tree_.FirstChild(filelistNode_); ext != kNoItem;
         ext = tree_.NextSibling(ext)) {
        const std::string_view extText = tree_.Label(ext);
        extensionNodes_.emplace(AsciiLowered(extText), ext);
        Extension& extension = extensions_[PathKey(extText)];
        extension.node = ext;
        for (WTreeItem path = tree_.FirstChild(ext); path != kNoItem;
             path = tree_.NextSibling(path)) {
            extension.paths.emplace(AsciiLowered(tree_.Label(path)), path);
            pathKeys_.insert(PathKey(tree_.Label(path)));
        }
    }
}

WTreeItem FileList::InsertSorted(SortedChildren& siblings, WTreeItem parent, std::string_view label,
                                 int image) {
    std::string key = AsciiLowered(label);
    // The store inserts after the last sibling that does not sort after the
    // new one; the index finds that sibling without a walk.
    auto after = siblings.upper_bound(key);
    const WTreeItem predecessor = after == siblings.begin() ? kNoItem : std::prev(after)->second;
    const WTreeItem item = tree_.AddShared(tree_.InternLabel(label), parent, image, image,
                                           WTreePosition::After(predecessor));
    siblings.emplace_hint(after, std::move(key), item);
    return item;
}

FileList::Extension& FileList::ExtensionFor(std::string_view extension, int& added) {
    Extension& entry = extensions_[PathKey(extension)];
    if (entry.node == kNoItem) {
        entry.node =
            InsertSorted(extensionNodes_, filelistNode_, AsciiUppered(extension), GroupImage);
        ++added;
    }
    return entry;
}

int FileList::AddToFilelist(std::string_view path) {
    if (filelistNode_ == kNoItem || path.find('.') == std::string_view::npos) {
        return 0;
    }
    int added = 0;
    Extension& extension = ExtensionFor(ExtensionOf(path), added);
    if (pathKeys_.insert(PathKey(path)).second) {
        InsertSorted(extension.paths, extension.node, path, FileImage);
        ++added;
    }
    return added;
}
