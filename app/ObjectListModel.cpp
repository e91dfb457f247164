#include "app/ObjectListModel.h"

#include "support/core/SizeTexts.h"
#include "support/core/Cp932.h"
#include "support/core/FileNames.h"
#include "support/core/HostPath.h"
#include "support/core/ObjectFilter.h"
#include "support/core/RowOrder.h"
#include "support/core/SizeIndex.h"
#include "support/ui/ImageList.h"
#include "support/ui/ObjectIcons.h"

#include <QLocale>

#include <algorithm>
#include <array>
#include <numeric>

ObjectListModel::ObjectListModel(QObject* parent)
    : FilteredTableModel(parent)
{
}

ObjectListModel::~ObjectListModel() = default;

ObjectListModel::Row ObjectListModel::MakeRow(std::string_view listed, std::size_t position)
{
    Row row;
    row.position = position;
    row.item.Path = listed;
    const std::string& path = row.item.Path;
    row.item.Attributes = GetFileAttributesOf(path);
    row.iconIndex = ObjectIconIndex(KindOfAttributes(row.item.Attributes), ExtractFileName(path));
    row.filterKey = ObjectFilterKey(path);
    return row;
}

void ObjectListModel::SetObjects(const ObjectList& paths)
{
    ResetRows([&] {
        rows_.clear();
        taken_ = {};
        holders_.clear();
        pathKeys_.Clear();
        folderKeys_.Clear();
        rows_.reserve(paths.size());
        for (const std::string_view path : paths)
            rows_.push_back(MakeRow(path, rows_.size()));
    });
}

void ObjectListModel::InsertObjects(const std::vector<std::size_t>& positions, const std::vector<std::string>& paths)
{
    if (positions.empty())
        return;
    // Where each object held before stands afterwards: the positions not taken by a new one,
    // in order.
    std::vector<std::size_t> moved(rows_.size());
    std::size_t next = 0;
    std::size_t old = 0;
    for (std::size_t at = 0; old < moved.size(); ++at) {
        if (next < positions.size() && positions[next] == at)
            ++next;
        else
            moved[old++] = at;
    }
    for (Row& row : rows_)
        row.position = moved[row.position];
    holders_.clear();

    const std::vector<std::ptrdiff_t> taken = TakenRowsFor(positions, paths);
    const int first = HeldRowCount();
    InsertRows(first, static_cast<int>(paths.size()), [&] {
        for (std::size_t i = 0; i < paths.size(); ++i) {
            if (taken.empty())
                rows_.push_back(MakeRow(paths[i], positions[i]));
            else
                rows_.push_back(std::move(taken_.rows[std::size_t(taken[i])]));
            AppendSortKeys(taken.empty() ? -1 : taken[i]);
        }
    });
    taken_ = {};
    PlaceRowsFrom(first);
}

void ObjectListModel::AppendSortKeys(std::ptrdiff_t taken)
{
    for (const int column : {int(ColName), int(ColFolder)}) {
        CollationKeys& keys = column == ColName ? pathKeys_ : folderKeys_;
        if (keys.Empty())
            continue;
        const CollationKeys::Taken& takenKeys = column == ColName ? taken_.pathKeys : taken_.folderKeys;
        if (taken >= 0 && !takenKeys.offsets.empty())
            keys.Append(takenKeys, std::size_t(taken));
        else
            keys.Append(SortText(rows_.back(), column));
    }
}

std::vector<std::ptrdiff_t> ObjectListModel::TakenRowsFor(const std::vector<std::size_t>& positions,
                                                          const std::vector<std::string>& paths) const
{
    if (taken_.rows.size() != positions.size())
        return {};
    std::vector<std::ptrdiff_t> byPosition(positions.size());
    std::iota(byPosition.begin(), byPosition.end(), 0);
    std::sort(byPosition.begin(), byPosition.end(), [this](std::ptrdiff_t a, std::ptrdiff_t b) {
        return taken_.rows[std::size_t(a)].position < taken_.rows[std::size_t(b)].position;
    });
    for (std::size_t i = 0; i < positions.size(); ++i) {
        const Row& row = taken_.rows[std::size_t(byPosition[i])];
        if (row.position != positions[i] || row.item.Path != paths[i])
            return {};
    }
    return byPosition;
}

void ObjectListModel::PlaceRowsFrom(int first)
{
    if (sort_.column < 0 || sort_.column >= ColumnCount)
        return;
    const auto ascending = AscendingBefore();
    const auto before = [&](int a, int b) {
        return sort_.order == Qt::AscendingOrder ? ascending(a, b) : ascending(b, a);
    };
    std::vector<int> order(rows_.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin() + first, order.end(), before);
    std::inplace_merge(order.begin(), order.begin() + first, order.end(), before);
    ReorderRows([&] {
        ApplyOrder(rows_, order);
        pathKeys_.Permute(order);
        folderKeys_.Permute(order);
        return order;
    });
}

