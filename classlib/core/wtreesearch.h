#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "classlib/core/wtreestore.h"

// Finds the items of a tree store whose label contains a text, without regard
// to ASCII case, in pre-order over the whole store (collapsed parts included).
// Labels are shared, so the text is matched once per distinct label and the
// walk over the items only looks the answer up: a tree of millions of items is
// searched in well under a second.
//
// The search keeps handles: it is void once the store changes.
class WTreeSearch {
public:
    WTreeSearch(const WTreeStore& store, std::string_view text);

    const std::string& Text() const { return text_; }
    bool Matches(WTreeItem item) const;
    // The first hit at or after item in pre-order, without looking further;
    // kNoItem when none follows (or item is kNoItem).
    WTreeItem FindFrom(WTreeItem item) const;

    // Every hit in pre-order; made on the first call.
    const std::vector<WTreeItem>& Hits();
    // Moves to the next (or previous) hit, wrapping around, and returns it;
    // the first move goes to the first (or last) hit. kNoItem without hits.
    enum class Direction { Forward, Backward };
    WTreeItem Step(Direction direction);
    // The position of the current hit, counted from 1; 0 before the first step.
    std::size_t Position() const { return position_; }

private:
    WTreeItem NextInPreOrder(WTreeItem item) const;

    const WTreeStore& store_;
    std::string text_;
    std::vector<bool> labelMatches_;  // by label handle
    std::vector<WTreeItem> hits_;
    bool counted_ = false;
    std::size_t position_ = 0;
};
