#include "app/ObjectListModel.h"

#include "support/core/Cp932.h"
#include "support/core/FileNames.h"
#include "support/core/HostPath.h"
#include "support/core/RowOrder.h"
#include "support/ui/ImageList.h"
#include "support/ui/ObjectIcons.h"

#include <algorithm>
#include <array>
#include <numeric>

ObjectListModel::ObjectListModel(QObject* parent)
    : SortedTableModel(parent)
{
}

ObjectListModel::~ObjectListModel() = default;

ObjectListModel::Row ObjectListModel::MakeRow(const std::string& path, std::size_t position)
{
    Row row;
    row.position = position;
    row.item.Path = path;
    row.item.Attributes = GetFileAttributesOf(path);
    row.iconIndex = ObjectIconIndex(KindOfAttributes(row.item.Attributes), ExtractFileName(path));
    return row;
}

void ObjectListModel::SetObjects(const std::vector<std::string>& paths)
{
    beginResetModel();
    rows_.clear();
    pathKeys_.Clear();
    folderKeys_.Clear();
    rows_.reserve(paths.size());
    for (const std::string& path : paths)
        rows_.push_back(MakeRow(path, rows_.size()));
    endResetModel();
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

    const int first = Count();
    beginInsertRows({}, first, first + static_cast<int>(paths.size()) - 1);
    for (std::size_t i = 0; i < paths.size(); ++i) {
        rows_.push_back(MakeRow(paths[i], positions[i]));
        for (const int column : {int(ColName), int(ColFolder)}) {
            if (CollationKeys& keys = column == ColName ? pathKeys_ : folderKeys_; !keys.Empty())
                keys.Append(SortText(rows_.back(), column));
        }
    }
    endInsertRows();
}

void ObjectListModel::EraseObjects(const std::vector<std::size_t>& positions)
{
    RemoveRows(RowsOf(positions));
    // Each object left moves up by the number of objects erased before it.
    for (Row& row : rows_) {
        const auto before = std::lower_bound(positions.begin(), positions.end(), row.position) - positions.begin();
        row.position -= static_cast<std::size_t>(before);
    }
}

std::vector<int> ObjectListModel::RowsOf(const std::vector<std::size_t>& positions) const
{
    std::vector<int> rows;
    rows.reserve(positions.size());
    for (int row = 0; row < Count(); ++row) {
        if (std::binary_search(positions.begin(), positions.end(), rows_[std::size_t(row)].position))
            rows.push_back(row);
    }
    return rows;
}

void ObjectListModel::RemoveRows(std::vector<int> rows)
{
    std::sort(rows.begin(), rows.end(), std::greater<>());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    // Each run of adjacent rows goes in one removal, from the last run up, so that deleting
    // every row of a large list is one step for the views instead of one per row; a
    // scattered selection of many rows is taken out in one pass and the views are reset.
    // The sort keys are dropped rather than erased one by one; the next sort makes them.
    if (rows.empty())
        return;
    pathKeys_.Clear();
    folderKeys_.Clear();
    std::vector<std::pair<int, int>> runs;
    for (std::size_t i = 0; i < rows.size();) {
        const int last = rows[i];
        int first = last;
        while (++i < rows.size() && rows[i] == first - 1)
            first = rows[i];
        runs.emplace_back(first, last);
    }
    constexpr std::size_t MaxStepwiseRuns = 64;
    if (runs.size() > MaxStepwiseRuns) {
        beginResetModel();
        std::vector<bool> removed(rows_.size(), false);
        for (const int row : rows)
            removed[std::size_t(row)] = true;
        std::size_t kept = 0;
        for (std::size_t i = 0; i < rows_.size(); ++i) {
            if (!removed[i] && kept != i)
                rows_[kept] = std::move(rows_[i]);
            kept += removed[i] ? 0 : 1;
        }
        rows_.resize(kept);
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
    const CollationKeys& keys = SortKeys(column);
    // By name: the groups in their order, each in the order of its paths.
    std::array<std::vector<int>, 3> groups;
    for (int row = 0; row < Count(); ++row)
        groups[column == ColName ? std::size_t(Group(rows_[std::size_t(row)])) : 0].push_back(row);
    std::vector<int> order;
    order.reserve(rows_.size());
    for (std::vector<int>& group : groups) {
        std::sort(group.begin(), group.end(),
                  [&keys](int a, int b) { return keys.Compare(std::size_t(a), std::size_t(b)) < 0; });
        order.insert(order.end(), group.begin(), group.end());
    }
    if (sort_.order == Qt::DescendingOrder)
        std::reverse(order.begin(), order.end());
    return order;
}

void ObjectListModel::Sort()
{
    if (sort_.column != ColName && sort_.column != ColFolder)
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

int ObjectListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : Count();
}

int ObjectListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ObjectListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const Row& row = rows_[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return Cp932ToDisplay(index.column() == ColName ? ExtractFileName(row.item.Path)
                                                        : ObjectFolderText(row.item.Path));
    case Qt::DecorationRole:
        return index.column() == ColName ? QVariant(GetSystemImageList().Icon(row.iconIndex)) : QVariant();
    case Qt::ToolTipRole:
        return Cp932ToDisplay(row.item.Path);
    default:
        return {};
    }
}

QVariant ObjectListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    return section == ColName ? QStringLiteral("オブジェクト名") : QStringLiteral("フォルダ名");
}
