#pragma once

#include "support/core/CollationKeys.h"
#include "support/core/SortState.h"
#include "support/core/FilteredTableModel.h"

#include <string>
#include <vector>

// The data of one row of the object list: the object path exactly as the catalog holds it
// and its file attributes when the row was made (-1 when nothing existed there).
struct TOwnerItem {
    std::string Path;
    int Attributes = -1;
};

// The rows of the object list: one per object path of the shown catalog, with the object's
// icon, name and folder. Built for catalogs of a hundred thousand objects: each path is
// looked at on disk once, when its row is made, the texts are made only for the rows on
// the screen, and sorting compares precomputed collation keys, made once per row and column
// when first needed. The sort state holds across catalogs for the life of the model. A filter
// (FilteredTableModel) shows the rows whose name or folder holds the words typed; rows are
// the shown rows wherever a row number is given or taken.
class ObjectListModel : public FilteredTableModel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ObjectListModel)

public:
    enum Column { ColName = 0, ColFolder = 1, ColumnCount };

    explicit ObjectListModel(QObject* parent = nullptr);
    ~ObjectListModel() override;

    // Replaces every row by one row per path, in order (unsorted).
    void SetObjects(const std::vector<std::string>& paths);
    // Appends one row for path (AddObjectRow); the list is not re-sorted.
    void AppendObject(const std::string& path);
    // Removes the rows at these positions.
    void RemoveRows(const std::vector<int>& shownRows);
    // Sorts every row by CompareObjectRows on the sort column, in the sort order. Selected
    // rows stay selected.
    void Sort();
    // The column click: the column-click rule of SortState, then Sort.
    void SortByColumn(int column);
    const SortState& Sorting() const { return sort_; }

    const TOwnerItem& Item(int row) const { return rows_[static_cast<std::size_t>(RowOfShown(row))].item; }
    // The rows shown; AllRowCount counts the hidden ones too.
    int Count() const { return rowCount(); }

    // CompareObjectRows: negative, zero or positive as row a sorts before, with or after
    // row b on column, ascending (columns other than name and folder compare equal).
    int CompareObjectRows(int a, int b, int column);

    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    // The texts of a row are made from its path when shown: a fill converts nothing that
    // is not on the screen.
    struct Row {
        TOwnerItem item;
        int iconIndex = 0;   // in GetSystemImageList
        QString filterKey;
    };

    int HeldRowCount() const override { return static_cast<int>(rows_.size()); }
    const QString& FilterKey(int row) const override { return rows_[std::size_t(row)].filterKey; }
    // Takes out the rows at these positions of rows_ (ascending, each once).
    void EraseRows(const std::vector<int>& rows);

    Row MakeRow(const std::string& path);
    // Folders first, then files, then objects that do not exist.
    static int Group(const Row& row);
    // The collation keys of a column, one per row (kept apart from the rows, so that a sort
    // walks through little memory).
    CollationKeys& SortKeys(int column);
    QString SortText(const Row& row, int column) const;
    // The rows in their new order: positions into rows_.
    std::vector<int> SortedOrder();

    std::vector<Row> rows_;
    CollationKeys pathKeys_;
    CollationKeys folderKeys_;
    SortState sort_;
};
