#include "chooser/FolderModel.h"

#include "support/ui/ObjectIcons.h"

#include <QCollator>
#include <QDirIterator>
#include <QLocale>
#include <QStorageInfo>
#include <QThread>

#include <algorithm>
#include <array>

namespace {

using Entries = std::vector<FolderModel::Entry>;

FolderModel::Entry EntryOf(const QFileInfo& info, const QString& name)
{
    FolderModel::Entry entry;
    entry.name = name;
    entry.path = info.filePath();
    entry.folder = info.isDir();
    entry.size = entry.folder ? 0 : info.size();
    entry.modified = info.lastModified();
    entry.hidden = name.startsWith(u'.');
    return entry;
}

Entries ReadVolumes()
{
    Entries entries;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady())
            entries.push_back(EntryOf(QFileInfo(volume.rootPath()), volume.rootPath()));
    }
    return entries;
}

// Reads folder until done or cancelled, then puts the entries in natural name order,
// folders first, with sort keys computed once per name.
Entries ReadFolder(const QString& folder, const std::atomic<bool>& cancel)
{
    Entries entries;
    if (folder.isEmpty()) {
        entries = ReadVolumes();
    } else {
        QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System | QDir::Hidden);
        while (it.hasNext() && !cancel.load(std::memory_order_relaxed)) {
            const QFileInfo info = it.nextFileInfo();
            entries.push_back(EntryOf(info, info.fileName()));
        }
    }
    QCollator collator;
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::vector<std::pair<QCollatorSortKey, int>> keys;
    keys.reserve(entries.size());
    for (std::size_t i = 0; i < entries.size() && !cancel.load(std::memory_order_relaxed); ++i)
        keys.emplace_back(collator.sortKey(entries[i].name), static_cast<int>(i));
    std::stable_sort(keys.begin(), keys.end(), [&](const auto& a, const auto& b) {
        const bool aFolder = entries[static_cast<std::size_t>(a.second)].folder;
        const bool bFolder = entries[static_cast<std::size_t>(b.second)].folder;
        if (aFolder != bFolder)
            return aFolder;
        return a.first.compare(b.first) < 0;
    });
    Entries sorted;
    sorted.reserve(keys.size());
    for (const auto& [key, index] : keys) {
        sorted.push_back(std::move(entries[static_cast<std::size_t>(index)]));
        sorted.back().nameRank = static_cast<int>(sorted.size()) - 1;
    }
    return sorted;
}

}  // namespace

FolderModel::FolderModel(QObject* parent) : SortedTableModel(parent) {}

FolderModel::~FolderModel()
{
    StopWorkers();
}

void FolderModel::StopWorkers()
{
    if (cancel_)
        cancel_->store(true);
    for (QThread* worker : workers_) {
        worker->wait();
        delete worker;
    }
    workers_.clear();
}

void FolderModel::Load(const QString& folder)
{
    if (cancel_)
        cancel_->store(true);
    const int generation = ++generation_;
    auto cancel = std::make_shared<std::atomic<bool>>(false);
    cancel_ = cancel;
    beginResetModel();
    entries_.clear();
    visible_.clear();
    rowOfEntry_.clear();
    entryOfName_.clear();
    endResetModel();
    loading_ = true;

    QThread* worker = QThread::create([this, folder, generation, cancel] {
        auto entries = std::make_shared<Entries>(ReadFolder(folder, *cancel));
        if (cancel->load())
            return;
        QMetaObject::invokeMethod(this, [this, generation, entries] { Deliver(generation, entries); },
                                  Qt::QueuedConnection);
    });
    workers_.push_back(worker);
    connect(worker, &QThread::finished, this, [this, worker] {
        workers_.erase(std::remove(workers_.begin(), workers_.end(), worker), workers_.end());
        worker->deleteLater();
    });
    worker->start();
}

void FolderModel::Deliver(int generation, std::shared_ptr<Entries> entries)
{
    if (generation != generation_)
        return;
    beginResetModel();
    entries_ = std::move(*entries);
    entryOfName_.clear();
    entryOfName_.reserve(static_cast<qsizetype>(entries_.size()));
    for (std::size_t i = 0; i < entries_.size(); ++i)
        entryOfName_.insert(entries_[i].name, static_cast<int>(i));
    Rebuild();
    endResetModel();
    loading_ = false;
    emit loaded();
}

void FolderModel::SetNameFilters(const QStringList& patterns)
{
    filters_.clear();
    for (const QString& pattern : patterns) {
        filters_.append(QRegularExpression(QRegularExpression::wildcardToRegularExpression(pattern),
                                           QRegularExpression::CaseInsensitiveOption));
    }
    Refilter();
}

