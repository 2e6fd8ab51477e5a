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

namespace {

constexpr std::size_t kHitsBetweenWholeOnes = 256;

}  // namespace

void WTreeSearch::HitList::Put(std::uint32_t value) {
    for (; value >= 0x80; value >>= 7) {
        bytes_.push_back(static_cast<unsigned char>(value | 0x80));
    }
    bytes_.push_back(static_cast<unsigned char>(value));
}

std::uint32_t WTreeSearch::HitList::Take(std::size_t& at) const {
    std::uint32_t value = 0;
    for (int shift = 0;; shift += 7) {
        const unsigned char byte = bytes_[at++];
        value |= static_cast<std::uint32_t>(byte & 0x7F) << shift;
        if ((byte & 0x80) == 0) {
            return value;
        }
    }
}

// A hit: (kept << 1 | same item), the item unless the same, the number of
// ordinals after the kept ones, those ordinals.
void WTreeSearch::HitList::Add(const Hit& hit) {
    const bool whole = size_ % kHitsBetweenWholeOnes == 0;
    if (whole) {
        wholeHits_.push_back(bytes_.size());
    }
    const bool sameItem = !whole && hit.item == last_.item;
    std::size_t kept = 0;
    if (sameItem) {
        while (kept < hit.place.size() && kept < last_.place.size() &&
               hit.place[kept] == last_.place[kept]) {
            ++kept;
        }
    }
    Put(static_cast<std::uint32_t>(kept << 1) | (sameItem ? 1 : 0));
    if (!sameItem) {
        Put(hit.item);
    }
    Put(static_cast<std::uint32_t>(hit.place.size() - kept));
    for (std::size_t at = kept; at < hit.place.size(); ++at) {
        Put(hit.place[at]);
    }
    last_ = hit;
    ++size_;
}

WTreeSearch::Hit WTreeSearch::HitList::At(std::size_t index) const {
    Hit hit;
    std::size_t at = wholeHits_[index / kHitsBetweenWholeOnes];
    for (std::size_t read = index - index % kHitsBetweenWholeOnes; read <= index; ++read) {
        const std::uint32_t head = Take(at);
        if ((head & 1) == 0) {
            hit.item = Take(at);
        }
        hit.place.resize(head >> 1);
        for (std::uint32_t added = Take(at); added > 0; --added) {
            hit.place.push_back(Take(at));
        }
    }
    return hit;
}

std::size_t WTreeSearch::Count() {
    if (!counted_) {
        complete_ = WalkFrom(store_.FirstRoot(), [&](const Hit& hit) {
            hits_.Add(hit);
            return true;
        });
        counted_ = true;
    }
    return hits_.Size();
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
    return Made(hits_.At(position_ - 1));
}
