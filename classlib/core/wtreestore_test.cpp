#include "classlib/core/wtreestore.h"

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

// A data object that says when it dies.
class Tracked : public WObject {
public:
    Tracked(int id, std::vector<int>& destroyed) : id_(id), destroyed_(destroyed) {}
    ~Tracked() override { destroyed_.push_back(id_); }
    int id() const { return id_; }

private:
    int id_;
    std::vector<int>& destroyed_;
};

class WTreeStoreTest : public ::testing::Test {
protected:
    WTreeItem Add(std::string_view label, WTreeItem parent,
                  WTreePosition position = WTreePosition::Last()) {
        return store_.Add(label, parent, 2, 2, position);
    }

    std::vector<std::string> ChildLabels(WTreeItem parent) const {
        std::vector<std::string> labels;
        WTreeItem child =
            parent == kNoItem ? store_.FirstRoot() : store_.FirstChild(parent);
        for (; child != kNoItem; child = store_.NextSibling(child)) {
            labels.emplace_back(store_.Label(child));
        }
        return labels;
    }

    WTreeStore store_;
};

using Labels = std::vector<std::string>;

}  // namespace

TEST_F(WTreeStoreTest, SortedInsertionFoldsCaseThenComparesBytes) {
    const WTreeItem root = Add("root", kNoItem);
    for (const char* label : {"inca.h", "Zeta.h", "inc\\a.h", "alpha.H", "ALPHA.c", "_u.h"}) {
        Add(label, root, WTreePosition::Sorted());
    }
    // '\' (0x5C) sorts before 'a' (0x61); '_' (0x5F) comes before every letter once
    // letters are folded to lower case, though it lies after the capitals.
    EXPECT_EQ(ChildLabels(root),
              (Labels{"_u.h", "ALPHA.c", "alpha.H", "inc\\a.h", "inca.h", "Zeta.h"}));
}

TEST_F(WTreeStoreTest, SortedInsertionPutsEqualLabelsAfterExistingOnes) {
    const WTreeItem root = Add("root", kNoItem);
    const WTreeItem first = Add("A.h", root, WTreePosition::Sorted());
    Add("b.h", root, WTreePosition::Sorted());
    const WTreeItem second = Add("a.H", root, WTreePosition::Sorted());
    const WTreeItem third = Add("a.h", root, WTreePosition::Sorted());
    EXPECT_EQ(ChildLabels(root), (Labels{"A.h", "a.H", "a.h", "b.h"}));
    EXPECT_EQ(store_.NextSibling(first), second);
    EXPECT_EQ(store_.NextSibling(second), third);
}

TEST_F(WTreeStoreTest, PositionsFirstLastAndAfter) {
    const WTreeItem root = Add("root", kNoItem);
    const WTreeItem b = Add("b", root, WTreePosition::Last());
    Add("a", root, WTreePosition::First());
    Add("d", root, WTreePosition::Last());
    Add("c", root, WTreePosition::After(b));
    Add("0", root, WTreePosition::After(kNoItem));  // like the platform's "first"
    EXPECT_EQ(ChildLabels(root), (Labels{"0", "a", "b", "c", "d"}));
}

TEST_F(WTreeStoreTest, AfterAnItemOfAnotherParentAppends) {
    const WTreeItem one = Add("one", kNoItem);
    const WTreeItem two = Add("two", kNoItem);
    const WTreeItem stranger = Add("x", two);
    Add("a", one);
    Add("b", one, WTreePosition::After(stranger));
    EXPECT_EQ(ChildLabels(one), (Labels{"a", "b"}));
    EXPECT_EQ(ChildLabels(two), (Labels{"x"}));
}

TEST_F(WTreeStoreTest, GetRelativeFollowsTheLinks) {
    const WTreeItem root = Add("root", kNoItem);
    const WTreeItem second = Add("second", kNoItem);
    const WTreeItem a = Add("a", root);
    const WTreeItem b = Add("b", root);
    const struct {
        WTreeItem item;
        int relation;
        WTreeItem expected;
    } cases[] = {
        {a, 0, root},      {kNoItem, 0, root},  {root, 1, second}, {second, 1, kNoItem},
        {b, 2, a},         {a, 2, kNoItem},     {a, 3, root},      {root, 3, kNoItem},
        {root, 4, a},      {a, 4, kNoItem},     {kNoItem, 4, kNoItem},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(store_.GetRelative(c.item, static_cast<WTreeRelation>(c.relation)), c.expected)
            << "item " << c.item << " relation " << c.relation;
    }
    EXPECT_EQ(store_.LastChild(root), b);
}

