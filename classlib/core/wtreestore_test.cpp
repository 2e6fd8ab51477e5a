#include "classlib/core/wtreestore.h"

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "classlib/core/asciicase.h"

namespace {

using Labels = std::vector<std::string>;

// A data object that says when it dies.
struct Tracked : WObject {
    Tracked(int number, std::vector<int>& destroyed) : id(number), log(destroyed) {}
    ~Tracked() override { log.push_back(id); }
    int id;
    std::vector<int>& log;
};

class WTreeStoreTest : public ::testing::Test {
protected:
    WTreeItem Add(std::string_view label, WTreeItem parent,
                  WTreePosition position = WTreePosition::Last()) {
        return store_.Add(label, parent, 2, 2, position);
    }
    WTreeItem AddTracked(std::string_view label, WTreeItem parent, int id) {
        return store_.Add(label, parent, 2, 2, WTreePosition::Last(),
                          std::make_unique<Tracked>(id, destroyed_));
    }
    Labels ChildLabels(WTreeItem parent) const {
        Labels labels;
        WTreeItem child = parent == kNoItem ? store_.FirstRoot() : store_.FirstChild(parent);
        for (; child != kNoItem; child = store_.NextSibling(child)) {
            labels.emplace_back(store_.Label(child));
        }
        return labels;
    }

    WTreeStore store_;
    std::vector<int> destroyed_;
};

}  // namespace

TEST_F(WTreeStoreTest, SortedInsertionFoldsCaseComparesBytesAndPutsEqualLabelsAfter) {
    const WTreeItem root = Add("root", kNoItem);
    for (const char* label : {"inca.h", "Zeta.h", "inc\\a.h", "alpha.H", "ALPHA.c", "_u.h"}) {
        Add(label, root, WTreePosition::Sorted());
    }
    // '\' (0x5C) sorts before 'a'; '_' (0x5F) before every letter once folded to lower case.
    EXPECT_EQ(ChildLabels(root),
              (Labels{"_u.h", "ALPHA.c", "alpha.H", "inc\\a.h", "inca.h", "Zeta.h"}));
    const WTreeItem other = Add("other", kNoItem);
    for (const char* label : {"a", "A.h", "b.h", "a.H", "a.h", "b"}) {
        Add(label, other, WTreePosition::Sorted());
    }
    // A label that is the start of another sorts before it.
    EXPECT_EQ(ChildLabels(other), (Labels{"a", "A.h", "a.H", "a.h", "b", "b.h"}));
}

TEST_F(WTreeStoreTest, PositionsFirstLastAndAfterWithForeignAfterAppending) {
    const WTreeItem root = Add("root", kNoItem);
    const WTreeItem b = Add("b", root, WTreePosition::Last());
    const WTreeItem a = Add("a", root, WTreePosition::First());
    Add("d", root, WTreePosition::Last());
    Add("c", root, WTreePosition::After(b));
    const WTreeItem zero = Add("0", root, WTreePosition::After(kNoItem));  // the platform's "first"
    const WTreeItem two = Add("two", kNoItem);
    const WTreeItem stranger = Add("x", two);
    Add("e", root, WTreePosition::After(stranger));
    EXPECT_EQ(ChildLabels(root), (Labels{"0", "a", "b", "c", "d", "e"}));
    EXPECT_EQ(ChildLabels(two), (Labels{"x"}));
    EXPECT_EQ(store_.GetRelative(b, WTreeRelation::FirstRoot), root);
    EXPECT_EQ(store_.GetRelative(root, WTreeRelation::NextSibling), two);
    EXPECT_EQ(store_.GetRelative(b, WTreeRelation::PreviousSibling), a);
    EXPECT_EQ(store_.GetRelative(b, WTreeRelation::Parent), root);
    EXPECT_EQ(store_.GetRelative(root, WTreeRelation::FirstChild), zero);
    EXPECT_EQ(store_.GetRelative(zero, WTreeRelation::PreviousSibling), kNoItem);
}

