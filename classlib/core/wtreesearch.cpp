#include "classlib/core/wtreesearch.h"

#include <algorithm>

namespace {

char FoldCase(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool ContainsFolded(std::string_view text, const std::string& foldedPart) {
    return std::search(text.begin(), text.end(), foldedPart.begin(), foldedPart.end(),
                       [](char a, char b) { return FoldCase(a) == b; }) != text.end();
}

}  // namespace

WTreeSearch::WTreeSearch(const WTreeStore& store, std::string_view text)
    : store_(store), text_(text), labelMatches_(store.LabelCount(), false) {
    std::string folded(text);
    std::transform(folded.begin(), folded.end(), folded.begin(), FoldCase);
    for (WTreeLabel label = 0; label < labelMatches_.size(); ++label) {
        labelMatches_[label] = ContainsFolded(store.LabelText(label), folded);
    }
}

bool WTreeSearch::Matches(WTreeItem item) const {
    const WTreeLabel label = store_.LabelOf(item);
    return store_.IsValid(item) && label < labelMatches_.size() && labelMatches_[label];
}

WTreeItem WTreeSearch::NextInPreOrder(WTreeItem item) const {
    if (const WTreeItem child = store_.FirstChild(item); child != kNoItem) {
        return child;
    }
    for (WTreeItem at = item; at != kNoItem; at = store_.Parent(at)) {
        if (const WTreeItem sibling = store_.NextSibling(at); sibling != kNoItem) {
            return sibling;
        }
    }
    return kNoItem;
}

WTreeItem WTreeSearch::FindFrom(WTreeItem item) const {
    for (WTreeItem at = item; at != kNoItem; at = NextInPreOrder(at)) {
        if (Matches(at)) {
            return at;
        }
    }
    return kNoItem;
}

const std::vector<WTreeItem>& WTreeSearch::Hits() {
    if (!counted_) {
        for (WTreeItem at = FindFrom(store_.FirstRoot()); at != kNoItem;
             at = FindFrom(NextInPreOrder(at))) {
            hits_.push_back(at);
        }
        counted_ = true;
    }
    return hits_;
}

WTreeItem WTreeSearch::Step(Direction direction) {
    const std::size_t count = Hits().size();
    if (count == 0) {
        return kNoItem;
    }
    if (direction == Direction::Forward) {
        position_ = position_ % count + 1;
    } else {
        position_ = position_ <= 1 ? count : position_ - 1;
    }
    return hits_[position_ - 1];
}
