#pragma once

#include "support/core/ObjectSize.h"
#include "support/core/ObjectsTotal.h"
#include "support/core/SizeWalker.h"

#include <QObject>
#include <QTimer>

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

class FolderWatches;
class QSocketNotifier;

struct SizeIndexOptions {
    // Walks an object, or updates its previous walk after changes in the given folders.
    using Walk = std::function<ObjectWalk(const std::string& path, const ObjectWalk* previous,
                                          const std::vector<std::string>& changed, const WalkControl& control)>;
    Walk walk = [](const std::string& path, const ObjectWalk* previous, const std::vector<std::string>& changed,
                   const WalkControl& control) {
        return previous ? UpdateWalk(path, *previous, changed, control) : WalkTree(path, control);
    };
    std::size_t watchBudget = 0;  // 0: FolderWatches' default share
    int settleMs = 200;  // changes gathered before objects are counted again
    int rescanMs = 30000;  // interval for objects that are not watched
    int workers = 2;
};

// The sizes of catalog objects, counted on worker threads and kept per path, so that showing
// a catalog again, or another catalog that names the same folders, costs no new walk while
// nothing changed. Counted folders are watched (inotify, within a budget); a change counts
// the objects it touches again. Objects beyond the budget are counted again at an interval.
//
// Nothing here waits for a worker: a walk that is no longer wanted is cancelled and left to
// end on its own (a walk stuck on a dead mount may never end), and whatever it delivers later
// is dropped. Workers share only reference-counted state with the index, so the index can be
// destroyed while they run.
class SizeIndex : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SizeIndex)

public:
    using Walk = SizeIndexOptions::Walk;

    using Options = SizeIndexOptions;
    // Whoever shows counts of the index (a window's list): each follows its own objects, and
    // the index counts what any of them shows.
    using Viewer = const void*;

    explicit SizeIndex(Options options = Options(), QObject* parent = nullptr);
    ~SizeIndex() override;

    // The last count of an object (code page 932 path), or nullptr when none has finished.
    // Never touches the disk.
    const ObjectSize* Find(const std::string& path) const;

    // Counts those of the objects that have no count (or an outdated one) and no walk under
    // way, and keeps them up to date from then on while the viewer shows them.
    void Request(const std::vector<std::string>& paths, Viewer viewer = nullptr);

    // The objects the viewer shows now: the walks of objects no viewer shows are cancelled
    // at once, and only shown objects are counted again when they change. Counts already
    // made stay; one that a change made outdated is counted again when it is requested.
    // A viewer that goes away shows nothing.
    void Focus(const std::vector<std::string>& paths, Viewer viewer = nullptr);
    // These objects left what the viewer shows (Request adds objects to it): as Focus with
    // the viewer's objects less these, at a cost that follows the objects named.
    void Unfocus(const std::vector<std::string>& paths, Viewer viewer = nullptr);

    // The counts of the objects, in order, or nothing while any of them is counted.
    std::optional<std::vector<const ObjectSize*>> Sizes(const std::vector<std::string>& paths) const;
    // The total of the objects, each file once, or nothing while any of them is counted.
    std::optional<SizeTotal> Total(const std::vector<std::string>& paths) const;

    // Files counted so far by the walks under way, for a progress text.
    std::int64_t FilesInProgress() const;
    bool Counting() const;

    // True when one of the objects is counted at the rescan interval instead of followed
    // (more folders than the watch budget allows, or no inotify).
    bool Rescanning(const std::vector<std::string>& paths) const;

signals:
    // A count of the object has finished (the first one, or a new one after a change).
    void Counted(const std::string& path);

private:
    struct Job;
    struct Mailbox;
    struct Entry {
        std::string scope;  // host folder whose changes touch the object
        std::string parent;  // host folder that holds the object
        std::optional<ObjectSize> size;
        std::shared_ptr<const ObjectWalk> walk;
        std::shared_ptr<Job> job;
        std::set<std::string> watched;
        std::set<std::string> changed;  // host folders changed since the last walk began
        bool followed = false;  // every folder of the last count is watched
        bool outdated = false;  // changed since its last walk began
        bool walkAnew = true;  // the next walk starts from nothing
    };

    void Enqueue(const std::string& path);
    void StartWalks();
    void Start(const std::string& path, Entry& entry);
    void Deliver(const std::shared_ptr<Job>& job, std::shared_ptr<const ObjectWalk> walk, ObjectSize size);
    void KeepWatches(Entry& entry, const Job& job);
    void Cancel(Entry& entry);
    void ReleaseWatches(std::set<std::string>& folders);
    void TakeChanges();
    void CountChanged();
    void Rescan();
    int Running() const;
    bool Shown(const std::string& path) const;

    Options options_;
    std::shared_ptr<FolderWatches> watches_;
    std::shared_ptr<Mailbox> mailbox_;
    std::unique_ptr<QSocketNotifier> notifier_;
    QTimer settle_;
    QTimer rescan_;
    std::unordered_map<std::string, Entry> entries_;
    std::deque<std::string> pending_;
    // The paths pending_ holds, so that queueing a path looks it up instead of searching the
    // queue (a catalog of 100,000 objects queues them all at once).
    std::unordered_set<std::string> queued_;
    // The jobs the entries hold, so that the running ones are counted without a pass over
    // every entry (which each finished walk would otherwise make).
    std::unordered_set<std::shared_ptr<Job>> running_;
    std::unordered_map<Viewer, std::unordered_set<std::string>> focus_;
};