TEST_F(WTreeStoreTest, InvalidAndDeletedHandlesGiveNothingUntilReusedClean) {
    const WTreeItem gone = Add("gone", kNoItem);
    store_.Delete(gone);
    for (const WTreeItem item : {kNoItem, gone, WTreeItem{12345}, WTreeItem{0xFFFFFFFF}}) {
        SCOPED_TRACE(item);
        EXPECT_EQ(store_.Parent(item), kNoItem);
        EXPECT_EQ(store_.Label(item), "");
        EXPECT_EQ(store_.GetData(item), nullptr);
        EXPECT_FALSE(store_.SetLabel(item, "x"));
        EXPECT_FALSE(store_.Delete(item));
        if (item != kNoItem) {
            EXPECT_EQ(store_.Add("child", item, 0, 0, WTreePosition::Last()), kNoItem);
        }
    }
    EXPECT_EQ(store_.Count(), 0u);
    const WTreeItem root = Add("root", kNoItem);
    EXPECT_EQ(root, gone);
    EXPECT_EQ(store_.Label(root), "root");
    const WTreeItem child = Add("child", root);
    Add("grandchild", child);
    store_.Delete(child);
    EXPECT_EQ(Add("again", root), child);
    EXPECT_EQ(ChildLabels(child), Labels{});
    EXPECT_EQ(ChildLabels(root), (Labels{"again"}));
}

TEST_F(WTreeStoreTest, DeleteReportsEachItemOnceChildrenFirstWithItsData) {
    const WTreeItem root = AddTracked("root", kNoItem, 1);
    const WTreeItem a = Add("a", root);
    const WTreeItem a1 = AddTracked("a1", a, 2);
    const WTreeItem b = Add("b", root);
    AddTracked("q", Add("other", kNoItem), 3);
    std::vector<std::pair<WTreeItem, int>> reported;  // each item with its data's id, or 0
    std::unique_ptr<WObject> kept;
    store_.SetDeleteHandler([&](WTreeItem item, std::unique_ptr<WObject>& data) {
        reported.emplace_back(item, data ? static_cast<Tracked&>(*data).id : 0);
        if (item == root) {
            kept = std::move(data);  // the handler takes this one over
        }
    });
    EXPECT_TRUE(store_.Delete(root));
    EXPECT_EQ(reported, (decltype(reported){{a1, 2}, {a, 0}, {b, 0}, {root, 1}}));
    EXPECT_EQ(destroyed_, (std::vector<int>{2}));
    EXPECT_EQ(ChildLabels(kNoItem), (Labels{"other"}));
    kept.reset();
    EXPECT_EQ(destroyed_, (std::vector<int>{2, 1}));

    reported.clear();
    store_.DeleteAll();  // reports the rest; the store then works as new
    EXPECT_EQ(reported.size(), 2u);
    EXPECT_EQ(destroyed_, (std::vector<int>{2, 1, 3}));
    EXPECT_EQ(store_.Count(), 0u);
    EXPECT_EQ(store_.Label(Add("fresh", kNoItem)), "fresh");
    {
        WTreeStore store;  // its destructor destroys the data left in it
        store.Add("p", kNoItem, 0, 0, WTreePosition::Last(),
                  std::make_unique<Tracked>(4, destroyed_));
    }
    EXPECT_EQ(destroyed_, (std::vector<int>{2, 1, 3, 4}));
}

TEST_F(WTreeStoreTest, DeletingAVeryDeepChainReportsEachOnceWithoutRecursion) {
    constexpr int kDepth = 100000;
    WTreeItem parent = Add("top", kNoItem);
    for (int level = 0; level < kDepth; ++level) {
        parent = AddTracked("level", parent, level);
    }
    std::map<WTreeItem, int> reports;
    store_.SetDeleteHandler([&](WTreeItem item, std::unique_ptr<WObject>&) { ++reports[item]; });
    EXPECT_TRUE(store_.Delete(store_.FirstRoot()));
    EXPECT_EQ(reports.size(), static_cast<std::size_t>(kDepth + 1));
    EXPECT_EQ(std::count_if(reports.begin(), reports.end(), [](auto& r) { return r.second != 1; }),
              0);
    EXPECT_EQ(destroyed_.size(), static_cast<std::size_t>(kDepth));
    EXPECT_EQ(destroyed_.front(), kDepth - 1);  // deepest first
}

