#pragma once

#include "support/core/SortedTableModel.h"
#include "support/core/VisibleRows.h"

#include <functional>
#include <optional>
#include <vector>

// A sorted table model whose views see only the rows a filter lets through. The model keeps
// all its rows in display order and one filter key per row; an index of the shown rows
// (VisibleRows) maps the views' rows to the model's. Every change of the shown rows keeps
// the views' selection and current row on the rows they were on, and drops them from rows
// the filter hides. Row numbers of the views (QModelIndex::row) are shown rows; the
// subclasses store rows by their own numbers and translate with RowOfShown.
class FilteredTableModel : public SortedTableModel {
public:
    using SortedTableModel::SortedTableModel;

    // Shows only the rows whose key holds every blank-separated word of text; an empty text
    // shows every row.
    void SetFilterText(const QString& text);
    bool IsFiltered() const { return visible_.Active(); }
    // Every row of the model, shown or not; rowCount gives the shown ones.
    int AllRowCount() const { return HeldRowCount(); }
    // AllRowCount while a filter is set, for the count panels.
    std::optional<double> FilteredTotal() const
    {
        return IsFiltered() ? std::optional<double>(AllRowCount()) : std::nullopt;
    }

    int rowCount(const QModelIndex& parent = {}) const override;

protected:
    virtual int HeldRowCount() const = 0;
    // The filter key of a row (ObjectFilterKey), made when the row was made.
    virtual const QString& FilterKey(int row) const = 0;

    int RowOfShown(int shownRow) const { return visible_.Row(shownRow); }
    // The shown row of a row; -1 when the filter hides it.
    int ShownRowOf(int row) const { return visible_.ShownRowOf(row); }
    // The rows of these shown rows, ascending, each once.
    std::vector<int> RowsOfShown(const std::vector<int>& shownRows) const;

    // Replaces every row: reset() makes the new rows.
    void ResetRows(const std::function<void()>& reset);
    // count rows come at row first: insert() puts them there.
    void InsertRows(int first, int count, const std::function<void()>& insert);
    // While filtered, removes rows (ascending, each once): remove() takes them out.
    void RemoveFilteredRows(const std::vector<int>& rows, const std::function<void()>& remove);
    // Puts the rows into a new order (hides SortedTableModel::ReorderRows, which knows no
    // filter).
    void ReorderRows(const std::function<std::vector<int>()>& reorder);

private:
    VisibleRows::KeyOf KeyOf() const;
    // A layout change of the shown rows: change() changes the rows and the index; shownRowOf
    // then gives the new shown row of each row before the change, -1 for one no longer
    // shown.
    void ChangeLayout(const std::function<void()>& change, const std::function<int(int)>& shownRowOf);

    VisibleRows visible_;
};
