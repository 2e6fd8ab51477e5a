#include "classlib/core/wtreesearch.h"

#include <gtest/gtest.h>

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
