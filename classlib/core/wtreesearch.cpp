#include "classlib/core/wtreesearch.h"

#include "classlib/core/asciicase.h"
#include "classlib/core/wtreewalk.h"

namespace {

// The answer kept in answers at key, matched now when not known yet.
bool KeptAnswer(std::vector<signed char>& answers, std::uint32_t key, std::string_view label,
                std::string_view text) {
    if (key >= answers.size()) {
        answers.resize(static_cast<std::size_t>(key) + 1, -1);
    }
    signed char& answer = answers[key];
    if (answer < 0) {
        answer = ContainsIgnoringAsciiCase(label, text) ? 1 : 0;
    }
    return answer == 1;
}

}  // namespace

bool WTreeSearchWalk::Matches(std::uint32_t key, std::string_view label) {
    return KeptAnswer(byKey_, key, label, text_);
}

bool WTreeSearchWalk::Matches(std::string_view label) {
    const auto [found, isNew] = byText_.try_emplace(label.data(), false);
    if (isNew) {
        found->second = ContainsIgnoringAsciiCase(label, text_);
    }
    return found->second;
}

bool WTreeSearchWalk::Pass(std::size_t count) {
    if (count > limit_ - walked_) {
        walked_ = limit_;
        return false;
    }
    walked_ += count;
    return true;
}

WTreeSearch::WTreeSearch(WTreeStore& store, std::string_view text, std::size_t walkLimit)
    : store_(store), text_(text), walk_(text_, walkLimit) {}

bool WTreeSearch::MatchesMade(WTreeItem item) {
    return KeptAnswer(madeMatches_, store_.LabelOf(item), store_.Label(item), text_);
}

bool WTreeSearch::WalkFrom(WTreeItem item, const std::function<bool(const Hit&)>& found) {
    walk_.walked_ = 0;
    Hit hit;
    walk_.found_ = [&](const std::vector<std::uint32_t>& place) {
        hit.place = place;
        return found(hit);
    };
    // Everything after item, to the end of the tree: the made items here,
    // those below an item the child source gives through the source.
    WTreeChildSource* source = store_.ChildSource();
    int level = 0;
    while (item != kNoItem) {
        if (!walk_.Pass(1)) {
            return false;
        }
        hit.item = item;
        hit.place.clear();
        if (MatchesMade(item) && !found(hit)) {
            return false;
        }
        WTreeWalkStep next = WTreeWalkStep::Continue;
        if (source != nullptr && source->Provides(item)) {
            if (!source->SearchDescendants(store_, item, level, walk_)) {
                return false;
            }
            next = WTreeWalkStep::SkipChildren;
        }
        item = NextInPreOrder(store_, item, next, level, std::numeric_limits<int>::min());
    }
    return true;
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
            hits_.push_back({places_.size(), hit.item, static_cast<std::uint32_t>(hit.place.size())});
            places_.insert(places_.end(), hit.place.begin(), hit.place.end());
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
    const CountedHit& counted = hits_[position_ - 1];
    const auto start = places_.begin() + static_cast<std::ptrdiff_t>(counted.placeStart);
    return Made({counted.item, std::vector<std::uint32_t>(start, start + counted.placeSize)});
}
