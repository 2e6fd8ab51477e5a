#include "classlib/core/wtreesearch.h"

#include <gtest/gtest.h>

#include <memory>

#include <string>
#include <vector>

namespace {

// p { a.C { x.h } b.c } q { A.c }
class WTreeSearchTest : public ::testing::Test {
protected:
    WTreeSearchTest() {
        const WTreeItem p = Add("p", kNoItem);
        const WTreeItem a = Add("a.C", p);
        Add("x.h", a);
        Add("b.c", p);
        Add("A.c", Add("q", kNoItem));
    }
    WTreeItem Add(std::string_view label, WTreeItem parent) {
        return store_.Add(label, parent, 2, 2, WTreePosition::Last());
    }
    std::vector<std::string> Labels(const std::vector<WTreeItem>& items) const {
        std::vector<std::string> labels;
        for (WTreeItem item : items) {
            labels.emplace_back(store_.Label(item));
        }
        return labels;
    }
    WTreeStore store_;
};

TEST_F(WTreeSearchTest, FindsEveryLabelContainingTheTextInPreOrderWithoutRegardToCase) {
    WTreeSearch search(store_, ".C");
    EXPECT_EQ(Labels({search.FindFrom(store_.FirstRoot())}), std::vector<std::string>{"a.C"});
    EXPECT_EQ(search.Count(), 3u);
    std::vector<WTreeItem> steps;
    for (auto direction : {WTreeSearch::Direction::Forward, WTreeSearch::Direction::Backward,
                           WTreeSearch::Direction::Backward, WTreeSearch::Direction::Forward}) {
        steps.push_back(search.Step(direction));
    }
    EXPECT_EQ(Labels(steps), (std::vector<std::string>{"a.C", "A.c", "b.c", "A.c"}));
    EXPECT_EQ(search.Position(), 3u);

    WTreeSearch none(store_, "zz");  // no hit: nothing to step to
    EXPECT_EQ(none.FindFrom(store_.FirstRoot()), kNoItem);
    EXPECT_EQ(none.Step(WTreeSearch::Direction::Forward), kNoItem);
    EXPECT_EQ(none.Position(), 0u);
}

}  // namespace

// Below "b.c" a source makes { v.c { w.h } x.c } on demand: the search counts
// them without making them, and makes only the way to a hit it returns.
class MadeOnDemand : public WTreeChildSource {
public:
    explicit MadeOnDemand(WTreeItem parent) : parent_(parent) {}
    bool Provides(WTreeItem item) const override { return item == parent_; }
    bool HasChildren(const WTreeStore&, WTreeItem) override { return true; }
    void MakeChildren(WTreeStore& store, WTreeItem item) override {
        if (item == parent_ && !store.HasChildren(item)) {
            store.Add("w.h", store.Add("v.c", item, 2, 2, WTreePosition::Last()), 2, 2,
                      WTreePosition::Last());
            store.Add("x.c", item, 2, 2, WTreePosition::Last());
        }
    }
    bool WalkDescendants(const WTreeStore&, WTreeItem, int level, const Visit& visit) override {
        return visit(level + 1, "v.c", 2, {0}) != WTreeWalkStep::Stop &&
               visit(level + 2, "w.h", 2, {0, 0}) != WTreeWalkStep::Stop &&
               visit(level + 1, "x.c", 2, {1}) != WTreeWalkStep::Stop;
    }

private:
    WTreeItem parent_;
};

TEST_F(WTreeSearchTest, FindsChildrenNotMadeYetAndMakesOnlyTheWayToAHit) {
    const WTreeItem b = store_.NextSibling(store_.FirstChild(store_.FirstRoot()));
    store_.SetChildSource(std::make_unique<MadeOnDemand>(b));
    WTreeSearch search(store_, "W.H");
    const std::size_t before = store_.Count();
    EXPECT_EQ(search.Count(), 1u);
    EXPECT_EQ(store_.Count(), before);
    const WTreeItem hit = search.Step(WTreeSearch::Direction::Forward);
    EXPECT_EQ(store_.Label(hit), "w.h");
    EXPECT_EQ(Labels({store_.Parent(hit), store_.Parent(store_.Parent(hit))}),
              (std::vector<std::string>{"v.c", "b.c"}));
    WTreeSearch counted(store_, ".c", 4);  // p, a.C, x.h, b.c: stopped before v.c
    EXPECT_EQ(counted.Count(), 2u);
    EXPECT_EQ(counted.Complete(), false);
}

// The views expand a subtree at once only when it is small: children still to be made count,
// and counting makes none of them. p holds a.C, x.h and b.c, and b.c three more on demand.
TEST_F(WTreeSearchTest, CountsDescendantsNotMadeYetWithoutMakingThem) {
    const WTreeItem p = store_.FirstRoot();
    const WTreeItem b = store_.NextSibling(store_.FirstChild(p));
    store_.SetChildSource(std::make_unique<MadeOnDemand>(b));
    const std::size_t before = store_.Count();
    const WTreeItem leaf = store_.FirstChild(store_.FirstChild(p));
    const auto atMost = [&](WTreeItem item, std::size_t limit) {
        return store_.HasAtMostDescendants(item, limit);
    };
    EXPECT_EQ((std::vector<bool>{atMost(p, 6), atMost(p, 5), atMost(b, 3), atMost(b, 2),
                                 atMost(leaf, 0), atMost(kNoItem, 0)}),
              (std::vector<bool>{true, false, true, false, true, true}));
    EXPECT_EQ(store_.Count(), before);
}
