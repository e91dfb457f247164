#pragma once

#include "support/core/SortState.h"
#include "support/core/SortedTableModel.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QRegularExpression>
#include <QString>

#include <atomic>
#include <memory>
#include <vector>

class QThread;

// The entries of one folder for the open dialog's file list: name, size, type and date,
// folders first, sortable by every column. A folder is read and sorted on a worker thread
// and handed over whole, so a folder of 100,000 entries never holds up the dialog; the
// list shows the new folder as soon as it has been read. The empty folder path stands for
// the computer folder, whose entries are the mounted volumes.
class FolderModel : public SortedTableModel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FolderModel)

public:
    struct Entry {
        QString name;
        QString path;
        bool folder = false;
        qint64 size = 0;
        QDateTime modified;
        int nameRank = 0;   // place in the natural name order, folders first
        bool hidden = false;   // a dot file, shown only on request
    };

    enum Column { NameColumn = 0, SizeColumn = 1, TypeColumn = 2, DateColumn = 3 };

    explicit FolderModel(QObject* parent);
    ~FolderModel() override;

    // Starts reading folder; the list is empty until it has been read.
    void Load(const QString& folder);
    bool IsLoading() const { return loading_; }
    // Wildcard patterns for the files shown (letter case ignored); empty: every file.
    // Folders are always shown.
    void SetNameFilters(const QStringList& patterns);
    // Whether hidden entries (names starting with a dot) are listed; they are read anyway,
    // so switching needs no new read.
    void SetShowHidden(bool show);
    bool ShowsHidden() const { return showHidden_; }

    // The row of a path of the folder shown (or of a volume in the computer folder).
    QModelIndex IndexOf(const QString& path) const;
    QString FileName(const QModelIndex& index) const { return EntryAt(index).name; }
    QString FilePath(const QModelIndex& index) const { return EntryAt(index).path; }
    bool IsDir(const QModelIndex& index) const { return EntryAt(index).folder; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void sort(int column, Qt::SortOrder order) override;

signals:
    // The folder asked for last has been read and is shown.
    void loaded();

private:
    using Entries = std::vector<Entry>;

    const Entry& EntryAt(const QModelIndex& index) const;
    void Deliver(int generation, std::shared_ptr<Entries> entries);
    void Rebuild();
    void Refilter();
    void SortVisible();
    bool Passes(const Entry& entry) const;
    void StopWorkers();

    Entries entries_;                // in name order
    std::vector<int> visible_;       // rows: indexes into entries_
    std::vector<int> rowOfEntry_;    // -1 for an entry filtered out
    QHash<QString, int> entryOfName_;
    QList<QRegularExpression> filters_;
    SortState sort_;
    int generation_ = 0;
    bool loading_ = false;
    bool showHidden_ = false;
    std::shared_ptr<std::atomic<bool>> cancel_;
    std::vector<QThread*> workers_;
};