TEST_F(WTreeStoreTest, FindDescendantWalksPreOrderBelowTheStartAndStopsAtTheFirstHit) {
    const WTreeItem root = Add("root", kNoItem);
    const WTreeItem a = Add("a", root);
    Add("a1", a);
    const WTreeItem a2 = Add("a2", a);
    Add("a2x", a2);
    Add("b1", Add("b", root));
    Add("outside", kNoItem);
    Labels visited;
    const auto find = [&](WTreeItem start, WTreeItem wanted) {
        visited.clear();
        return store_.FindDescendant(start, [&](WTreeItem item) {
            visited.emplace_back(store_.Label(item));
            return item == wanted;
        });
    };
    EXPECT_EQ(find(root, kNoItem), kNoItem);
    EXPECT_EQ(visited, (Labels{"a", "a1", "a2", "a2x", "b", "b1"}));
    EXPECT_EQ(find(root, a2), a2);
    EXPECT_EQ(visited, (Labels{"a", "a1", "a2"}));
    EXPECT_EQ(find(a2, kNoItem), kNoItem);
    EXPECT_EQ(visited, (Labels{"a2x"}));
    EXPECT_EQ(find(store_.FirstChild(a2), kNoItem), kNoItem);  // a leaf has no descendants
    EXPECT_EQ(visited, Labels{});
}

// Long sibling lists get an ordered index for sorted insertion; whatever the mix of operations,
// the order must be that of the plain rule: after the last sibling whose label is not greater,
// scanning from the end. Equal texts share one label, so relabelling one item in another case
// must leave its twins alone. Now and then a small label is put in the middle (breaking the order
// the index relies on); it and every item sorted in while it was there are then taken out again.
TEST_F(WTreeStoreTest, SortedInsertionIntoLongListsFollowsThePlainRule) {
    const WTreeItem parent = Add("Filelist", kNoItem);
    Labels model;
    std::vector<WTreeItem> disorder;  // the misplaced item and those sorted in after it
    std::uint32_t seed = 12345;
    const auto random = [&seed](std::uint32_t below) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) % below;
    };
    const auto itemAt = [&](std::size_t at) {
        WTreeItem item = store_.FirstChild(parent);
        for (; at > 0; --at) {
            item = store_.NextSibling(item);
        }
        return item;
    };
    const auto eraseAt = [&](std::size_t at) {
        std::erase(disorder, itemAt(at));
        store_.Delete(itemAt(at));
        model.erase(model.begin() + at);
    };
    for (int step = 0; step < 1500; ++step) {
        const std::string label = "File" + std::to_string(random(400)) + (random(2) ? ".h" : ".H");
        const std::uint32_t action = random(100);
        const auto any = [&] { return random(static_cast<std::uint32_t>(model.size())); };
        if (action < 75 || model.empty()) {
            std::size_t at = model.size();
            while (at > 0 && CompareIgnoringAsciiCase(model[at - 1], label) > 0) {
                --at;
            }
            model.insert(model.begin() + at, label);
            const WTreeItem added = Add(label, parent, WTreePosition::Sorted());
            if (!disorder.empty()) {
                disorder.push_back(added);
            }
        } else if (action < 83) {
            eraseAt(any());
        } else if (action < 87) {
            const std::size_t at = any();  // same label in other case: still in order
            model[at].back() = model[at].back() == 'h' ? 'H' : 'h';
            store_.SetLabel(itemAt(at), model[at]);
        } else if (action < 89) {
            model.insert(model.begin(), "!first");
            Add("!first", parent, WTreePosition::First());
        } else if (action < 90 && disorder.empty()) {
            const std::size_t at = any();
            if (random(2) == 0) {
                model.insert(model.begin() + at + 1, "!!out");
                disorder.push_back(Add("!!out", parent, WTreePosition::After(itemAt(at))));
            } else {
                model[at] = "!!out";
                disorder.push_back(itemAt(at));
                store_.SetLabel(disorder.back(), "!!out");
            }
        } else if (action < 94 && !disorder.empty()) {
            while (!disorder.empty()) {
                std::size_t at = 0;
                for (WTreeItem item = store_.FirstChild(parent); item != disorder.back(); ++at) {
                    item = store_.NextSibling(item);
                }
                eraseAt(at);
            }
        } else {
            // Deleting indexed parents must not leave a stale index for a reused handle.
            const WTreeItem other = Add("other", kNoItem);
            for (int i = 0; i < 80; ++i) {
                Add(std::to_string(1000 - i), other, WTreePosition::Sorted());
            }
            store_.Delete(other);
        }
        if (step % 50 == 49) {
            ASSERT_EQ(ChildLabels(parent), model) << "after step " << step;
        }
    }
    EXPECT_EQ(ChildLabels(parent), model);
}
