#pragma once

#include <QAbstractTableModel>

#include <functional>
#include <vector>

// A table model whose rows a sort puts into a new order. ReorderRows makes the new order one
// layout change and moves every persistent index to the row it was on, so that the views'
// selection and current row stay with their objects.
class SortedTableModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

protected:
    // reorder puts the rows into their new order and gives it as the old row of each new row
    // (see RowOrder.h).
    void ReorderRows(const std::function<std::vector<int>()>& reorder);
};
