#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "classlib/core/wtreestore.h"

// What a search asks of the items a child source gives while it walks them:
// whether a label is a hit, how far the walk may still go, where the hits are,
// and what it learned of subtrees that recur alike.
class WTreeSearchWalk {
public:
    // Whether label contains the text. key numbers the source's labels (equal
    // keys, equal labels, keys dense from 0), so that the text is matched once
    // per distinct label and every other time is one look-up.
    bool Matches(std::uint32_t key, std::string_view label);
    // The same for a label without a key; the text is shared like the store's labels.
    bool Matches(std::string_view label);
    // count more items passed; false when the walk may not go that far.
    bool Pass(std::size_t count);
    // A hit at place below the walk's item (see WTreeChildSource::Visit);
    // false when the search wants no more.
    bool Found(const std::vector<std::uint32_t>& place) { return found_(place); }

    // A subtree a source gives alike wherever it recurs, as the search met it
    // once: how many items it holds and whether one of them is a hit.
    struct Subtree {
        std::size_t items = 0;
        bool hit = false;
    };
    // By the source's own key; valid as long as the search.
    std::unordered_map<std::uint64_t, Subtree>& Subtrees() { return subtrees_; }

private:
    friend class WTreeSearch;
    WTreeSearchWalk(std::string_view text, std::size_t limit) : text_(text), limit_(limit) {}

    std::string_view text_;
    std::size_t limit_;
    std::size_t walked_ = 0;
    std::vector<signed char> byKey_;  // 1 a hit, 0 not, -1 not matched yet
    std::unordered_map<const char*, bool> byText_;
    std::unordered_map<std::uint64_t, Subtree> subtrees_;
    std::function<bool(const std::vector<std::uint32_t>&)> found_;
};

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
    WTreeSearch(const WTreeSearch&) = delete;
    WTreeSearch& operator=(const WTreeSearch&) = delete;

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
    // The counted hits in little room: each hit's item and place are written as
    // what differs from the hit before, in numbers of one byte or more, and
    // every 256th hit whole, where reading starts.
    class HitList {
    public:
        void Add(const Hit& hit);
        std::size_t Size() const { return size_; }
        Hit At(std::size_t index) const;

    private:
        void Put(std::uint32_t value);
        std::uint32_t Take(std::size_t& at) const;

        std::vector<unsigned char> bytes_;
        std::vector<std::size_t> wholeHits_;  // where every 256th hit starts
        std::size_t size_ = 0;
        Hit last_;
    };
    bool MatchesMade(WTreeItem item);
    // Walks from item to the end of the tree in pre-order, calling found for
    // each hit until it returns false; false when stopped (by found or the limit).
    bool WalkFrom(WTreeItem item, const std::function<bool(const Hit&)>& found);
    WTreeItem Made(const Hit& hit);

    WTreeStore& store_;
    std::string text_;
    std::vector<signed char> madeMatches_;  // by the store's label, as WTreeSearchWalk's by key
    WTreeSearchWalk walk_;                  // its answers and subtrees are kept from walk to walk
    HitList hits_;
    bool counted_ = false;
    bool complete_ = true;
    std::size_t position_ = 0;
};
