#pragma once

#include "catalog/ObjectList.h"
#include "support/core/CollationKeys.h"
#include "support/core/SortState.h"
#include "support/core/FilteredTableModel.h"

#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

class SizeIndex;
struct ObjectSize;

// The data of one row of the object list: the object path exactly as the catalog holds it
// and its file attributes when the row was made (-1 when nothing existed there).
struct TOwnerItem {
    std::string Path;
    int Attributes = -1;
};

// The rows of the object list: one per object path of the shown catalog, with the object's
// icon, name and folder. Each row knows the position of its object in the catalog, so that it
// follows the store's edits by position: a row stands for its own object, also beside another
// object of the same path or of the same path in another letter case. Built for catalogs of a hundred thousand objects: each path is
// looked at on disk once, when its row is made, the texts are made only for the rows on
// the screen, and sorting compares precomputed collation keys, made once per row and column
// when first needed. The sort state holds across catalogs for the life of the model. A filter
// (FilteredTableModel) shows the rows whose name or folder holds the words typed; rows are
// the shown rows wherever a row number is given or taken.
class ObjectListModel : public FilteredTableModel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ObjectListModel)

public:
    enum Column { ColName = 0, ColFolder = 1, ColSize = 2, ColumnCount };

    explicit ObjectListModel(QObject* parent = nullptr);
    ~ObjectListModel() override;

    // Replaces every row by one row per path, in order (unsorted).
    void SetObjects(const ObjectList& paths);
    // Objects entered the catalog at these positions (ascending, positions of the objects
    // afterwards): the rows of the others keep their order, and one row per path takes its
    // place in the sort order among them (an undone delete brings its rows back where they
    // stood).
    void InsertObjects(const std::vector<std::size_t>& positions, const std::vector<std::string>& paths);
    // Objects at these positions (ascending) left the catalog: their rows go.
    void EraseObjects(const std::vector<std::size_t>& positions);
    // The position in the catalog of the object of a row.
    std::size_t Position(int row) const { return rows_[static_cast<std::size_t>(RowOfShown(row))].position; }
    // The rows of the objects at these positions of the catalog that the filter shows.
    std::vector<int> RowsOf(const std::vector<std::size_t>& positions) const;
    // Sorts every row by CompareObjectRows on the sort column, in the sort order. Selected
    // rows stay selected.
    void Sort();
    // The column click: the column-click rule of SortState, then Sort.
    void SortByColumn(int column);
    const SortState& Sorting() const { return sort_; }

    // Where the size column reads the objects' counts; null shows no sizes. The model never
    // counts: it shows what the index holds and is told when a count arrives.
    void SetSizes(const SizeIndex* sizes);
    // Counts of the objects at these paths arrived: their rows show them, and an object that
    // appeared or vanished since its row was made gets the icon and group of what is there now.
    void SizesCounted(const std::unordered_set<std::string>& paths);
    // For each object of the catalog by position, the path of the listed folder that already
    // holds it, or empty; the rows' tooltips name it.
    void SetHolders(std::vector<std::string> holders);
    // The path of the object that holds the object of a row, or empty.
    const std::string& Holder(int row) const;

    const TOwnerItem& Item(int row) const { return rows_[static_cast<std::size_t>(RowOfShown(row))].item; }
    // The rows shown; AllRowCount counts the hidden ones too.
    int Count() const { return rowCount(); }

    // CompareObjectRows: negative, zero or positive as row a sorts before, with or after
    // row b on column, ascending (by size: objects not counted or missing as 0).
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
        std::size_t position = 0;
        QString filterKey;
    };

    int HeldRowCount() const override { return static_cast<int>(rows_.size()); }
    const QString& FilterKey(int row) const override { return rows_[std::size_t(row)].filterKey; }
    Row MakeRow(std::string_view path, std::size_t position);
    // The positions in rows_ of the objects at these positions of the catalog.
    std::vector<int> HeldRowsOf(const std::vector<std::size_t>& positions) const;
    const ObjectSize* SizeOf(const Row& row) const;
    std::int64_t Bytes(const Row& row) const;
    QVariant SizeText(const Row& row) const;
    QString ToolTip(const Row& row) const;
    // Removes the rows at these positions of rows_.
    void RemoveRows(std::vector<int> rows);
    // Folders first, then files, then objects that do not exist.
    static int Group(const Row& row);
    // The collation keys of a column, one per row (kept apart from the rows, so that a sort
    // walks through little memory).
    CollationKeys& SortKeys(int column);
    QString SortText(const Row& row, int column) const;
    // The rows in their new order: positions into rows_.
    std::vector<int> SortedOrder();
    // Moves the rows from first on, new ones, into their places in the sort order among the
    // rows before them, which keep theirs.
    void PlaceRowsFrom(int first);
    // Appends the sort keys of the last row, taken ones when there are (taken: the row's
    // index in taken_, or -1).
    void AppendSortKeys(std::ptrdiff_t taken);
    // For objects entering at these positions with these paths, the index in taken_ of the
    // row of each; empty unless they are the very objects the last erase took out.
    std::vector<std::ptrdiff_t> TakenRowsFor(const std::vector<std::size_t>& positions,
                                             const std::vector<std::string>& paths) const;
    // Looks at the object of a row again when a count found it or missed it unlike the row.
    void Recheck(Row& row, const std::unordered_set<std::string>& counted) const;
    // Whether row a comes before row b in the ascending order of the sort column.
    std::function<bool(int, int)> AscendingBefore();

    // The rows the last erase took out, with their sort keys: an undone delete takes them
    // back as they were instead of making them, and looking at their objects on disk, anew.
    struct TakenRows {
        std::vector<Row> rows;  // in their order in rows_
        CollationKeys::Taken pathKeys;
        CollationKeys::Taken folderKeys;
    };

    std::vector<Row> rows_;
    TakenRows taken_;
    CollationKeys pathKeys_;
    CollationKeys folderKeys_;
    SortState sort_;
    const SizeIndex* sizes_ = nullptr;
    std::vector<std::string> holders_;
};
