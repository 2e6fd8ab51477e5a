#include "classlib/core/wliststore.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

class RecordingObserver : public WListStoreObserver {
public:
    void ColumnsChanged() override { events.emplace_back("columns"); }
    void RowAppended(int row) override { events.push_back("row " + std::to_string(row)); }
    void CellChanged(int row, int column) override {
        events.push_back("cell " + std::to_string(row) + "," + std::to_string(column));
    }
    void ColumnWidthChanged(int column) override {
        events.push_back("width " + std::to_string(column));
    }
    void AllRowsRemoved() override { events.emplace_back("cleared"); }

    std::vector<std::string> events;
};

// Two columns as the copy dialog has them: file name and result.
class WListStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        store_.AddColumn("File");          // 4 characters: 28 pixels
        store_.AddColumn("Result header");  // 13 characters: 91 pixels
        store_.AppendRow("src\\main.c");   // 10 characters: 70 pixels
        store_.SetCell(0, 1, "copied");    // 6 characters: 42 pixels
    }

    WListStore store_;
};

}  // namespace

TEST_F(WListStoreTest, AddColumnWidthFromHeaderOrNone) {
    EXPECT_EQ(store_.ColumnAt(0).width, 0);
    EXPECT_EQ(store_.AddColumn("Size", WListStore::kAppend, -2), 2);
    EXPECT_EQ(store_.ColumnAt(2).width, 4 * 7 + 14);
    EXPECT_EQ(store_.AddColumn("Fixed", 0, 55, WColumnAlignment::Right), 0);
    EXPECT_EQ(store_.ColumnAt(0).width, 55);
    EXPECT_EQ(store_.ColumnAt(0).alignment, WColumnAlignment::Right);
    EXPECT_EQ(store_.AddColumn("Out of range", 9), -1);
    EXPECT_EQ(store_.ColumnCount(), 4);
    // Cells moved along with their column.
    EXPECT_EQ(store_.Cell(0, 1), "src\\main.c");
    EXPECT_EQ(store_.Cell(0, 2), "copied");
}

TEST_F(WListStoreTest, SetColumnWidthFitsCellsOrCellsAndHeader) {
    const struct {
        int column;
        int width;
        int expected;
    } cases[] = {
        {0, -1, 70 + WListStore::kCellPadding},
        {0, -2, 70 + WListStore::kCellPadding},  // the cell is wider than "File"
        {1, -1, 42 + WListStore::kCellPadding},
        {1, -2, 91 + WListStore::kHeaderPadding},  // the header is wider than "copied"
        {1, 120, 120},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(store_.SetColumnWidth(c.column, c.width));
        EXPECT_EQ(store_.ColumnAt(c.column).width, c.expected)
            << "column " << c.column << " width " << c.width;
    }
}

TEST_F(WListStoreTest, WidthsBelowMinusTwoAndUnknownColumnsAreRefused) {
    store_.SetColumnWidth(0, 80);
    EXPECT_FALSE(store_.SetColumnWidth(0, -3));
    EXPECT_FALSE(store_.SetColumnWidth(0, -100));
    EXPECT_FALSE(store_.SetColumnWidth(5, 10));
    EXPECT_FALSE(store_.SetColumnWidth(-1, 10));
    EXPECT_EQ(store_.ColumnAt(0).width, 80);
}

TEST_F(WListStoreTest, InstalledMeasureIsUsed) {
    store_.SetTextMeasure([](std::string_view text) { return static_cast<int>(text.size()) * 10; });
    EXPECT_TRUE(store_.SetColumnWidth(0, -1));
    EXPECT_EQ(store_.ColumnAt(0).width, 100 + WListStore::kCellPadding);
}

TEST_F(WListStoreTest, CellsOutsideTheTableAreEmptyAndCannotBeSet) {
    EXPECT_EQ(store_.Cell(1, 0), "");
    EXPECT_EQ(store_.Cell(0, 2), "");
    EXPECT_EQ(store_.Cell(-1, 0), "");
    EXPECT_FALSE(store_.SetCell(1, 0, "x"));
    EXPECT_FALSE(store_.SetCell(0, 2, "x"));
    EXPECT_EQ(store_.AppendRow("second"), 1);
    EXPECT_EQ(store_.Cell(1, 1), "");
    store_.RemoveAllRows();
    EXPECT_EQ(store_.RowCount(), 0);
    EXPECT_EQ(store_.ColumnCount(), 2);
}

TEST(WListStoreObserverTest, HearsEveryChange) {
    WListStore store;
    RecordingObserver observer;
    store.SetObserver(&observer);
    store.AddColumn("File");
    store.AppendRow("a.c");
    store.SetCell(0, 0, "b.c");
    store.SetColumnWidth(0, -1);
    store.SetColumnWidth(0, -3);
    store.RemoveAllRows();
    EXPECT_EQ(observer.events,
              (std::vector<std::string>{"columns", "row 0", "cell 0,0", "width 0", "cleared"}));
}
