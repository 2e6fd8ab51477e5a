#include "classlib/core/wtreestore.h"

#include <algorithm>
#include <bit>
#include <iterator>
#include <map>

#include "classlib/core/asciicase.h"
#include "classlib/core/wtreelines.h"
#include "classlib/core/wtreesearch.h"
#include "classlib/core/wtreewalk.h"

namespace {

constexpr std::uint8_t kLive = 1;
constexpr std::uint8_t kHasData = 2;
constexpr std::uint8_t kHasSortedIndex = 4;

// A sorted insertion that has to pass more siblings than this builds an index.
constexpr std::size_t kSortedIndexThreshold = 32;

std::uint8_t ClampImage(int image) {
    return static_cast<std::uint8_t>(std::clamp(image, 0, 255));
}

// Nodes of a full chunk; the first chunk starts with kFirstChunkNodes and doubles up to it.
constexpr std::uint32_t kChunkNodes = 1u << 16;
constexpr std::uint32_t kFirstChunkNodes = 256;

}  // namespace

// 28 bytes: the links, the label handle and two image indexes (the platform's
// image lists stay far below 256 entries). A free node reuses `next` as the
// free-list link.
struct WTreeStore::Node {
    WTreeItem parent = kNoItem;
    WTreeItem firstChild = kNoItem;
    WTreeItem lastChild = kNoItem;
    WTreeItem next = kNoItem;
    WTreeItem prev = kNoItem;
    WTreeLabel label = 0;
    std::uint8_t image = 0;
    std::uint8_t selectedImage = 0;
    std::uint8_t flags = 0;
};

WTreeStore::WTreeStore() {
    static_assert(sizeof(Node) <= 28);
    static_assert(kChunkNodes == 1u << kChunkBits);
}
WTreeStore::~WTreeStore() = default;

WTreeStore::Node& WTreeStore::At(WTreeItem item) {
    return chunks_[item >> kChunkBits][item & ((1u << kChunkBits) - 1)];
}

const WTreeStore::Node& WTreeStore::At(WTreeItem item) const {
    return chunks_[item >> kChunkBits][item & ((1u << kChunkBits) - 1)];
}

bool WTreeStore::IsValid(WTreeItem item) const {
    return item != kNoItem && item < nextUnused_ && (At(item).flags & kLive) != 0;
}

WTreeItem WTreeStore::Allocate() {
    WTreeItem item = freeList_;
    if (item != kNoItem) {
        freeList_ = At(item).next;
    } else {
        if (nextUnused_ == UINT32_MAX) {
            return kNoItem;
        }
        item = nextUnused_++;
        if ((item >> kChunkBits) >= chunks_.size()) {
            chunks_.push_back(
                std::make_unique<Node[]>(chunks_.empty() ? kFirstChunkNodes : kChunkNodes));
        } else if (item >= kFirstChunkNodes && item < kChunkNodes && std::has_single_bit(item)) {
            // The first chunk is full: twice its size, its nodes moved over. No reference to a
            // node is held across Allocate.
            auto grown = std::make_unique<Node[]>(std::size_t{item} * 2);
            std::copy(chunks_[0].get(), chunks_[0].get() + item, grown.get());
            chunks_[0] = std::move(grown);
        }
    }
    At(item) = Node{};
    At(item).flags = kLive;
    ++liveCount_;
    return item;
}

void WTreeStore::Release(WTreeItem item) {
    Node& node = At(item);
    if (node.flags & kHasData) {
        data_.erase(item);
    }
    if (node.flags & kHasSortedIndex) {
        sortedIndexes_.erase(item);
    }
    node = Node{};
    node.next = freeList_;
    freeList_ = item;
    --liveCount_;
}

WTreeLabel WTreeStore::InternLabel(std::string_view text) {
    if (auto found = labelIndex_.find(text); found != labelIndex_.end()) {
        return found->second;
    }
    const auto label = static_cast<WTreeLabel>(labels_.size());
    labels_.emplace_back(text);
    labelIndex_.emplace(std::string_view(labels_.back()), label);
    return label;
}

std::string_view WTreeStore::LabelText(WTreeLabel label) const {
    return label < labels_.size() ? std::string_view(labels_[label]) : std::string_view();
}

// The children of one parent in label order, kept only while the sibling list
// itself is in label order: then the last sibling not greater than a label is
// the one before the multimap's upper bound, and equal labels keep their order.
struct WTreeStore::SortedIndex {
    struct Less {
        bool operator()(std::string_view a, std::string_view b) const {
            return CompareIgnoringAsciiCase(a, b) < 0;
        }
    };
    std::multimap<std::string_view, WTreeItem, Less> children;

