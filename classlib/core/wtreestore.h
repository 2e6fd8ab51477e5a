#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "classlib/core/wobject.h"
#include "classlib/core/wstring.h"

// Handle of a tree item; 0 means "none".
using WTreeItem = std::uint32_t;
inline constexpr WTreeItem kNoItem = 0;

// Handle of a shared label. Many nodes of a scanned project carry the same
// path, so a label is stored once and nodes refer to it.
using WTreeLabel = std::uint32_t;

// Relations understood by WTreeStore::GetRelative, with the class library's values.
enum class WTreeRelation : int {
    FirstRoot = 0,
    NextSibling = 1,
    PreviousSibling = 2,
    Parent = 3,
    FirstChild = 4,
};

// Where a new item goes among its siblings.
struct WTreePosition {
    enum class Kind { First, Last, After, Sorted };
    Kind kind = Kind::Last;
    WTreeItem after = kNoItem;  // only for Kind::After

    static WTreePosition First() { return {Kind::First, kNoItem}; }
    static WTreePosition Last() { return {Kind::Last, kNoItem}; }
    // After the given sibling; kNoItem means first, like the platform's TVI_FIRST.
    static WTreePosition After(WTreeItem sibling) { return {Kind::After, sibling}; }
    static WTreePosition Sorted() { return {Kind::Sorted, kNoItem}; }
};

// Told about every change, so that a view can follow the store. All calls are
// made synchronously from the mutating operation.
class WTreeStoreObserver {
public:
    virtual ~WTreeStoreObserver() = default;
    virtual void ItemAdded(WTreeItem item) = 0;
    // Before the item and its descendants are removed.
    virtual void ItemAboutToBeRemoved(WTreeItem item) = 0;
    virtual void ItemRemoved(WTreeItem parent) = 0;
    virtual void LabelChanged(WTreeItem item) = 0;
    virtual void AllRemoved() = 0;
};

// What a walk over a tree does after an item: go into its children, pass them
// by, or end.
enum class WTreeWalkStep { Continue, SkipChildren, Stop };

class WTreeStore;
class WTreeLineWriter;
class WTreeSearchWalk;

// Gives the children of some items on demand, so that a tree much larger than
// memory can be shown: the store holds what has been asked for, and a walk
// sees every item, made or not. The children it makes for an item are the
// same on every call.
class WTreeChildSource {
public:
    // Called for each descendant in pre-order: its level, its label, its image
    // and its place below the walk's item (the ordinal among its siblings at
    // each level, from the item's children down).
    using Visit = std::function<WTreeWalkStep(int level, std::string_view label, int image,
                                              const std::vector<std::uint32_t>& place)>;

    virtual ~WTreeChildSource() = default;
    // Whether the children of item come from here.
    virtual bool Provides(WTreeItem item) const = 0;
    // Whether item has children, made or not.
    virtual bool HasChildren(const WTreeStore& store, WTreeItem item) = 0;
    // Adds the children of item to the store when they are not there yet.
    virtual void MakeChildren(WTreeStore& store, WTreeItem item) = 0;
    // Walks the descendants of item (at level itemLevel) without making them;
    // false when visit ended the walk.
    virtual bool WalkDescendants(const WTreeStore& store, WTreeItem item, int itemLevel,
                                 const Visit& visit) = 0;
    // Walks the descendants of item (at level itemLevel) for a search, made or
    // not, without making them: each one passed and each hit reported to
    // search, in pre-order; false when search ended the walk. This one walks
    // what WalkDescendants gives; a source may pass by a subtree it gives
    // alike wherever it recurs once search knows it holds no hit.
    virtual bool SearchDescendants(const WTreeStore& store, WTreeItem item, int itemLevel,
                                   WTreeSearchWalk& search);
    // Makes the items down to place (as a walk gave it) and returns the last.
    virtual WTreeItem MakePlace(WTreeStore& store, WTreeItem item,
                                const std::vector<std::uint32_t>& place);
    // Writes the lines of the descendants of item (at level itemLevel), made
    // or not, at most room of them, and returns how many; complete is false
    // when more would have followed. This one writes what WalkDescendants
    // gives; a source may copy text it has written before.
    virtual std::size_t WriteDescendantLines(const WTreeStore& store, WTreeItem item, int itemLevel,
                                             WTreeLineWriter& lines, std::size_t room,
                                             bool& complete);
};

// The item store of a tree view: labelled items with images, an optional owned
// data object, a parent and ordered children. Built for tens of millions of
// items: items live in fixed-size chunks (no reallocation spikes past the
// first, which starts small so that a small tree costs little), links are
// 32-bit handles, and labels are interned.
class WTreeStore {
public:
    // Called once for every deleted item, children before their parent. The
    // handler may take the data object; what it leaves is destroyed.
    using DeleteHandler = std::function<void(WTreeItem item, std::unique_ptr<WObject>& data)>;

