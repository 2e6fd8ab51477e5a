#pragma once

#include <string>
#include <string_view>

#include "classlib/core/wtreestore.h"

// Appends label as text of one line: a line break or other control character
// (below 0x20, and 0x7F) in a name would start a line of its own, which could
// pass for a node, so each is written as a blank. The tree keeps the true
// name, by which the file is opened.
inline void AppendAsLine(std::string& text, std::string_view label) {
    const std::size_t start = text.size();
    text.append(label);
    for (std::size_t i = start; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 || c == 0x7F) {
            text[i] = ' ';
        }
    }
}

// Calls visit(level, item) for node, its following siblings and all their
// descendants in pre-order, without recursion: projects can nest includes
// tens of thousands of levels deep. node's level is depth.
template <typename Visit>
void WalkItems(const WTreeStore& tree, WTreeItem node, int depth, Visit&& visit) {
    WTreeItem item = node;
    int level = depth;
    while (item != kNoItem) {
        visit(level, item);
        if (const WTreeItem child = tree.FirstChild(item); child != kNoItem) {
            item = child;
            ++level;
            continue;
        }
        while (item != kNoItem) {
            if (const WTreeItem next = tree.NextSibling(item); next != kNoItem) {
                item = next;
                break;
            }
            if (level == depth) {
                item = kNoItem;
                break;
            }
            item = tree.Parent(item);
            --level;
        }
    }
}

// WalkItems, calling emit(level, label).
template <typename Emit>
void WalkTree(const WTreeStore& tree, WTreeItem node, int depth, Emit&& emit) {
    WalkItems(tree, node, depth, [&](int level, WTreeItem item) { emit(level, tree.Label(item)); });
}