    WTreeItem Predecessor(std::string_view label) const {
        const auto after = children.upper_bound(label);
        return after == children.begin() ? kNoItem : std::prev(after)->second;
    }
    void Insert(std::string_view label, WTreeItem item) {
        children.emplace_hint(children.upper_bound(label), label, item);
    }
    void Erase(std::string_view label, WTreeItem item) {
        auto [from, to] = children.equal_range(label);
        for (; from != to; ++from) {
            if (from->second == item) {
                children.erase(from);
                return;
            }
        }
    }
};

WTreeStore::SortedIndex* WTreeStore::FindSortedIndex(WTreeItem parent) const {
    if (sortedIndexes_.empty() || (parent != kNoItem && !(At(parent).flags & kHasSortedIndex))) {
        return nullptr;
    }
    const auto found = sortedIndexes_.find(parent);
    return found == sortedIndexes_.end() ? nullptr : found->second.get();
}

void WTreeStore::BuildSortedIndexIfOrdered(WTreeItem parent) {
    auto index = std::make_unique<SortedIndex>();
    std::string_view previous;
    WTreeItem child = parent == kNoItem ? firstRoot_ : At(parent).firstChild;
    for (; child != kNoItem; child = At(child).next) {
        const std::string_view label = LabelText(At(child).label);
        if (!index->children.empty() && CompareIgnoringAsciiCase(previous, label) > 0) {
            return;  // not in order: sorted insertion keeps walking the siblings
        }
        index->children.emplace_hint(index->children.end(), label, child);
        previous = label;
    }
    if (parent != kNoItem) {
        At(parent).flags |= kHasSortedIndex;
    }
    sortedIndexes_[parent] = std::move(index);
}

void WTreeStore::DropSortedIndex(WTreeItem parent) {
    if (FindSortedIndex(parent) == nullptr) {
        return;
    }
    sortedIndexes_.erase(parent);
    if (parent != kNoItem) {
        At(parent).flags &= static_cast<std::uint8_t>(~kHasSortedIndex);
    }
}

// The last sibling whose label is not greater, so equal labels keep the order
// in which they came; scanning from the end makes in-order input O(1).
WTreeItem WTreeStore::SortedPredecessor(WTreeItem parent, std::string_view label,
                                        std::size_t& steps) const {
    WTreeItem sibling = parent == kNoItem ? lastRoot_ : At(parent).lastChild;
    while (sibling != kNoItem &&
           CompareIgnoringAsciiCase(LabelText(At(sibling).label), label) > 0) {
        sibling = At(sibling).prev;
        ++steps;
    }
    return sibling;
}

void WTreeStore::Link(WTreeItem item, WTreeItem parent, WTreePosition position) {
    WTreeItem& first = parent == kNoItem ? firstRoot_ : At(parent).firstChild;
    WTreeItem& last = parent == kNoItem ? lastRoot_ : At(parent).lastChild;
    WTreeItem before = kNoItem;  // the new item goes right after this sibling; none: first
    std::size_t scanned = 0;
    switch (position.kind) {
        case WTreePosition::Kind::First:
            break;
        case WTreePosition::Kind::Last:
            before = last;
            break;
        case WTreePosition::Kind::After:
            // A sibling that is not a child of parent cannot anchor the item: append.
            if (position.after != kNoItem) {
                const bool isSibling =
                    IsValid(position.after) && At(position.after).parent == parent;
                before = isSibling ? position.after : last;
            }
            break;
        case WTreePosition::Kind::Sorted:
            if (const SortedIndex* index = FindSortedIndex(parent)) {
                before = index->Predecessor(LabelText(At(item).label));
            } else {
                before = SortedPredecessor(parent, LabelText(At(item).label), scanned);
            }
            break;
    }
    Node& node = At(item);
    node.parent = parent;
    node.prev = before;
    node.next = before == kNoItem ? first : At(before).next;
    if (node.prev != kNoItem) {
        At(node.prev).next = item;
    } else {
        first = item;
    }
    if (node.next != kNoItem) {
        At(node.next).prev = item;
    } else {
        last = item;
    }
    if (position.kind != WTreePosition::Kind::Sorted) {
        DropSortedIndex(parent);  // the list may be out of label order now
    } else if (SortedIndex* index = FindSortedIndex(parent)) {
        index->Insert(LabelText(node.label), item);
    } else if (scanned > kSortedIndexThreshold) {
        BuildSortedIndexIfOrdered(parent);
    }
}