std::function<bool(int, int)> ObjectListModel::AscendingBefore()
{
    const int column = sort_.column;
    const CollationKeys& keys = SortKeys(column == ColSize ? int(ColName) : column);
    return [this, column, &keys](int a, int b) {
        const Row& x = rows_[std::size_t(a)];
        const Row& y = rows_[std::size_t(b)];
        if (column == ColName && Group(x) != Group(y))
            return Group(x) < Group(y);
        if (column == ColSize && Bytes(x) != Bytes(y))
            return Bytes(x) < Bytes(y);
        return keys.Compare(std::size_t(a), std::size_t(b)) < 0;
    };
}

void ObjectListModel::EraseObjects(const std::vector<std::size_t>& positions)
{
    RemoveRows(HeldRowsOf(positions));
    holders_.clear();
    // Each object left moves up by the number of objects erased before it.
    for (Row& row : rows_) {
        const auto before = std::lower_bound(positions.begin(), positions.end(), row.position) - positions.begin();
        row.position -= static_cast<std::size_t>(before);
    }
}

std::vector<int> ObjectListModel::HeldRowsOf(const std::vector<std::size_t>& positions) const
{
    std::vector<int> rows;
    rows.reserve(positions.size());
    for (int row = 0; row < HeldRowCount(); ++row) {
        if (std::binary_search(positions.begin(), positions.end(), rows_[std::size_t(row)].position))
            rows.push_back(row);
    }
    return rows;
}

std::vector<int> ObjectListModel::RowsOf(const std::vector<std::size_t>& positions) const
{
    std::vector<int> shown;
    for (const int row : HeldRowsOf(positions)) {
        if (const int at = ShownRowOf(row); at >= 0)
            shown.push_back(at);
    }
    return shown;
}

void ObjectListModel::RemoveRows(std::vector<int> rows)
{
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    // Each run of adjacent rows goes in one removal, from the last run up, so that deleting
    // every row of a large list is one step for the views instead of one per row; a
    // scattered selection of many rows is taken out in one pass and the views are reset.
    // The rows kept keep their sort keys; the rows taken out are kept with theirs until the
    // next edit, for an undo that brings them back.
    taken_ = {};
    if (rows.empty())
        return;
    taken_.rows.reserve(rows.size());
    for (const int row : rows)
        taken_.rows.push_back(std::move(rows_[std::size_t(row)]));
    taken_.pathKeys = pathKeys_.Erase(rows);
    taken_.folderKeys = folderKeys_.Erase(rows);
    if (IsFiltered()) {
        RemoveFilteredRows(rows, [&] { EraseAt(rows_, rows); });
        return;
    }
    std::vector<std::pair<int, int>> runs;  // from the last up
    for (std::size_t i = rows.size(); i > 0;) {
        const int last = rows[--i];
        int first = last;
        while (i > 0 && rows[i - 1] == first - 1)
            first = rows[--i];
        runs.emplace_back(first, last);
    }
    constexpr std::size_t MaxStepwiseRuns = 64;
    if (runs.size() > MaxStepwiseRuns) {
        beginResetModel();
        EraseAt(rows_, rows);
        endResetModel();
        return;
    }
    for (const auto& [first, last] : runs) {
        beginRemoveRows({}, first, last);
        rows_.erase(rows_.begin() + first, rows_.begin() + last + 1);
        endRemoveRows();
    }
}

int ObjectListModel::Group(const Row& row)
{
    return static_cast<int>(KindOfAttributes(row.item.Attributes));
}

QString ObjectListModel::SortText(const Row& row, int column) const
{
    return Cp932ToDisplay(column == ColName ? row.item.Path : ObjectFolderText(row.item.Path));
}

CollationKeys& ObjectListModel::SortKeys(int column)
{
    CollationKeys& keys = column == ColName ? pathKeys_ : folderKeys_;
    if (keys.Empty() && !rows_.empty()) {
        keys.Reserve(rows_.size());
        for (const Row& row : rows_)
            keys.Append(SortText(row, column));
    }
    return keys;
}

int ObjectListModel::CompareObjectRows(int a, int b, int column)
{
    a = RowOfShown(a);
    b = RowOfShown(b);
    if (column == ColSize) {
        const std::int64_t x = Bytes(rows_[std::size_t(a)]);
        const std::int64_t y = Bytes(rows_[std::size_t(b)]);
        return x < y ? -1 : x > y ? 1 : 0;
    }
    if (column != ColName && column != ColFolder)
        return 0;
    if (column == ColName) {
        if (const int byGroup = Group(rows_[std::size_t(a)]) - Group(rows_[std::size_t(b)]))
            return byGroup;
    }
    return SortKeys(column).Compare(std::size_t(a), std::size_t(b));
}

