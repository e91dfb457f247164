#pragma once

#include "support/core/ObjectsTotal.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

class SizeIndex;

// The sizes of the objects one list shows, followed in a size index that other lists may
// share: the index counts them on its workers, counts that arrive close together are handed
// on in one batch, the progress is told a few times a second while they are counted, and
// which object another listed object already holds is known once all are counted. The walks
// that only this list wanted end at once when it follows nothing or goes.
class ListSizes : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ListSizes)

public:
    explicit ListSizes(SizeIndex& index, QObject* parent = nullptr);
    ~ListSizes() override;

    // The objects the list shows now (code page 932 paths, in the list's order of positions).
    void Follow(std::vector<std::string> paths);
    // Objects entered the list at these positions (ascending, positions afterwards): as
    // Follow of the new list, at a cost that follows the objects that entered wherever the
    // list has no count to look at again.
    void Insert(const std::vector<std::size_t>& positions, const std::vector<std::string>& paths);
    // The objects at these positions (ascending) left the list; the same as Insert.
    void Erase(const std::vector<std::size_t>& positions);
    const std::vector<std::string>& Followed() const { return paths_; }
    const SizeIndex& Index() const { return *index_; }

    // The total of every followed object, each file once, as of the last counts taken;
    // nothing while any is counted.
    const std::optional<SizeTotal>& Total() const { return total_; }
    // The same of some of them.
    std::optional<SizeTotal> TotalOf(const std::vector<std::string>& paths) const;
    // The total in words, or the progress of the count; empty when nothing is followed.
    QString TotalText() const;
    // What the total could not read, or empty.
    QString TotalToolTip() const;
    // For each followed object by position, the path of the listed object that already holds
    // it, or empty (all empty until every object is counted).
    const std::vector<std::string>& Holders() const { return holders_; }
    // The holder of the object at this path, or empty.
    const std::string& HolderOf(const std::string& path) const;
    // Some followed object is counted again at an interval instead of followed live, as of
    // the last counts taken.
    bool Rescanning() const { return rescanning_; }

signals:
    // Counts of these followed objects arrived (Holders is up to date).
    void Counted(const std::unordered_set<std::string>& paths);
    // The total or the progress changed: TotalText has something new to say.
    void TotalChanged();

private:
    // A followed path: where it stands first in the list, and how often.
    struct Place {
        std::size_t first = 0;
        std::size_t count = 0;
    };

    void Arrived(const std::vector<std::string>& paths);
    // After an edit: the holders and the total again.
    void Edited();
    // The first position of each path, after edits moved them.
    void FindFirstPlaces() const;
    void TakeCounts();
    void Progress();
    void Look();
    bool AllCounted();

    // The index may go first when both belong to one window.
    QPointer<SizeIndex> index_;
    std::vector<std::string> paths_;
    // Each followed path with its first position, for its holder. A path that left the list
    // stays with a count of 0 until they outnumber the list (an undo brings most back), so
    // that an edit of many objects looks each up once and allocates nothing. The first
    // positions are found again only when a holder is asked for after an edit.
    mutable std::unordered_map<std::string, Place> followed_;
    std::size_t unfollowed_ = 0;
    mutable bool placesKnown_ = true;
    std::unordered_set<std::string> arrived_;
    std::vector<std::string> holders_;
    // Kept from the last counts: both look at every followed object, too slow for each
    // keystroke of a filter or each change of the current row.
    std::optional<SizeTotal> total_;
    bool rescanning_ = false;
    // The counts of the objects from the first on that were counted when last looked at.
    std::vector<const ObjectSize*> counted_;
    QTimer countsTimer_;
    QTimer progressTimer_;
};