void WTreeStore::Unlink(WTreeItem item) {
    Node& node = At(item);
    if (SortedIndex* index = FindSortedIndex(node.parent)) {
        index->Erase(LabelText(node.label), item);
    }
    WTreeItem& first = node.parent == kNoItem ? firstRoot_ : At(node.parent).firstChild;
    WTreeItem& last = node.parent == kNoItem ? lastRoot_ : At(node.parent).lastChild;
    if (node.prev != kNoItem) {
        At(node.prev).next = node.next;
    } else {
        first = node.next;
    }
    if (node.next != kNoItem) {
        At(node.next).prev = node.prev;
    } else {
        last = node.prev;
    }
    node.parent = node.next = node.prev = kNoItem;
}

WTreeItem WTreeStore::Add(std::string_view label, WTreeItem parent, int image, int selectedImage,
                          WTreePosition position, std::unique_ptr<WObject> data) {
    if (parent != kNoItem && !IsValid(parent)) {
        return kNoItem;
    }
    const WTreeItem item = AddShared(InternLabel(label), parent, image, selectedImage, position);
    if (item != kNoItem && data) {
        data_[item] = std::move(data);
        At(item).flags |= kHasData;
    }
    return item;
}

WTreeItem WTreeStore::AddShared(WTreeLabel label, WTreeItem parent, int image, int selectedImage,
                                WTreePosition position) {
    if ((parent != kNoItem && !IsValid(parent)) || label >= labels_.size()) {
        return kNoItem;
    }
    const WTreeItem item = Allocate();
    if (item == kNoItem) {
        return kNoItem;
    }
    Node& node = At(item);
    node.label = label;
    node.image = ClampImage(image);
    node.selectedImage = ClampImage(selectedImage);
    Link(item, parent, position);
    if (observer_) {
        observer_->ItemAdded(item);
    }
    return item;
}

WTreeItem WTreeStore::GetRelative(WTreeItem item, WTreeRelation relation) const {
    switch (relation) {
        case WTreeRelation::FirstRoot:
            return firstRoot_;
        case WTreeRelation::NextSibling:
            return NextSibling(item);
        case WTreeRelation::PreviousSibling:
            return PreviousSibling(item);
        case WTreeRelation::Parent:
            return Parent(item);
        case WTreeRelation::FirstChild:
            return FirstChild(item);
    }
    return kNoItem;
}

WTreeItem WTreeStore::Parent(WTreeItem item) const {
    return IsValid(item) ? At(item).parent : kNoItem;
}

WTreeItem WTreeStore::FirstChild(WTreeItem item) const {
    return IsValid(item) ? At(item).firstChild : kNoItem;
}

WTreeItem WTreeStore::LastChild(WTreeItem item) const {
    return IsValid(item) ? At(item).lastChild : kNoItem;
}

WTreeItem WTreeStore::NextSibling(WTreeItem item) const {
    return IsValid(item) ? At(item).next : kNoItem;
}

WTreeItem WTreeStore::PreviousSibling(WTreeItem item) const {
    return IsValid(item) ? At(item).prev : kNoItem;
}

std::string_view WTreeStore::Label(WTreeItem item) const {
    return IsValid(item) ? LabelText(At(item).label) : std::string_view();
}

WTreeLabel WTreeStore::LabelOf(WTreeItem item) const {
    return IsValid(item) ? At(item).label : 0;
}

bool WTreeStore::SetLabel(WTreeItem item, std::string_view label) {
    if (!IsValid(item)) {
        return false;
    }
    const WTreeLabel handle = InternLabel(label);
    if (handle != At(item).label) {
        DropSortedIndex(At(item).parent);
    }
    At(item).label = handle;
    if (observer_) {
        observer_->LabelChanged(item);
    }
    return true;
}

int WTreeStore::Image(WTreeItem item) const {
    return IsValid(item) ? At(item).image : 0;
}

int WTreeStore::SelectedImage(WTreeItem item) const {
    return IsValid(item) ? At(item).selectedImage : 0;
}

WObject* WTreeStore::GetData(WTreeItem item) const {
    if (!IsValid(item) || !(At(item).flags & kHasData)) {
        return nullptr;
    }
    const auto found = data_.find(item);
    return found == data_.end() ? nullptr : found->second.get();
}

// Frees the detached subtree below and including top, children before their
// parent, without recursion: always descend to a leaf through first children,
// free it (it is its parent's first child), then go on with its next sibling
// or, when it had none, with its now childless parent.
void WTreeStore::DeleteDetachedSubtree(WTreeItem top) {
    WTreeItem current = top;
    for (;;) {
        while (At(current).firstChild != kNoItem) {
            current = At(current).firstChild;
        }
        const WTreeItem parent = At(current).parent;
        const WTreeItem next = At(current).next;
        const bool done = current == top;
        if (!done) {
            At(parent).firstChild = next;
            if (next != kNoItem) {
                At(next).prev = kNoItem;
            } else {
                At(parent).lastChild = kNoItem;
            }
        }
        ReportDeleted(current);
        Release(current);
        if (done) {
            return;
        }
        current = next != kNoItem ? next : parent;
    }
}

