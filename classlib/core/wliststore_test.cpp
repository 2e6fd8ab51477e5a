#include "classlib/core/wliststore.h"

#include <string>

#include <gtest/gtest.h>

namespace {

struct RecordingObserver : WListStoreObserver {
    void ColumnsChanged() override { events += "columns "; }
    void RowAppended(int row) override { events += "row" + std::to_string(row) + " "; }
    void CellChanged(int row, int column) override {
        events += "cell" + std::to_string(row) + std::to_string(column) + " ";
    }
    void ColumnWidthChanged(int column) override {
        events += "width" + std::to_string(column) + " ";
    }
    void AllRowsRemoved() override { events += "cleared"; }
    std::string events;
};

// Two columns as the copy dialog has them: file name and result. With the default measure of
// 7 pixels a character, "src\main.c" is 70 pixels wide and "Result header" 91.
void FillLikeTheCopyDialog(WListStore& store) {
    store.AddColumn("File");
    store.AddColumn("Result header");
    store.AppendRow("src\\main.c");
    store.SetCell(0, 1, "copied");
}

}  // namespace

TEST(WListStore, AddColumnTakesItsWidthFromTheHeaderOrNoneAndMovesCells) {
    WListStore store;
    FillLikeTheCopyDialog(store);
    EXPECT_EQ(store.ColumnAt(0).width, 0);
    EXPECT_EQ(store.AddColumn("Size", WListStore::kAppend, -2), 2);
    EXPECT_EQ(store.ColumnAt(2).width, 4 * 7 + 14);
    EXPECT_EQ(store.AddColumn("Fixed", 0, 55, WColumnAlignment::Right), 0);
    EXPECT_EQ(store.ColumnAt(0).width, 55);
    EXPECT_EQ(store.AddColumn("Out of range", 9), -1);
    EXPECT_EQ(store.ColumnCount(), 4);
    EXPECT_EQ(store.Cell(0, 1), "src\\main.c");
    EXPECT_EQ(store.Cell(0, 2), "copied");
    EXPECT_EQ(store.Cell(1, 0), "");
    EXPECT_EQ(store.Cell(-1, 0), "");
    EXPECT_FALSE(store.SetCell(0, 4, "x"));
}

TEST(WListStore, SetColumnWidthFitsCellsOrHeaderAndRefusesBelowMinusTwo) {
    WListStore store;
    RecordingObserver observer;
    store.SetObserver(&observer);
    FillLikeTheCopyDialog(store);
    const struct {
        int column;
        int width;
        bool accepted;
        int expected;
    } rows[] = {
        {0, -1, true, 70 + WListStore::kCellPadding},
        {0, -2, true, 70 + WListStore::kCellPadding},  // the cell is wider than "File"
        {1, -1, true, 42 + WListStore::kCellPadding},
        {1, -2, true, 91 + WListStore::kHeaderPadding},  // the header is wider than "copied"
        {1, 120, true, 120},
        {1, -3, false, 120},
        {1, -100, false, 120},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "column " << row.column << " width " << row.width);
        EXPECT_EQ(store.SetColumnWidth(row.column, row.width), row.accepted);
        EXPECT_EQ(store.ColumnAt(row.column).width, row.expected);
    }
    EXPECT_FALSE(store.SetColumnWidth(2, 10));
    EXPECT_FALSE(store.SetColumnWidth(-1, 10));
    store.SetTextMeasure([](std::string_view text) { return static_cast<int>(text.size()) * 10; });
    EXPECT_TRUE(store.SetColumnWidth(0, -1));
    EXPECT_EQ(store.ColumnAt(0).width, 100 + WListStore::kCellPadding);
    store.AppendRow("x");
    store.RemoveAllRows();
    EXPECT_EQ(store.RowCount(), 0);
    EXPECT_EQ(observer.events,
              "columns columns row0 cell01 width0 width0 width1 width1 width1 width0 row1 cleared");
}

// The widest cell is kept as rows arrive: a fit after cells grew, shrank, moved with a new
// column or were all removed measures what the cells hold now.
TEST(WListStore, FittingFollowsCellsThatChangeAfterAFit) {
    WListStore store;
    FillLikeTheCopyDialog(store);
    const struct {
        void (*change)(WListStore&);
        int column;
        int widest;  // in characters of 7 pixels
    } rows[] = {
        {[](WListStore&) {}, 1, 6},
        {[](WListStore& s) { s.SetCell(s.AppendRow("a"), 1, "failed!"); }, 1, 7},
        {[](WListStore& s) { s.SetCell(1, 1, "x"); }, 1, 6},
        {[](WListStore& s) { s.SetCell(0, 1, "a longer cell"); }, 1, 13},
        {[](WListStore& s) { s.AddColumn("New", 1); }, 2, 13},
        {[](WListStore& s) { s.RemoveAllRows(); }, 2, 0},
    };
    for (const auto& row : rows) {
        row.change(store);
        store.SetColumnWidth(row.column, WListStore::kFitCells);
        EXPECT_EQ(store.ColumnAt(row.column).width, row.widest * 7 + WListStore::kCellPadding)
            << row.widest;
    }
}
