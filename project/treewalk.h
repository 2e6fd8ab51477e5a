#pragma once

#include <string_view>

#include "classlib/core/wtreestore.h"

// Calls emit(level, label) for node, its following siblings and all their
// descendants in pre-order, without recursion: projects can nest includes
// tens of thousands of levels deep. node's level is depth.
template <typename Emit>
void WalkTree(const WTreeStore& tree, WTreeItem node, int depth, Emit&& emit) {
    WTreeItem item = node;
    int level = depth;
    while (item != kNoItem) {
        emit(level, tree.Label(item));
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