void WTreeStore::ReportDeleted(WTreeItem item) {
    std::unique_ptr<WObject> data;
    if (At(item).flags & kHasData) {
        if (auto found = data_.find(item); found != data_.end()) {
            data = std::move(found->second);
        }
    }
    if (deleteHandler_) {
        deleteHandler_(item, data);
    }
}

bool WTreeStore::Delete(WTreeItem item) {
    if (!IsValid(item)) {
        return false;
    }
    if (observer_) {
        observer_->ItemAboutToBeRemoved(item);
    }
    const WTreeItem parent = At(item).parent;
    Unlink(item);
    DeleteDetachedSubtree(item);
    if (observer_) {
        observer_->ItemRemoved(parent);
    }
    return true;
}

// Also drops every label and gives the node chunks back, so that a reload
// starts from an empty store; label handles from before are void afterwards.
void WTreeStore::DeleteAll() {
    childSource_.reset();
    while (firstRoot_ != kNoItem) {
        const WTreeItem root = firstRoot_;
        Unlink(root);
        DeleteDetachedSubtree(root);
    }
    data_.clear();
    sortedIndexes_.clear();
    chunks_.clear();
    nextUnused_ = 1;
    freeList_ = kNoItem;
    lastRoot_ = kNoItem;
    liveCount_ = 0;
    labelIndex_.clear();
    labels_.clear();
    if (observer_) {
        observer_->AllRemoved();
    }
}

WTreeItem WTreeStore::FindDescendant(WTreeItem item,
                                     const std::function<bool(WTreeItem)>& test) const {
    int level = 1;
    for (WTreeItem at = IsValid(item) ? At(item).firstChild : kNoItem; at != kNoItem;
         at = NextInPreOrder(*this, at, WTreeWalkStep::Continue, level, 1)) {
        if (test(at)) {
            return at;
        }
    }
    return kNoItem;
}

WTreeItem WTreeChildSource::MakePlace(WTreeStore& store, WTreeItem item,
                                      const std::vector<std::uint32_t>& place) {
    WTreeItem at = item;
    for (const std::uint32_t ordinal : place) {
        store.MakeChildren(at);
        at = store.FirstChild(at);
        for (std::uint32_t i = 0; i < ordinal && at != kNoItem; ++i) {
            at = store.NextSibling(at);
        }
        if (at == kNoItem) {
            return kNoItem;
        }
    }
    return at;
}

bool WTreeChildSource::SearchDescendants(const WTreeStore& store, WTreeItem item, int itemLevel,
                                         WTreeSearchWalk& search) {
    return WalkDescendants(
        store, item, itemLevel,
        [&](int, std::string_view label, int, const std::vector<std::uint32_t>& place) {
            return search.Pass(1) && (!search.Matches(label) || search.Found(place))
                       ? WTreeWalkStep::Continue
                       : WTreeWalkStep::Stop;
        });
}

std::size_t WTreeChildSource::WriteDescendantLines(const WTreeStore& store, WTreeItem item,
                                                   int itemLevel, WTreeLineWriter& lines,
                                                   std::size_t room, bool& complete) {
    std::size_t written = 0;
    complete = WalkDescendants(
        store, item, itemLevel,
        [&](int level, std::string_view label, int, const std::vector<std::uint32_t>&) {
            if (written == room) {
                return WTreeWalkStep::Stop;
            }
            ++written;
            lines.Line(level, label);
            lines.Pass();
            return WTreeWalkStep::Continue;
        });
    return written;
}

bool WTreeStore::HasChildrenToMake(WTreeItem item) const {
    return childSource_ && IsValid(item) && At(item).firstChild == kNoItem &&
           childSource_->Provides(item) && childSource_->HasChildren(*this, item);
}

bool WTreeStore::MayHaveChildren(WTreeItem item) const {
    return HasChildren(item) || HasChildrenToMake(item);
}

void WTreeStore::MakeChildren(WTreeItem item) {
    if (childSource_ && IsValid(item) && childSource_->Provides(item)) {
        childSource_->MakeChildren(*this, item);
    }
}

bool WTreeStore::HasAtMostDescendants(WTreeItem item, std::size_t limit) const {
    if (!IsValid(item)) {
        return true;
    }
    std::size_t count = 0;
    const auto counted = [&](const auto&...) {
        return ++count > limit ? WTreeWalkStep::Stop : WTreeWalkStep::Continue;
    };
    if (childSource_ && childSource_->Provides(item)) {
        return childSource_->WalkDescendants(*this, item, 0, counted);
    }
    return WalkTree(*this, At(item).firstChild, 1, counted);
}
