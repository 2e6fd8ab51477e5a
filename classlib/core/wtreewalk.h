#pragma once

#include <string_view>
#include <type_traits>
#include <vector>

#include "classlib/core/wtreestore.h"

// The one pre-order rule on a WTreeStore, without recursion: trees nest tens
// of thousands of levels deep. Two walks follow it: NextInPreOrder alone
// steps over the items the store holds (made), and never makes or asks the
// child source; WalkTree also sees the children a child source would make,
// through the source, without making them.

// The item after item in pre-order over made items, given the walk's step at
// item: Continue enters its children, SkipChildren passes them by. Then the
// next sibling of item or of its nearest ancestor, climbing to no level above
// floor; level follows the item (one deeper per child, one less per parent).
// kNoItem at the end.
inline WTreeItem NextInPreOrder(const WTreeStore& tree, WTreeItem item, WTreeWalkStep step,
                                int& level, int floor) {
    if (step == WTreeWalkStep::Continue) {
        if (const WTreeItem child = tree.FirstChild(item); child != kNoItem) {
            ++level;
            return child;
        }
    }
    while (item != kNoItem) {
        if (const WTreeItem sibling = tree.NextSibling(item); sibling != kNoItem) {
            return sibling;
        }
        if (level == floor) {
            return kNoItem;
        }
        item = tree.Parent(item);
        --level;
    }
    return kNoItem;
}

// Visits node, then everything after it in pre-order up to the end of level
// floor (the end of the tree for the lowest int): emitMade(level, label,
// item) for each made item, its WTreeWalkStep deciding what follows. Below an
// item whose children the store's child source gives, the source walks them
// with visitGiven, made or not, and the made ones are not walked again. False
// when either ended the walk.
template <typename EmitMade>
bool WalkPreOrder(const WTreeStore& tree, WTreeItem node, int depth, int floor, EmitMade&& emitMade,
                  const WTreeChildSource::Visit& visitGiven) {
    WTreeChildSource* source = tree.ChildSource();
    int level = depth;
    for (WTreeItem item = node; item != kNoItem;) {
        WTreeWalkStep next = emitMade(level, tree.Label(item), item);
        if (next == WTreeWalkStep::Stop) {
            return false;
        }
        if (next == WTreeWalkStep::Continue && source != nullptr && source->Provides(item)) {
            if (!source->WalkDescendants(tree, item, level, visitGiven)) {
                return false;
            }
            next = WTreeWalkStep::SkipChildren;
        }
        item = NextInPreOrder(tree, item, next, level, floor);
    }
    return true;
}

// Calls emit(level, label) for node, its following siblings and all their
// descendants in pre-order, made or not; node's level is depth. emit may also
// take the item (kNoItem for one the child source gives) and may return a
// WTreeWalkStep; false when it ended the walk.
template <typename Emit>
bool WalkTree(const WTreeStore& tree, WTreeItem node, int depth, Emit&& emit) {
    auto step = [&](int level, std::string_view label, WTreeItem item) {
        if constexpr (std::is_invocable_v<Emit, int, std::string_view, WTreeItem>) {
            return emit(level, label, item);
        } else if constexpr (std::is_void_v<decltype(emit(level, label))>) {
            emit(level, label);
            return WTreeWalkStep::Continue;
        } else {
            return emit(level, label);
        }
    };
    const WTreeChildSource::Visit visitGiven = [&](int level, std::string_view label, int,
                                                   const std::vector<std::uint32_t>&) {
        return step(level, label, kNoItem);
    };
    return WalkPreOrder(tree, node, depth, depth, step, visitGiven);
}
