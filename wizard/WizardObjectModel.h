#pragma once

#include "support/core/SortState.h"
#include "support/core/FilteredTableModel.h"
#include "wizard/WizardObjectRow.h"

#include <QCollatorSortKey>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

class ListSizes;
struct ObjectSize;

// The rows of the wizard's object list, always in the order of the current sort column and
// direction. A new row lands where a full sort would put it: rows added one at a time are
// placed by binary search, a batch is sorted on its own and merged in, so that adding a
// chooser result of many thousand objects costs little more than reading their facts.
// Each row carries the sort key of the current column, made once when the row comes or the
// column changes, so that comparisons never convert or collate texts. A filter
// (FilteredTableModel) shows the rows whose name or folder holds the words typed; rows are
// the shown rows wherever a row number is given or taken, while Paths counts every row.
// Sizes come from the counts of a ListSizes as they arrive: a folder's everything below it,
// a file's its own; until then a file shows the size its row was made with.
class WizardObjectModel : public FilteredTableModel {
    Q_OBJECT

public:
    enum Column { ColName, ColSize, ColType, ColDate, ColFolder, ColumnCount };

    explicit WizardObjectModel(QObject* parent = nullptr);
    ~WizardObjectModel() override;
    Q_DISABLE_COPY_MOVE(WizardObjectModel)

    // Adds the object unless a row with exactly this path (bytes, letter case counting) is
    // listed already. Gives whether a row was added.
    bool AddWizardRow(const std::string& path);
    // Adds the objects in order, with the same rule and the same resulting order as adding
    // them one by one. Gives the number of rows added.
    int AddWizardRows(const std::vector<std::string>& paths);
    // True when a row has exactly this path.
    bool Holds(const std::string& path) const { return byPath_.contains(path); }

    // A click on a column heading: the column-click rule of SortState, then a sort of every
    // row. Selected rows stay selected.
    void SortByColumn(int column);
    const SortState& Sorting() const { return sort_; }

    // Negative, zero or positive as row1 comes before, with or after row2 in the current
    // order.
    int CompareWizardRows(int row1, int row2) const;

    const TWizardObjectRow& Row(int row) const;
    // The full paths from the top row to the bottom row.
    std::vector<std::string> Paths() const;

    // Where the rows' counts and the holders of nested objects are read; null: none.
    void SetSizes(const ListSizes* sizes) { sizes_ = sizes; }
    // Counts of the objects at these paths arrived: their rows take the size counted, and an
    // object counted again (it changed on disk) or found where its row missed it, or missed
    // where its row found it, has its date and kind read again. Rows move to their place
    // when that changed their order.
    void SizesCounted(const std::unordered_set<std::string>& paths);
    // Rows whose objects were counted before they came (by another list sharing the index,
    // or before a removal and a new add) take those counts.
    void TakeKnownCounts();

    // Removes the given rows (any order, duplicates allowed) with their data.
    void RemoveWizardRows(std::vector<int> rows);
    void RemoveAllRows();

    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    struct Entry;
    using EntryPtr = std::unique_ptr<Entry>;

    int HeldRowCount() const override { return static_cast<int>(entries_.size()); }
    const QString& FilterKey(int row) const override;
    // Takes out the entries at these positions (ascending, each once) with their data.
    void EraseEntries(const std::vector<int>& rows);
    EntryPtr MakeEntry(const std::string& path);
    // Takes the count of an entry's object; true when its sort key changed.
    bool TakeCount(Entry& entry, const ObjectSize& size);
    // Shows the counts taken, the rows put in their places when reorder is set.
    void ShowCounts(bool reorder);
    QString ToolTip(const Entry& entry) const;
    std::vector<const std::string*> NewPaths(const std::vector<std::string>& paths) const;
    std::int64_t NumberKey(const TWizardObjectRow& row) const;
    void MakeSortKey(Entry& entry) const;
    void MakeSortKeys(const std::vector<EntryPtr>& entries) const;
    const QString& TypeText(const Entry& entry) const;
    QString DisplayText(const Entry& entry, int column) const;
    int CompareEntries(const Entry& a, const Entry& b) const;
    bool Before(const EntryPtr& a, const EntryPtr& b) const;
    void InsertSorted(EntryPtr entry);
    void AppendAndMerge(std::vector<EntryPtr> batch);
    // Puts the rows into the order that arrange(order, before) gives to their row numbers,
    // keeping selections and other persistent indexes on the rows they were on.
    template <typename Arrange>
    void ArrangeRows(Arrange arrange);

    std::vector<EntryPtr> entries_;
    // The rows by path, for the duplicate test and arriving counts; each key views its row's
    // Path.
    std::unordered_map<std::string_view, Entry*> byPath_;
    SortState sort_;
    const ListSizes* sizes_ = nullptr;
};
