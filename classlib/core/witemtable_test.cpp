#include "classlib/core/witemtable.h"

#include <gtest/gtest.h>

// Slots on both sides of a page boundary are distinct and keep their values as
// the table grows; a slot whose page is not made is not found.
TEST(WItemTable, SlotsKeepTheirValuesAcrossPagesAsTheTableGrows) {
    WItemTable<int> table;
    EXPECT_EQ(table.Find(1), nullptr);
    const WTreeItem items[] = {1, 4095, 4096, 4097, 200000};
    for (const WTreeItem item : items) {
        table.At(item) = static_cast<int>(item) + 1;
    }
    for (const WTreeItem item : items) {
        ASSERT_NE(table.Find(item), nullptr) << item;
        EXPECT_EQ(*table.Find(item), static_cast<int>(item) + 1) << item;
    }
    EXPECT_EQ(*table.Find(2), 0);
    EXPECT_EQ(table.Find(100000), nullptr);
    int sum = 0;
    table.ForEach(
        [&](WTreeItem item, int value) { sum += value == 0 ? 0 : value - static_cast<int>(item); });
    EXPECT_EQ(sum, 5);
    table.Clear();
    EXPECT_EQ(table.Find(1), nullptr);
}
