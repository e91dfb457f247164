#include "support/core/FilteredTableModel.h"

#include "support/core/RowOrder.h"

#include <algorithm>

VisibleRows::KeyOf FilteredTableModel::KeyOf() const
{
    return [this](int row) -> const QString& { return FilterKey(row); };
}

int FilteredTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : visible_.Count(HeldRowCount());
}

std::vector<int> FilteredTableModel::RowsOfShown(const std::vector<int>& shownRows) const
{
    std::vector<int> rows;
    rows.reserve(shownRows.size());
    for (const int shown : shownRows)
        rows.push_back(RowOfShown(shown));
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

void FilteredTableModel::SetFilterText(const QString& text)
{
    FilterWords words(text);
    if (words == visible_.Words())
        return;
    ChangeLayout([&] { visible_.SetWords(std::move(words), HeldRowCount(), KeyOf()); },
                 [this](int row) { return visible_.ShownRowOf(row); });
}

void FilteredTableModel::ResetRows(const std::function<void()>& reset)
{
    beginResetModel();
    reset();
    visible_.Rematch(HeldRowCount(), KeyOf());
    endResetModel();
}

void FilteredTableModel::InsertRows(int first, int count, const std::function<void()>& insert)
{
    if (count <= 0)
        return;
    if (!IsFiltered()) {
        beginInsertRows({}, first, first + count - 1);
        insert();
        endInsertRows();
        return;
    }
    // The views see none of the new rows until they are shown: the rows are put in first,
    // so that their keys can be matched, and the shown ones announced after.
    insert();
    const std::vector<int> matching = visible_.Matching(first, count, KeyOf());
    if (matching.empty()) {
        visible_.Insert(first, count, matching);
        return;
    }
    const int place = visible_.ShownPlace(first);
    beginInsertRows({}, place, place + static_cast<int>(matching.size()) - 1);
    visible_.Insert(first, count, matching);
    endInsertRows();
}

void FilteredTableModel::RemoveFilteredRows(const std::vector<int>& rows, const std::function<void()>& remove)
{
    std::vector<int> newRowOf(std::size_t(HeldRowCount()), 0);
    int removed = 0;
    auto next = rows.begin();
    for (int row = 0; row < HeldRowCount(); ++row) {
        const bool goes = next != rows.end() && *next == row;
        next += goes ? 1 : 0;
        removed += goes ? 1 : 0;
        newRowOf[std::size_t(row)] = goes ? -1 : row - removed;
    }
    ChangeLayout(
        [&] {
            remove();
            visible_.Follow(newRowOf);
        },
        [&](int row) {
            const int to = newRowOf[std::size_t(row)];
            return to < 0 ? -1 : visible_.ShownRowOf(to);
        });
}

void FilteredTableModel::ReorderRows(const std::function<std::vector<int>()>& reorder)
{
    if (!IsFiltered()) {
        SortedTableModel::ReorderRows(reorder);
        return;
    }
    std::vector<int> newRowOf;
    ChangeLayout(
        [&] {
            newRowOf = NewRowOf(reorder());
            visible_.Follow(newRowOf);
        },
        [&](int row) { return visible_.ShownRowOf(newRowOf[std::size_t(row)]); });
}

void FilteredTableModel::ChangeLayout(const std::function<void()>& change, const std::function<int(int)>& shownRowOf)
{
    // As in a sort: the selection models keep one persistent index per selected row and
    // take the list of them after this signal.
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<int> rows;
    rows.reserve(std::size_t(before.size()));
    for (const QModelIndex& index : before)
        rows.push_back(RowOfShown(index.row()));
    change();
    QModelIndexList after;
    after.reserve(before.size());
    for (qsizetype i = 0; i < before.size(); ++i) {
        const int row = shownRowOf(rows[std::size_t(i)]);
        after.append(row < 0 ? QModelIndex() : this->index(row, before[i].column()));
    }
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}
