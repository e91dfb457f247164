#pragma once

#include <Qt>

// The sort of a list: the column its rows are sorted by and the order, with the column-click
// rule that changes them. A list starts sorted by its first column, ascending.
struct SortState {
    int column = 0;
    Qt::SortOrder order = Qt::AscendingOrder;

    // A click on a column heading: the same column again reverses the order, another column
    // sorts by it ascending. Gives whether the sort column changed.
    bool ClickColumn(int clicked);
    // A comparison of the ascending order (negative, zero or positive) turned to this order.
    int Directed(int ascending) const { return order == Qt::AscendingOrder ? ascending : -ascending; }

    friend bool operator==(const SortState&, const SortState&) = default;
};
