#include "project/targetlabel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct LabelRow {
    std::string label;
    std::string text;
    std::string file;
};

TEST(TargetLabel, BuildsAndReadsTheFileAfterTheLastOpeningBracket) {
    EXPECT_EQ(TargetLabel("Target: a  Windows Executable", "a.tgt"),
              "Target: a  Windows Executable [a.tgt]");
    const std::vector<LabelRow> rows = {
        {"Project: p [p.wpj]", "Project: p", "p.wpj"},
        {"Target: a [x]  desc [a.tgt]", "Target: a [x]  desc", "a.tgt"},
        {"Target: a[1]  desc [a[1].tgt]", "Target: a[1]  desc", "a[1].tgt"},
        {"Target: a []", "Target: a", ""},
        // No file: the whole label.
        {"Target: a", "Target: a", "Target: a"},
        {"odd ] then [ open", "odd ] then [ open", "odd ] then [ open"},
        {"[a.tgt]", "[a.tgt]", "[a.tgt]"},
    };
    for (const LabelRow& row : rows) {
        EXPECT_EQ(TargetLabelText(row.label), row.text) << row.label;
        EXPECT_EQ(TargetLabelFile(row.label), row.file) << row.label;
    }
}

}  // namespace
