#include "wizard/WizardObjectModel.h"

#include "support/core/Collation.h"
#include "support/core/Cp932.h"
#include "support/core/FileNames.h"
#include "support/core/HostPath.h"
#include "support/core/ListSizes.h"
#include "support/core/ObjectFilter.h"
#include "support/core/RowOrder.h"
#include "support/core/SizeIndex.h"
#include "support/core/SizeTexts.h"
#include "support/ui/ObjectIcons.h"
#include "wizard/ObjectFacts.h"

#include <QLocale>
#include <QMimeDatabase>

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>
#include <unordered_set>

struct WizardObjectModel::Entry {
    TWizardObjectRow row;
    // The key of the current sort column: a number (the group of the name column, the size,
    // the date to the second), then a collation key for the text columns.
    std::int64_t numberKey = 0;
    std::optional<QCollatorSortKey> textKey;
    mutable std::optional<QString> typeText;
    QString filterKey;
    // The size column shows row.Size: a file's from the start, anything else's once counted
    // (a wildcard's matches, when there are any).
    bool sized = false;
    bool counted = false;
};

namespace {

// The size column and its heading are right-aligned, every other column left-aligned.
QVariant ColumnAlignment(int column)
{
    return QVariant::fromValue(Qt::AlignVCenter | (column == WizardObjectModel::ColSize ? Qt::AlignRight : Qt::AlignLeft));
}

// The small icon of a row, by its kind and name only: the object is never opened.
QIcon Icon(const TWizardObjectRow& row)
{
    return ObjectIcon(row.kind(), ExtractFileName(row.Path));
}

// The type-column text of a row by its name only; empty for a missing object.
QString TypeName(const TWizardObjectRow& row)
{
    switch (row.kind()) {
    case TWizardObjectRow::Kind::Missing:
        return {};
    case TWizardObjectRow::Kind::Folder: {
        static const QString folderName
            = QMimeDatabase().mimeTypeForName(QStringLiteral("inode/directory")).comment();
        return folderName;
    }
    case TWizardObjectRow::Kind::File:
        break;
    }
    return FileTypeForName(Cp932ToDisplay(ExtractFileName(row.Path)));
}

// The date-time to the second, as its "YYYY/MM/DD HH:NN:SS" text orders it: whole days
// count from 1899-12-30 and the fraction is the time of day, also before that day.
std::int64_t SortSeconds(double date)
{
    constexpr std::int64_t SecondsPerDay = 86'400;
    const double days = std::trunc(date);
    const std::int64_t milliseconds = std::llround(std::fabs(date - days) * SecondsPerDay * 1000);
    return static_cast<std::int64_t>(days) * SecondsPerDay + milliseconds / 1000;
}

// Folders first, then files, then missing objects, each group by full path. Collating the
// group's digit in front of the path orders by the digit first, so the group is kept as a
// number of its own.
int Group(ObjectKind kind)
{
    return static_cast<int>(kind);
}

template <typename T>
int ThreeWay(T a, T b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

}  // namespace

WizardObjectModel::WizardObjectModel(QObject* parent)
    : FilteredTableModel(parent)
{
}

WizardObjectModel::~WizardObjectModel() = default;

WizardObjectModel::EntryPtr WizardObjectModel::MakeEntry(const std::string& path)
{
    auto entry = std::make_unique<Entry>();
    entry->row = ReadObjectFacts(path);
    entry->filterKey = ObjectFilterKey(path);
    entry->sized = entry->row.kind() == TWizardObjectRow::Kind::File;
    return entry;
}

const QString& WizardObjectModel::FilterKey(int row) const
{
    return entries_[std::size_t(row)]->filterKey;
}

std::int64_t WizardObjectModel::NumberKey(const TWizardObjectRow& row) const
{
    switch (sort_.column) {
    case ColName:
        return Group(row.kind());
    case ColSize:
        return row.Size;
    case ColDate:
        return SortSeconds(row.Date);
    default:
        return 0;
    }
}

void WizardObjectModel::MakeSortKeys(const std::vector<EntryPtr>& entries) const
{
    for (const EntryPtr& entry : entries)
        MakeSortKey(*entry);
}

void WizardObjectModel::MakeSortKey(Entry& entry) const
{
    entry.numberKey = NumberKey(entry.row);
    entry.textKey.reset();
    if (sort_.column == ColName)
        entry.textKey = LocaleSortKey(entry.row.Path);
    else if (sort_.column == ColType)
        entry.textKey = LocaleSortKey(QStringToCp932(TypeText(entry)).value_or(std::string()));
    else if (sort_.column == ColFolder)
        entry.textKey = LocaleSortKey(ObjectFolderText(entry.row.Path));
}

const QString& WizardObjectModel::TypeText(const Entry& entry) const
{
    if (!entry.typeText)
        entry.typeText = TypeName(entry.row);
    return *entry.typeText;
}

int WizardObjectModel::CompareEntries(const Entry& a, const Entry& b) const
{
    int order = ThreeWay(a.numberKey, b.numberKey);
    if (order == 0 && a.textKey)
        order = ThreeWay(a.textKey->compare(*b.textKey), 0);
    return sort_.Directed(order);
}

bool WizardObjectModel::Before(const EntryPtr& a, const EntryPtr& b) const
{
    return CompareEntries(*a, *b) < 0;
}

int WizardObjectModel::CompareWizardRows(int row1, int row2) const
{
    return CompareEntries(*entries_.at(RowOfShown(row1)), *entries_.at(RowOfShown(row2)));
}

bool WizardObjectModel::AddWizardRow(const std::string& path)
{
    if (byPath_.contains(path))
        return false;
    EntryPtr entry = MakeEntry(path);
    MakeSortKey(*entry);
    InsertSorted(std::move(entry));
    return true;
}

// The paths not listed yet, each once, in order.
std::vector<const std::string*> WizardObjectModel::NewPaths(const std::vector<std::string>& paths) const
{
    std::vector<const std::string*> fresh;
    fresh.reserve(paths.size());
    std::unordered_set<std::string_view> taken;
    taken.reserve(paths.size());
    for (const std::string& path : paths) {
        if (!byPath_.contains(path) && taken.insert(path).second)
            fresh.push_back(&path);
    }
    return fresh;
}

int WizardObjectModel::AddWizardRows(const std::vector<std::string>& paths)
{
    const std::vector<const std::string*> fresh = NewPaths(paths);
    std::vector<EntryPtr> batch;
    batch.reserve(fresh.size());
    for (const std::string* path : fresh)
        batch.push_back(MakeEntry(*path));
    // Keys in a pass of their own: the collation tables and the file system's caches then
    // do not push each other out.
    MakeSortKeys(batch);
    const int added = static_cast<int>(batch.size());
    if (added == 1)
        InsertSorted(std::move(batch.front()));
    else if (added > 1)
        AppendAndMerge(std::move(batch));
    return added;
}

void WizardObjectModel::InsertSorted(EntryPtr entry)
{
    const auto place = std::upper_bound(entries_.begin(), entries_.end(), entry,
                                        [this](const EntryPtr& a, const EntryPtr& b) { return Before(a, b); });
    const int row = static_cast<int>(place - entries_.begin());
    byPath_.emplace(entry->row.Path, entry.get());
    InsertRows(row, 1, [&] { entries_.insert(place, std::move(entry)); });
}

// A row placed by binary search after the rows that compare equal to it is where a stable
// sort of the whole list would put it; sorting the batch stably and merging it behind the
// equal rows already listed gives the same order as adding the batch's rows one by one.
void WizardObjectModel::AppendAndMerge(std::vector<EntryPtr> batch)
{
    const auto before = [this](const EntryPtr& a, const EntryPtr& b) { return Before(a, b); };
    std::stable_sort(batch.begin(), batch.end(), before);
    const int first = static_cast<int>(entries_.size());
    byPath_.reserve(byPath_.size() + batch.size());
    for (const EntryPtr& entry : batch)
        byPath_.emplace(entry->row.Path, entry.get());

    InsertRows(first, static_cast<int>(batch.size()),
               [&] { std::move(batch.begin(), batch.end(), std::back_inserter(entries_)); });
    if (first == 0 || !Before(entries_[first], entries_[first - 1]))
        return;
    ArrangeRows([first](std::vector<int>& order, const auto& rowBefore) {
        std::inplace_merge(order.begin(), order.begin() + first, order.end(), rowBefore);
    });
}

void WizardObjectModel::SortByColumn(int column)
{
    if (sort_.ClickColumn(column))
        MakeSortKeys(entries_);
    ArrangeRows([](std::vector<int>& order, const auto& rowBefore) {
        std::stable_sort(order.begin(), order.end(), rowBefore);
    });
}

template <typename Arrange>
void WizardObjectModel::ArrangeRows(Arrange arrange)
{
    ReorderRows([&] {
        std::vector<int> order(entries_.size());
        std::iota(order.begin(), order.end(), 0);
        arrange(order, [this](int a, int b) { return Before(entries_[std::size_t(a)], entries_[std::size_t(b)]); });
        ApplyOrder(entries_, order);
        return order;
    });
}

const TWizardObjectRow& WizardObjectModel::Row(int row) const
{
    return entries_.at(RowOfShown(row))->row;
}

std::vector<std::string> WizardObjectModel::Paths() const
{
    std::vector<std::string> paths;
    paths.reserve(entries_.size());
    for (const EntryPtr& entry : entries_)
        paths.push_back(entry->row.Path);
    return paths;
}

// One block of neighbouring rows is removed as such; rows spread over the list go in one
// pass and a reset, which keeps a large scattered selection from costing a pass per block.
void WizardObjectModel::RemoveWizardRows(std::vector<int> rows)
{
    rows = RowsOfShown(rows);
    if (rows.empty())
        return;
    if (IsFiltered()) {
        RemoveFilteredRows(rows, [&] { EraseEntries(rows); });
        return;
    }
    const bool oneBlock = rows.back() - rows.front() + 1 == static_cast<int>(rows.size());
    if (oneBlock)
        beginRemoveRows({}, rows.front(), rows.back());
    else
        beginResetModel();
    EraseEntries(rows);
    if (oneBlock)
        endRemoveRows();
    else
        endResetModel();
}

void WizardObjectModel::EraseEntries(const std::vector<int>& rows)
{
    for (const int row : rows) {
        byPath_.erase(entries_[row]->row.Path);
        entries_[row].reset();
    }
    entries_.erase(std::remove(entries_.begin(), entries_.end(), nullptr), entries_.end());
}

void WizardObjectModel::RemoveAllRows()
{
    ResetRows([this] {
        byPath_.clear();
        entries_.clear();
    });
}

void WizardObjectModel::SizesCounted(const std::unordered_set<std::string>& paths)
{
    if (!sizes_)
        return;
    bool reorder = false;
    for (const std::string& path : paths) {
        const auto found = byPath_.find(path);
        const ObjectSize* size = sizes_->Index().Find(path);
        if (found != byPath_.end() && size)
            reorder = TakeCount(*found->second, *size) || reorder;
    }
    ShowCounts(reorder);
}

void WizardObjectModel::TakeKnownCounts()
{
    if (!sizes_)
        return;
    bool reorder = false;
    bool taken = false;
    for (const EntryPtr& entry : entries_) {
        const ObjectSize* size = entry->counted ? nullptr : sizes_->Index().Find(entry->row.Path);
        if (!size)
            continue;
        taken = true;
        reorder = TakeCount(*entry, *size) || reorder;
    }
    if (taken)
        ShowCounts(reorder);
}

void WizardObjectModel::ShowCounts(bool reorder)
{
    // One signal for the shown rows, whichever of them the filter lets through.
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
    if (reorder)
        ArrangeRows([](std::vector<int>& order, const auto& rowBefore) {
            std::stable_sort(order.begin(), order.end(), rowBefore);
        });
}

// The first count of an object that is where its row says went to the disk just after the
// row was made: its facts are read again only when the count tells of a change.
bool WizardObjectModel::TakeCount(Entry& entry, const ObjectSize& size)
{
    TWizardObjectRow& row = entry.row;
    const bool exists = row.kind() != TWizardObjectRow::Kind::Missing;
    const ObjectKind kind = row.kind();
    if (entry.counted || size.exists != exists) {
        const std::int32_t attributes = row.Attributes;
        row = ReadObjectFacts(row.Path);
        if (row.Attributes != attributes)
            entry.typeText.reset();
    }
    entry.counted = true;
    entry.sized = size.exists;
    row.Size = size.exists ? size.bytes : 0;
    const std::int64_t numberKey = entry.numberKey;
    if (row.kind() != kind)
        MakeSortKey(entry);
    else
        entry.numberKey = NumberKey(row);
    return entry.numberKey != numberKey || row.kind() != kind;
}


int WizardObjectModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QString WizardObjectModel::DisplayText(const Entry& entry, int column) const
{
    const TWizardObjectRow& row = entry.row;
    switch (column) {
    case ColName:
        return Cp932ToDisplay(ExtractFileName(row.Path));
    case ColSize:
        return entry.sized ? QLocale().toString(static_cast<qlonglong>(row.Size)) : QString();
    case ColType:
        return TypeText(entry);
    case ColDate:
        // A missing object has no date: the zero date would read as a real one.
        return row.kind() == TWizardObjectRow::Kind::Missing ? QString() : Cp932ToDisplay(FormatDateTimeText(row.Date));
    case ColFolder:
        return Cp932ToDisplay(ObjectFolderText(row.Path));
    default:
        return {};
    }
}

QVariant WizardObjectModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const Entry& entry = *entries_[std::size_t(RowOfShown(index.row()))];
    switch (role) {
    case Qt::DisplayRole:
        return DisplayText(entry, index.column());
    case Qt::DecorationRole:
        return index.column() == ColName ? QVariant(Icon(entry.row)) : QVariant();
    case Qt::TextAlignmentRole:
        return ColumnAlignment(index.column());
    case Qt::ToolTipRole:
        return ToolTip(entry);
    default:
        return {};
    }
}

// The path, the listed folder that already holds the object, and what its count could not
// read.
QString WizardObjectModel::ToolTip(const Entry& entry) const
{
    static const std::string none;
    const std::string& path = entry.row.Path;
    return sizes_ ? ObjectToolTip(path, sizes_->HolderOf(path), sizes_->Index().Find(path))
                  : ObjectToolTip(path, none, nullptr);
}

QVariant WizardObjectModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    static const std::array<QString, ColumnCount> headings = {
        QStringLiteral("名前"), QStringLiteral("サイズ"), QStringLiteral("ファイルの種類"),
        QStringLiteral("更新日時"), QStringLiteral("フォルダ")};
    if (orientation == Qt::Horizontal && role == Qt::TextAlignmentRole)
        return ColumnAlignment(section);
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    return section >= 0 && section < ColumnCount ? headings[std::size_t(section)] : QVariant();
}

Qt::ItemFlags WizardObjectModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}
