#include "support/core/SortState.h"

bool SortState::ClickColumn(int clicked)
{
    if (clicked == column) {
        order = order == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
        return false;
    }
    column = clicked;
    order = Qt::AscendingOrder;
    return true;
}