TEST_F(WTreeStoreTest, InvalidHandlesGiveNothing) {
    const WTreeItem gone = Add("gone", kNoItem);
    store_.Delete(gone);
    for (const WTreeItem item : {kNoItem, gone, WTreeItem{12345}, WTreeItem{0xFFFFFFFF}}) {
        EXPECT_EQ(store_.Parent(item), kNoItem);
        EXPECT_EQ(store_.FirstChild(item), kNoItem);
        EXPECT_EQ(store_.NextSibling(item), kNoItem);
        EXPECT_EQ(store_.Label(item), "");
        EXPECT_EQ(store_.GetData(item), nullptr);
        EXPECT_FALSE(store_.SetLabel(item, "x"));
        EXPECT_FALSE(store_.Delete(item));
        if (item != kNoItem) {
            EXPECT_EQ(store_.Add("child", item, 0, 0, WTreePosition::Last()), kNoItem);
        }
    }
    EXPECT_EQ(store_.Count(), 0u);
}

TEST_F(WTreeStoreTest, DeleteReportsEachItemOnceChildrenFirstWithItsData) {
    std::vector<int> destroyed;
    const WTreeItem root =
        store_.Add("root", kNoItem, 0, 0, WTreePosition::Last(),
                   std::make_unique<Tracked>(1, destroyed));
    const WTreeItem a = Add("a", root);
    const WTreeItem a1 = store_.Add("a1", a, 2, 2, WTreePosition::Last(),
                                    std::make_unique<Tracked>(2, destroyed));
    const WTreeItem b = Add("b", root);
    const WTreeItem other = Add("other", kNoItem);

    std::vector<WTreeItem> reported;
    std::map<WTreeItem, int> dataSeen;
    std::unique_ptr<WObject> kept;
    store_.SetDeleteHandler([&](WTreeItem item, std::unique_ptr<WObject>& data) {
        reported.push_back(item);
        if (data) {
            dataSeen[item] = static_cast<Tracked&>(*data).id();
        }
        if (item == root) {
            kept = std::move(data);  // the handler takes this one over
        }
    });
    EXPECT_TRUE(store_.Delete(root));
    EXPECT_EQ(reported, (std::vector<WTreeItem>{a1, a, b, root}));
    EXPECT_EQ(dataSeen, (std::map<WTreeItem, int>{{root, 1}, {a1, 2}}));
    EXPECT_EQ(destroyed, (std::vector<int>{2}));
    EXPECT_EQ(store_.FirstRoot(), other);
    EXPECT_EQ(store_.Count(), 1u);
    kept.reset();
    EXPECT_EQ(destroyed, (std::vector<int>{2, 1}));
}

TEST_F(WTreeStoreTest, DeletingAVeryDeepChainDoesNotRecurse) {
    constexpr int kDepth = 100000;
    std::vector<int> destroyed;
    const WTreeItem top = Add("top", kNoItem);
    WTreeItem parent = top;
    for (int level = 0; level < kDepth; ++level) {
        parent = store_.Add("level", parent, 2, 2, WTreePosition::Last(),
                            std::make_unique<Tracked>(level, destroyed));
    }
    std::map<WTreeItem, int> reports;
    int withData = 0;
    store_.SetDeleteHandler([&](WTreeItem item, std::unique_ptr<WObject>& data) {
        ++reports[item];
        withData += data != nullptr;
    });
    EXPECT_TRUE(store_.Delete(top));
    EXPECT_EQ(reports.size(), static_cast<std::size_t>(kDepth + 1));
    EXPECT_EQ(reports.begin()->second, 1);
    EXPECT_EQ(withData, kDepth);
    EXPECT_EQ(destroyed.size(), static_cast<std::size_t>(kDepth));
    EXPECT_EQ(destroyed.front(), kDepth - 1);  // deepest first
    EXPECT_EQ(store_.Count(), 0u);
}

