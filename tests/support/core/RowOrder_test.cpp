#include "support/core/RowOrder.h"

#include <gtest/gtest.h>

TEST(RowOrder, PutsItemsInOrderAndGivesEachOldRowItsNewRow)
{
    std::vector<char> items = {'a', 'b', 'c', 'd'};
    const std::vector<int> order = {2, 0, 3, 1};
    ApplyOrder(items, order);
    EXPECT_EQ(items, (std::vector<char> {'c', 'a', 'd', 'b'}));
    EXPECT_EQ(NewRowOf(order), (std::vector<int> {1, 3, 0, 2}));
}
