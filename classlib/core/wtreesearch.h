#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "classlib/core/wtreestore.h"

// Finds the items of a tree whose label contains a text, without regard to
// ASCII case, in pre-order over the whole tree (collapsed parts included, and
// children the store's child source has not made yet). Labels are shared, so
// the text is matched once per distinct label and the walk over the items
// only looks the answer up. The walk makes no item: a hit is made (with the
// items above it) only when it is returned.
//
// The search is void once the store is emptied.
class WTreeSearch {
public:
    // Counting passes at most walkLimit items.
    WTreeSearch(WTreeStore& store, std::string_view text,
                std::size_t walkLimit = std::numeric_limits<std::size_t>::max());

    const std::string& Text() const { return text_; }
    // The first hit at or after item in pre-order, without looking further;
    // kNoItem when none follows (or item is kNoItem).
    WTreeItem FindFrom(WTreeItem item);

    // The number of hits, counted on the first call; false from Complete()
    // when the count stopped at the walk limit (the hits then are those met
    // before it).
    std::size_t Count();
    bool Complete() const { return complete_; }
    // Moves to the next (or previous) hit, wrapping around, and returns it;
    // the first move goes to the first (or last) hit. kNoItem without hits.
    enum class Direction { Forward, Backward };
    WTreeItem Step(Direction direction);
    // The position of the current hit, counted from 1; 0 before the first step.
    std::size_t Position() const { return position_; }

private:
    // A hit: an item of the store, or a place below one whose children the
    // child source makes.
    struct Hit {
        WTreeItem item = kNoItem;
        std::vector<std::uint32_t> place;
    };
    bool Matches(std::string_view label);
    // Walks from item to the end of the tree in pre-order, calling found for
    // each hit until it returns false; false when stopped (by found or the limit).
    template <typename Found>
    bool WalkFrom(WTreeItem item, Found&& found);
    WTreeItem Made(const Hit& hit);

    WTreeStore& store_;
    std::string text_;
    std::unordered_map<const char*, bool> labelMatches_;  // by the text of a shared label
    std::vector<Hit> hits_;
    bool counted_ = false;
    bool complete_ = true;
    std::size_t walkLimit_;
    std::size_t position_ = 0;
};