TEST_F(WTreeStoreTest, DeleteAllReportsEveryItemAndEmptiesTheStore) {
    std::vector<int> destroyed;
    store_.Add("p", kNoItem, 0, 0, WTreePosition::Last(), std::make_unique<Tracked>(7, destroyed));
    const WTreeItem q = Add("q", kNoItem);
    Add("q1", q);
    int reports = 0;
    store_.SetDeleteHandler([&](WTreeItem, std::unique_ptr<WObject>&) { ++reports; });
    store_.DeleteAll();
    EXPECT_EQ(reports, 3);
    EXPECT_EQ(destroyed, (std::vector<int>{7}));
    EXPECT_EQ(store_.FirstRoot(), kNoItem);
    EXPECT_EQ(store_.Count(), 0u);
    const WTreeItem fresh = Add("fresh", kNoItem);
    EXPECT_EQ(store_.Label(fresh), "fresh");
}

TEST_F(WTreeStoreTest, DestructorDestroysRemainingData) {
    std::vector<int> destroyed;
    {
        WTreeStore store;
        store.Add("p", kNoItem, 0, 0, WTreePosition::Last(), std::make_unique<Tracked>(3, destroyed));
    }
    EXPECT_EQ(destroyed, (std::vector<int>{3}));
}

TEST_F(WTreeStoreTest, DeletedHandlesAreReused) {
    const WTreeItem root = Add("root", kNoItem);
    const WTreeItem gone = Add("gone", root);
    store_.Delete(gone);
    const WTreeItem again = Add("again", root);
    EXPECT_EQ(again, gone);
    EXPECT_EQ(store_.Label(again), "again");
    EXPECT_EQ(store_.FirstChild(again), kNoItem);
    EXPECT_EQ(ChildLabels(root), (Labels{"again"}));
}

TEST_F(WTreeStoreTest, FindDescendantWalksPreOrderAndStopsAtTheFirstHit) {
    const WTreeItem root = Add("root", kNoItem);
    const WTreeItem a = Add("a", root);
    Add("a1", a);
    const WTreeItem a2 = Add("a2", a);
    Add("a2x", a2);
    const WTreeItem b = Add("b", root);
    Add("b1", b);
    Add("outside", kNoItem);

    std::vector<std::string> visited;
    EXPECT_EQ(store_.FindDescendant(root,
                                    [&](WTreeItem item) {
                                        visited.emplace_back(store_.Label(item));
                                        return false;
                                    }),
              kNoItem);
    EXPECT_EQ(visited, (Labels{"a", "a1", "a2", "a2x", "b", "b1"}));

    visited.clear();
    EXPECT_EQ(store_.FindDescendant(root,
                                    [&](WTreeItem item) {
                                        visited.emplace_back(store_.Label(item));
                                        return item == a2;
                                    }),
              a2);
    EXPECT_EQ(visited, (Labels{"a", "a1", "a2"}));

    visited.clear();
    store_.FindDescendant(a2, [&](WTreeItem item) {
        visited.emplace_back(store_.Label(item));
        return false;
    });
    EXPECT_EQ(visited, (Labels{"a2x"}));
}

TEST_F(WTreeStoreTest, SameTextSharesOneLabel) {
    const WTreeItem a = Add("stdio.h", kNoItem);
    const WTreeItem b = Add("stdio.h", a);
    const WTreeItem c = Add("STDIO.H", a);
    EXPECT_EQ(store_.LabelOf(a), store_.LabelOf(b));
    EXPECT_NE(store_.LabelOf(a), store_.LabelOf(c));
    const WTreeItem shared =
        store_.AddShared(store_.LabelOf(a), b, 1, 2, WTreePosition::Last());
    EXPECT_EQ(store_.Label(shared), "stdio.h");
    EXPECT_EQ(store_.Image(shared), 1);
    EXPECT_EQ(store_.SelectedImage(shared), 2);
    EXPECT_EQ(store_.AddShared(99999, a, 0, 0, WTreePosition::Last()), kNoItem);
}

TEST_F(WTreeStoreTest, SetLabelReplacesOnlyThatItemsLabel) {
    const WTreeItem a = Add("same", kNoItem);
    const WTreeItem b = Add("same", kNoItem);
    EXPECT_TRUE(store_.SetLabel(a, "changed"));
    EXPECT_EQ(store_.Label(a), "changed");
    EXPECT_EQ(store_.Label(b), "same");
    EXPECT_EQ(store_.GetLabel(a).Str(), "changed");
}

