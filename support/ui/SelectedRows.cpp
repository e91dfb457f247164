#include "support/ui/SelectedRows.h"

#include <QAbstractItemModel>
#include <QItemSelectionModel>

std::vector<int> SelectedRows(const QItemSelectionModel& selection)
{
    const QAbstractItemModel* model = selection.model();
    if (!model || !selection.hasSelection())
        return {};
    std::vector<bool> marked(static_cast<std::size_t>(model->rowCount()), false);
    for (const QItemSelectionRange& range : selection.selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row)
            marked[static_cast<std::size_t>(row)] = true;
    }
    std::vector<int> rows;
    for (std::size_t row = 0; row < marked.size(); ++row) {
        if (marked[row])
            rows.push_back(static_cast<int>(row));
    }
    return rows;
}
