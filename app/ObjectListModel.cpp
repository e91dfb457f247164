#include "app/ObjectListModel.h"

#include "support/core/Cp932.h"
#include "support/core/FileNames.h"
#include "support/core/HostPath.h"

#include <QLocale>

#include <algorithm>
#include <numeric>

namespace {

// The folder column: the folder part of the path without its trailing delimiter; the root
// folder keeps its delimiter, as a drive root does.
std::string FolderColumnText(const std::string& path)
{
    const std::string folder = ExtractFilePath(path);
    if (folder.size() == 1 && folder[0] == PathDelim)
        return folder;
    return NormalizeFolderPath(folder, PathDelim);
}

}  // namespace

TObjectListModel::TObjectListModel(QObject* parent)
    : QAbstractTableModel(parent)
    , collator_(QLocale())
{
    collator_.setCaseSensitivity(Qt::CaseSensitive);
}

TObjectListModel::~TObjectListModel() = default;

TObjectListModel::Row TObjectListModel::MakeRow(const std::string& path)
{
    Row row;
    row.item.Path = path;
    row.item.Attributes = GetFileAttributesOf(path);
    const std::string name = ExtractFileName(path);
    row.name = Cp932ToDisplay(name);
    row.folder = Cp932ToDisplay(FolderColumnText(path));
    row.iconIndex = icons_.IconIndexFor(row.item.Attributes, name);
    return row;
}

void TObjectListModel::SetObjects(const std::vector<std::string>& paths)
{
    beginResetModel();
    rows_.clear();
    rows_.reserve(paths.size());
    for (const std::string& path : paths)
        rows_.push_back(MakeRow(path));
    endResetModel();
}

void TObjectListModel::AppendObject(const std::string& path)
{
    const int row = Count();
    beginInsertRows({}, row, row);
    rows_.push_back(MakeRow(path));
    endInsertRows();
}

void TObjectListModel::RemoveRows(std::vector<int> rows)
{
    std::sort(rows.begin(), rows.end(), std::greater<>());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    for (const int row : rows) {
        beginRemoveRows({}, row, row);
        rows_.erase(rows_.begin() + row);
        endRemoveRows();
    }
}

int TObjectListModel::Group(const Row& row)
{
    const int attributes = row.item.Attributes;
    if (attributes == -1)
        return 2;
    return (attributes & faDirectory) ? 0 : 1;
}

void TObjectListModel::EnsureSortKeys(int column)
{
    for (Row& row : rows_) {
        if (column == ColName && !row.pathKey)
            row.pathKey = collator_.sortKey(Cp932ToDisplay(row.item.Path));
        else if (column == ColFolder && !row.folderKey)
            row.folderKey = collator_.sortKey(row.folder);
    }
}

int TObjectListModel::Compare(const Row& a, const Row& b, int column) const
{
    switch (column) {
    case ColName:
        if (const int byGroup = Group(a) - Group(b))
            return byGroup;
        return a.pathKey->compare(*b.pathKey);
    case ColFolder:
        return a.folderKey->compare(*b.folderKey);
    default:
        return 0;
    }
}

int TObjectListModel::CompareObjectRows(int a, int b, int column)
{
    EnsureSortKeys(column);
    return Compare(rows_[static_cast<std::size_t>(a)], rows_[static_cast<std::size_t>(b)], column);
}

void TObjectListModel::Sort(int column, int direction)
{
    if (column != ColName && column != ColFolder)
        return;
    EnsureSortKeys(column);
    std::vector<int> order(rows_.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return direction * Compare(rows_[std::size_t(a)], rows_[std::size_t(b)], column) < 0;
    });

    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<int> newRowOf(rows_.size());
    std::vector<Row> sorted;
    sorted.reserve(rows_.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        newRowOf[std::size_t(order[i])] = static_cast<int>(i);
        sorted.push_back(std::move(rows_[std::size_t(order[i])]));
    }
    rows_ = std::move(sorted);
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& index : before)
        after.push_back(this->index(newRowOf[std::size_t(index.row())], index.column()));
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

int TObjectListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : Count();
}

int TObjectListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TObjectListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const Row& row = rows_[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return index.column() == ColName ? row.name : row.folder;
    case Qt::DecorationRole:
        return index.column() == ColName ? QVariant(icons_.Icon(row.iconIndex)) : QVariant();
    case Qt::ToolTipRole:
        return Cp932ToDisplay(row.item.Path);
    default:
        return {};
    }
}

QVariant TObjectListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    return section == ColName ? QStringLiteral("オブジェクト名") : QStringLiteral("フォルダ名");
}
