#include "support/core/SortedTableModel.h"

#include "support/core/RowOrder.h"

void SortedTableModel::ReorderRows(const std::function<std::vector<int>()>& reorder)
{
    // The selection models turn their selections into persistent indexes when the layout is
    // about to change, so the list of them is taken after the signal.
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const std::vector<int> order = reorder();
    const QModelIndexList before = persistentIndexList();
    if (!before.isEmpty()) {
        const std::vector<int> newRow = NewRowOf(order);
        QModelIndexList after;
        after.reserve(before.size());
        for (const QModelIndex& index : before)
            after.append(this->index(newRow[std::size_t(index.row())], index.column()));
        changePersistentIndexList(before, after);
    }
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}