    WTreeStore();
    ~WTreeStore();
    WTreeStore(const WTreeStore&) = delete;
    WTreeStore& operator=(const WTreeStore&) = delete;

    WTreeItem Add(std::string_view label, WTreeItem parent, int image, int selectedImage,
                  WTreePosition position, std::unique_ptr<WObject> data = nullptr);
    WTreeItem AddShared(WTreeLabel label, WTreeItem parent, int image, int selectedImage,
                        WTreePosition position);
    // The handle of a label text, creating it on first use.
    WTreeLabel InternLabel(std::string_view text);
    std::string_view LabelText(WTreeLabel label) const;
    // Handles run from 0 to LabelCount() - 1.
    std::size_t LabelCount() const { return labels_.size(); }

    WTreeItem GetRelative(WTreeItem item, WTreeRelation relation) const;
    WTreeItem FirstRoot() const { return firstRoot_; }
    WTreeItem Parent(WTreeItem item) const;
    WTreeItem FirstChild(WTreeItem item) const;
    WTreeItem LastChild(WTreeItem item) const;
    WTreeItem NextSibling(WTreeItem item) const;
    WTreeItem PreviousSibling(WTreeItem item) const;
    bool HasChildren(WTreeItem item) const { return FirstChild(item) != kNoItem; }

    // Labels come back whole; an unknown item has the empty label.
    std::string_view Label(WTreeItem item) const;
    WString GetLabel(WTreeItem item) const { return WString(Label(item)); }
    WTreeLabel LabelOf(WTreeItem item) const;
    bool SetLabel(WTreeItem item, std::string_view label);
    int Image(WTreeItem item) const;
    int SelectedImage(WTreeItem item) const;
    WObject* GetData(WTreeItem item) const;
    bool IsValid(WTreeItem item) const;

    // Deletes the item with all its descendants, reporting each one.
    bool Delete(WTreeItem item);
    // Deletes every item, reporting each one, and empties the label pool:
    // label handles obtained before are void afterwards.
    void DeleteAll();
    void SetDeleteHandler(DeleteHandler handler) { deleteHandler_ = std::move(handler); }

    // Pre-order walk of the made descendants of item (not item itself), the
    // child source left alone; returns the first one for which test is true,
    // or kNoItem.
    WTreeItem FindDescendant(WTreeItem item, const std::function<bool(WTreeItem)>& test) const;
    // Whether item has at most limit descendants, made or still to be made;
    // counts no further than that.
    bool HasAtMostDescendants(WTreeItem item, std::size_t limit) const;

    std::size_t Count() const { return liveCount_; }

    // Children made on demand (see WTreeChildSource); dropped with DeleteAll.
    void SetChildSource(std::unique_ptr<WTreeChildSource> source) {
        childSource_ = std::move(source);
    }
    WTreeChildSource* ChildSource() const { return childSource_.get(); }
    // Whether item has children, made or still to be made.
    bool MayHaveChildren(WTreeItem item) const;
    // Whether item's children are still to be made.
    bool HasChildrenToMake(WTreeItem item) const;
    // Makes item's children when they are still to be made.
    void MakeChildren(WTreeItem item);

    void SetObserver(WTreeStoreObserver* observer) { observer_ = observer; }

private:
    struct Node;
    Node& At(WTreeItem item);
    const Node& At(WTreeItem item) const;
    WTreeItem Allocate();
    void Link(WTreeItem item, WTreeItem parent, WTreePosition position);
    void Unlink(WTreeItem item);
    WTreeItem SortedPredecessor(WTreeItem parent, std::string_view label, std::size_t& steps) const;
    void Release(WTreeItem item);
    struct SortedIndex;
    SortedIndex* FindSortedIndex(WTreeItem parent) const;
    void BuildSortedIndexIfOrdered(WTreeItem parent);
    void DropSortedIndex(WTreeItem parent);
    void DeleteDetachedSubtree(WTreeItem top);
    void ReportDeleted(WTreeItem item);

    static constexpr std::uint32_t kChunkBits = 16;
    std::vector<std::unique_ptr<Node[]>> chunks_;
    std::uint32_t nextUnused_ = 1;  // handle 0 is never used
    WTreeItem freeList_ = kNoItem;
    WTreeItem firstRoot_ = kNoItem;
    WTreeItem lastRoot_ = kNoItem;
    std::size_t liveCount_ = 0;

    std::deque<std::string> labels_;  // deque: stable addresses for the index keys
    std::unordered_map<std::string_view, WTreeLabel> labelIndex_;
    std::unordered_map<WTreeItem, std::unique_ptr<WObject>> data_;
    // Parents with many children in label order get an ordered index, so that
    // sorted insertion into a long file list does not walk the siblings.
    std::unordered_map<WTreeItem, std::unique_ptr<SortedIndex>> sortedIndexes_;

    DeleteHandler deleteHandler_;
    WTreeStoreObserver* observer_ = nullptr;
    std::unique_ptr<WTreeChildSource> childSource_;
};
