#pragma once

#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "classlib/core/wtreelines.h"
#include "classlib/core/wtreestore.h"

// Calls emit(level, label) for node, its following siblings and all their
// descendants in pre-order, without recursion: projects can nest includes
// tens of thousands of levels deep. node's level is depth. Children that the
// store's child source makes on demand are walked without being made. emit
// may return a WTreeWalkStep; false when it ended the walk.
template <typename Emit>
bool WalkTree(const WTreeStore& tree, WTreeItem node, int depth, Emit&& emit) {
    // emit may also take the item (kNoItem for one the child source gives).
    auto step = [&](int level, std::string_view label, WTreeItem item = kNoItem) {
        if constexpr (std::is_invocable_v<Emit, int, std::string_view, WTreeItem>) {
            return emit(level, label, item);
        } else if constexpr (std::is_void_v<decltype(emit(level, label))>) {
            emit(level, label);
            return WTreeWalkStep::Continue;
        } else {
            return emit(level, label);
        }
    };
    WTreeChildSource* source = tree.ChildSource();
    const WTreeChildSource::Visit visitMade = [&](int level, std::string_view label, int,
                                                  const std::vector<std::uint32_t>&) {
        return step(level, label);
    };
    WTreeItem item = node;
    int level = depth;
    while (item != kNoItem) {
        const WTreeWalkStep next = step(level, tree.Label(item), item);
        if (next == WTreeWalkStep::Stop) {
            return false;
        }
        if (next == WTreeWalkStep::Continue) {
            if (source != nullptr && source->Provides(item)) {
                if (!source->WalkDescendants(tree, item, level, visitMade)) {
                    return false;
                }
            } else if (const WTreeItem child = tree.FirstChild(item); child != kNoItem) {
                item = child;
                ++level;
                continue;
            }
        }
        while (item != kNoItem) {
            if (const WTreeItem sibling = tree.NextSibling(item); sibling != kNoItem) {
                item = sibling;
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
    return true;
}