namespace {

class RecordingObserver : public WTreeStoreObserver {
public:
    void ItemAdded(WTreeItem item) override { Log("added", item); }
    void ItemAboutToBeRemoved(WTreeItem item) override { Log("removing", item); }
    void ItemRemoved(WTreeItem parent) override { Log("removed", parent); }
    void LabelChanged(WTreeItem item) override { Log("label", item); }
    void AllRemoved() override { events.emplace_back("all"); }

    std::vector<std::string> events;

private:
    void Log(const char* what, WTreeItem item) {
        events.push_back(std::string(what) + " " + std::to_string(item));
    }
};

}  // namespace

TEST_F(WTreeStoreTest, ObserverHearsEveryChange) {
    RecordingObserver observer;
    store_.SetObserver(&observer);
    const WTreeItem root = Add("root", kNoItem);
    const WTreeItem child = Add("child", root);
    const WTreeItem grandchild = Add("grandchild", child);
    store_.SetLabel(child, "renamed");
    store_.Delete(child);
    store_.DeleteAll();
    const std::string r = std::to_string(root), c = std::to_string(child);
    EXPECT_EQ(observer.events,
              (Labels{"added " + r, "added " + c, "added " + std::to_string(grandchild),
                      "label " + c, "removing " + c,
                      "removed " + r, "all"}));
    store_.SetObserver(nullptr);
}

// Long sibling lists get an ordered index for sorted insertion; whatever the
// mix of operations, the order must be that of the plain rule: after the last
// sibling whose label is not greater, scanning from the end. Most operations
// keep the list in order (so the index is built and used); now and then a
// small label is put in the middle, and it and every item sorted in while it
// was there are taken out again together, which restores the order.
TEST_F(WTreeStoreTest, SortedInsertionIntoLongListsFollowsThePlainRule) {
    const WTreeItem parent = Add("Filelist", kNoItem);
    std::vector<std::string> model;
    std::vector<WTreeItem> items;     // parallel to model
    std::vector<WTreeItem> disorder;  // the misplaced item and those sorted in after it
    std::uint32_t seed = 12345;
    const auto random = [&seed](std::uint32_t below) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) % below;
    };
    const auto indexOf = [&](WTreeItem item) {
        return static_cast<std::size_t>(std::find(items.begin(), items.end(), item) -
                                        items.begin());
    };
    const auto eraseAt = [&](std::size_t at) {
        std::erase(disorder, items[at]);
        store_.Delete(items[at]);
        items.erase(items.begin() + at);
        model.erase(model.begin() + at);
    };
    for (int step = 0; step < 4000; ++step) {
        const std::string label = "File" + std::to_string(random(400)) + (random(2) ? ".h" : ".H");
        const std::uint32_t action = random(100);
        const auto any = [&] { return random(static_cast<std::uint32_t>(model.size())); };
        if (action < 75 || model.empty()) {
            std::size_t at = model.size();
            while (at > 0 && WTreeStore::CompareLabels(model[at - 1], label) > 0) {
                --at;
            }
            const WTreeItem added = Add(label, parent, WTreePosition::Sorted());
            items.insert(items.begin() + at, added);
            model.insert(model.begin() + at, label);
            if (!disorder.empty()) {
                disorder.push_back(added);
            }
        } else if (action < 83) {
            eraseAt(any());
        } else if (action < 87) {
            const std::size_t at = any();  // same label in other case: still in order
            std::string relabelled = model[at];
            relabelled.back() = relabelled.back() == 'h' ? 'H' : 'h';
            store_.SetLabel(items[at], relabelled);
            model[at] = relabelled;
        } else if (action < 89) {
            items.insert(items.begin(), Add("!first", parent, WTreePosition::First()));
            model.insert(model.begin(), "!first");
        } else if (action < 90 && disorder.empty()) {
            const std::size_t at = any();
            if (random(2) == 0) {
                disorder.push_back(Add("!!out", parent, WTreePosition::After(items[at])));
                items.insert(items.begin() + at + 1, disorder.back());
                model.insert(model.begin() + at + 1, "!!out");
            } else {
                disorder.push_back(items[at]);
                store_.SetLabel(items[at], "!!out");
                model[at] = "!!out";
            }
        } else if (action < 94 && !disorder.empty()) {
            while (!disorder.empty()) {
                eraseAt(indexOf(disorder.back()));
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
    for (std::size_t i = 0; i < items.size(); ++i) {
        ASSERT_EQ(store_.Label(items[i]), model[i]);
    }
}
