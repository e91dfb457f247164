#pragma once

#include <QAbstractItemView>
#include <QItemSelectionModel>
#include <QList>

// Makes rows the whole selection of view, each row whole, without moving the current row.
inline void SelectRows(QAbstractItemView& view, const QList<int>& rows)
{
    view.clearSelection();
    for (const int row : rows)
        view.selectionModel()->select(view.model()->index(row, 0),
                                      QItemSelectionModel::Select | QItemSelectionModel::Rows);
}