std::vector<int> ObjectListModel::SortedOrder()
{
    const int column = sort_.column;
    // By size, objects of one size in the order of their paths.
    const CollationKeys& keys = SortKeys(column == ColSize ? int(ColName) : column);
    std::vector<std::int64_t> bytes;
    if (column == ColSize) {
        bytes.reserve(rows_.size());
        for (const Row& row : rows_)
            bytes.push_back(Bytes(row));
    }
    const auto before = [&](int a, int b) {
        if (!bytes.empty() && bytes[std::size_t(a)] != bytes[std::size_t(b)])
            return bytes[std::size_t(a)] < bytes[std::size_t(b)];
        return keys.Compare(std::size_t(a), std::size_t(b)) < 0;
    };
    // By name: the groups in their order, each in the order of its paths.
    std::array<std::vector<int>, 3> groups;
    for (int row = 0; row < HeldRowCount(); ++row)
        groups[column == ColName ? std::size_t(Group(rows_[std::size_t(row)])) : 0].push_back(row);
    std::vector<int> order;
    order.reserve(rows_.size());
    for (std::vector<int>& group : groups) {
        std::sort(group.begin(), group.end(), before);
        order.insert(order.end(), group.begin(), group.end());
    }
    if (sort_.order == Qt::DescendingOrder)
        std::reverse(order.begin(), order.end());
    return order;
}

void ObjectListModel::Sort()
{
    if (sort_.column < 0 || sort_.column >= ColumnCount)
        return;
    const std::vector<int> order = SortedOrder();
    ReorderRows([&] {
        ApplyOrder(rows_, order);
        pathKeys_.Permute(order);
        folderKeys_.Permute(order);
        return order;
    });
}

void ObjectListModel::SortByColumn(int column)
{
    sort_.ClickColumn(column);
    Sort();
}

int ObjectListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ObjectListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const Row& row = rows_[static_cast<std::size_t>(RowOfShown(index.row()))];
    switch (role) {
    case Qt::DisplayRole:
        if (index.column() == ColSize)
            return SizeText(row);
        return Cp932ToDisplay(index.column() == ColName ? ExtractFileName(row.item.Path)
                                                        : ObjectFolderText(row.item.Path));
    case Qt::DecorationRole:
        return index.column() == ColName ? QVariant(GetSystemImageList().Icon(row.iconIndex)) : QVariant();
    case Qt::TextAlignmentRole:
        return index.column() == ColSize ? QVariant::fromValue(Qt::AlignVCenter | Qt::AlignRight) : QVariant();
    case Qt::ToolTipRole:
        return ToolTip(row);
    default:
        return {};
    }
}

QVariant ObjectListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::TextAlignmentRole && section == ColSize)
        return QVariant::fromValue(Qt::AlignVCenter | Qt::AlignRight);
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case ColName:
        return QStringLiteral("オブジェクト名");
    case ColFolder:
        return QStringLiteral("フォルダ名");
    default:
        return QStringLiteral("サイズ");
    }
}

// ---- sizes -------------------------------------------------------------------------------

void ObjectListModel::SetSizes(const SizeIndex* sizes)
{
    sizes_ = sizes;
    if (Count() > 0)
        emit dataChanged(index(0, 0), index(Count() - 1, ColumnCount - 1));
}

void ObjectListModel::SizesCounted(const std::unordered_set<std::string>& paths)
{
    if (paths.empty())
        return;
    for (Row& row : rows_)
        Recheck(row, paths);
    for (Row& row : taken_.rows)
        Recheck(row, paths);
    // One signal for the shown rows, whichever of them the filter lets through.
    if (Count() > 0)
        emit dataChanged(index(0, 0), index(Count() - 1, ColumnCount - 1));
}

// The count went to the disk already: an object it found or missed is looked at again only
// when that differs from what its row shows.
void ObjectListModel::Recheck(Row& row, const std::unordered_set<std::string>& counted) const
{
    if (!counted.contains(row.item.Path))
        return;
    const ObjectSize* size = SizeOf(row);
    if (size && size->exists != (row.item.Attributes != -1)) {
        row.item.Attributes = GetFileAttributesOf(row.item.Path);
        row.iconIndex = ObjectIconIndex(KindOfAttributes(row.item.Attributes), ExtractFileName(row.item.Path));
    }
}

void ObjectListModel::SetHolders(std::vector<std::string> holders)
{
    holders_ = std::move(holders);
    if (Count() > 0)
        emit dataChanged(index(0, 0), index(Count() - 1, ColumnCount - 1), {Qt::ToolTipRole});
}

const std::string& ObjectListModel::Holder(int row) const
{
    static const std::string none;
    const std::size_t position = rows_[std::size_t(RowOfShown(row))].position;
    return position < holders_.size() ? holders_[position] : none;
}

const ObjectSize* ObjectListModel::SizeOf(const Row& row) const
{
    return sizes_ ? sizes_->Find(row.item.Path) : nullptr;
}

std::int64_t ObjectListModel::Bytes(const Row& row) const
{
    const ObjectSize* size = SizeOf(row);
    return size && size->exists ? size->bytes : 0;
}

// Empty until the object is counted and for an object that does not exist; the bytes as
// the wizard's list writes them otherwise.
QVariant ObjectListModel::SizeText(const Row& row) const
{
    const ObjectSize* size = SizeOf(row);
    if (!size || !size->exists)
        return QString();
    return QLocale().toString(static_cast<qlonglong>(size->bytes));
}

QString ObjectListModel::ToolTip(const Row& row) const
{
    static const std::string none;
    const std::size_t position = row.position;
    return ObjectToolTip(row.item.Path, position < holders_.size() ? holders_[position] : none, SizeOf(row));
}