void FolderModel::SetShowHidden(bool show)
{
    if (show == showHidden_)
        return;
    showHidden_ = show;
    Refilter();
}

void FolderModel::Refilter()
{
    beginResetModel();
    Rebuild();
    endResetModel();
}

bool FolderModel::Passes(const Entry& entry) const
{
    if (entry.hidden && !showHidden_)
        return false;
    if (entry.folder || filters_.isEmpty())
        return true;
    return std::any_of(filters_.begin(), filters_.end(),
                       [&](const QRegularExpression& filter) { return filter.match(entry.name).hasMatch(); });
}

void FolderModel::Rebuild()
{
    visible_.clear();
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (Passes(entries_[i]))
            visible_.push_back(static_cast<int>(i));
    }
    SortVisible();
}

void FolderModel::SortVisible()
{
    const auto less = [this](int a, int b) {
        const Entry& l = entries_[static_cast<std::size_t>(a)];
        const Entry& r = entries_[static_cast<std::size_t>(b)];
        switch (sort_.column) {
        case SizeColumn:
            if (l.folder != r.folder)
                return l.folder;
            if (l.size != r.size)
                return l.size < r.size;
            break;
        case TypeColumn: {
            if (l.folder != r.folder)
                return l.folder;
            const int order = l.folder ? 0 : FileTypeForName(l.name).localeAwareCompare(FileTypeForName(r.name));
            if (order != 0)
                return order < 0;
            break;
        }
        case DateColumn:
            if (l.modified != r.modified)
                return l.modified < r.modified;
            break;
        default:
            break;
        }
        return l.nameRank < r.nameRank;
    };
    if (sort_.order == Qt::AscendingOrder)
        std::stable_sort(visible_.begin(), visible_.end(), less);
    else
        std::stable_sort(visible_.begin(), visible_.end(), [&](int a, int b) { return less(b, a); });
    rowOfEntry_.assign(entries_.size(), -1);
    for (std::size_t row = 0; row < visible_.size(); ++row)
        rowOfEntry_[static_cast<std::size_t>(visible_[row])] = static_cast<int>(row);
}

// The header of the list applies the column-click rule itself and asks for the sort.
void FolderModel::sort(int column, Qt::SortOrder order)
{
    sort_ = {column, order};
    ReorderRows([this] {
        const std::vector<int> oldRowOfEntry = std::move(rowOfEntry_);
        SortVisible();
        std::vector<int> oldRows(visible_.size());
        for (std::size_t row = 0; row < visible_.size(); ++row)
            oldRows[row] = oldRowOfEntry[static_cast<std::size_t>(visible_[row])];
        return oldRows;
    });
}

QModelIndex FolderModel::IndexOf(const QString& path) const
{
    auto found = entryOfName_.constFind(path);
    if (found == entryOfName_.constEnd())
        found = entryOfName_.constFind(path.mid(path.lastIndexOf(u'/') + 1));
    if (found == entryOfName_.constEnd())
        return {};
    const int row = rowOfEntry_[static_cast<std::size_t>(*found)];
    return row < 0 ? QModelIndex() : index(row, NameColumn);
}

const FolderModel::Entry& FolderModel::EntryAt(const QModelIndex& index) const
{
    return entries_[static_cast<std::size_t>(visible_[static_cast<std::size_t>(index.row())])];
}

int FolderModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(visible_.size());
}

int FolderModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 4;
}

QVariant FolderModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const Entry& entry = EntryAt(index);
    if (role == Qt::DecorationRole && index.column() == NameColumn)
        return entry.folder ? FolderIcon() : FileIconForName(entry.name);
    if (role == Qt::TextAlignmentRole && index.column() == SizeColumn)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case NameColumn:
        return entry.name;
    case SizeColumn:
        // Whole kilobytes, rounded up; folders show no size.
        return entry.folder ? QString() : QLocale().toString((entry.size + 1023) / 1024) + QStringLiteral(" KB");
    case TypeColumn:
        return entry.folder ? QStringLiteral("ファイル フォルダ") : FileTypeForName(entry.name);
    case DateColumn:
        return QLocale().toString(entry.modified, QLocale::ShortFormat);
    default:
        return {};
    }
}

QVariant FolderModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    static const std::array<QString, 4> headings = {QStringLiteral("名前"), QStringLiteral("サイズ"),
                                                    QStringLiteral("種類"), QStringLiteral("更新日時")};
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    return section >= 0 && section < int(headings.size()) ? headings[std::size_t(section)] : QVariant();
}
