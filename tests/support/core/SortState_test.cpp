#include "support/core/SortState.h"

#include <gtest/gtest.h>

// The same column again reverses the order; another column sorts by it ascending, also when
// the list was descending.
TEST(SortState, ClickReversesTheSameColumnAndStartsAnotherAscending)
{
    SortState sort;
    EXPECT_EQ(sort, (SortState {0, Qt::AscendingOrder}));
    EXPECT_FALSE(sort.ClickColumn(0));
    EXPECT_EQ(sort, (SortState {0, Qt::DescendingOrder}));
    EXPECT_TRUE(sort.ClickColumn(2));
    EXPECT_EQ(sort, (SortState {2, Qt::AscendingOrder}));
    EXPECT_FALSE(sort.ClickColumn(2));
    EXPECT_FALSE(sort.ClickColumn(2));
    EXPECT_EQ(sort, (SortState {2, Qt::AscendingOrder}));
    EXPECT_EQ(sort.Directed(-3), -3);
    sort.ClickColumn(2);
    EXPECT_EQ(sort.Directed(-3), 3);
    EXPECT_EQ(sort.Directed(0), 0);
}
