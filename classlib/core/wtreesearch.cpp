#include "classlib/core/wtreesearch.h"

#include <limits>

#include "classlib/core/asciicase.h"
#include "classlib/core/wtreewalk.h"

WTreeSearch::WTreeSearch(WTreeStore& store, std::string_view text, std::size_t walkLimit)
    : store_(store), text_(text), walkLimit_(walkLimit) {}

// Labels are shared, in the store and in the child source alike: one answer
// per text.
bool WTreeSearch::Matches(std::string_view label) {
    const auto [found, isNew] = labelMatches_.try_emplace(label.data(), false);
    if (isNew) {
        found->second = ContainsIgnoringAsciiCase(label, text_);
    }
    return found->second;
}

template <typename Found>
bool WTreeSearch::WalkFrom(WTreeItem item, Found&& found) {
    std::size_t walked = 0;
    Hit hit;
    const WTreeChildSource::Visit visit = [&](int, std::string_view label, int,
                                              const std::vector<std::uint32_t>& place) {
        if (++walked > walkLimit_) {
            return WTreeWalkStep::Stop;
        }
        if (Matches(label)) {
            hit.place = place;
            if (!found(hit)) {
                return WTreeWalkStep::Stop;
            }
        }
        return WTreeWalkStep::Continue;
    };
    const auto made = [&](int, std::string_view label, WTreeItem at) {
        if (++walked > walkLimit_) {
            return WTreeWalkStep::Stop;
        }
        hit.item = at;
        hit.place.clear();
        return Matches(label) && !found(hit) ? WTreeWalkStep::Stop : WTreeWalkStep::Continue;
    };
    // Everything after item, to the end of the tree.
    return WalkPreOrder(store_, item, 0, std::numeric_limits<int>::min(), made, visit);
}

WTreeItem WTreeSearch::Made(const Hit& hit) {
    if (hit.place.empty() || store_.ChildSource() == nullptr) {
        return hit.item;
    }
    return store_.ChildSource()->MakePlace(store_, hit.item, hit.place);
}

WTreeItem WTreeSearch::FindFrom(WTreeItem item) {
    Hit first;
    WalkFrom(item, [&](const Hit& hit) {
        first = hit;
        return false;
    });
    return Made(first);
}

std::size_t WTreeSearch::Count() {
    if (!counted_) {
        complete_ = WalkFrom(store_.FirstRoot(), [&](const Hit& hit) {
            hits_.push_back(hit);
            return true;
        });
        counted_ = true;
    }
    return hits_.size();
}

WTreeItem WTreeSearch::Step(Direction direction) {
    const std::size_t count = Count();
    if (count == 0) {
        return kNoItem;
    }
    if (direction == Direction::Forward) {
        position_ = position_ % count + 1;
    } else {
        position_ = position_ <= 1 ? count : position_ - 1;
    }
    return Made(hits_[position_ - 1]);
}
