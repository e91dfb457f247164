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
// Objects that are not known to be folders or wildcards (plain files, names with nothing
// behind them) are counted many to a worker, each by its lstats alone (the folders above the
// files of one folder are looked up once), and their counts reach the index's thread
// together; a folder found among them is handed back to be walked alone.
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
    // Never touches the disk. The count stays at this address while the index lives, and each
    // new count of the object replaces it there.
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

    // Files counted so far since the index was last idle, for a progress text.
    std::int64_t FilesInProgress() const;
    bool Counting() const;

    // True when one of the objects is counted at the rescan interval instead of followed
    // (more folders than the watch budget allows, or no inotify).
    bool Rescanning(const std::vector<std::string>& paths) const;

signals:
    // Counts of these objects have finished (the first ones, or new ones after a change):
    // those that arrived together, in one signal.
    void Counted(const std::vector<std::string>& paths);

private:
    struct Job;
    struct Run;
    struct Outcome;
    struct Mailbox;
    struct Entry {
        std::string scope;  // host folder whose changes touch the object
        std::string parent;  // host folder that holds the object
        bool wildcard = false;
        bool folder = false;  // the last count found a folder
        bool queued = false;  // pending_ holds it
        std::optional<ObjectSize> size;
        std::shared_ptr<const ObjectWalk> walk;
        std::shared_ptr<Job> job;
        std::set<std::string> watched;
        std::set<std::string> changed;  // host folders changed since the last walk began
        bool followed = false;  // every folder of the last count is watched
        bool outdated = false;  // changed since its last walk began
        bool walkAnew = true;  // the next walk starts from nothing
    };

    void Place(Entry& entry, const std::string& path);
    using Item = std::pair<const std::string, Entry>;
    void Enqueue(Item& item, bool first = false);
    static bool Alone(const Item* item);
    void StartWalks();
    std::shared_ptr<Job> Start(const std::string& path, Entry& entry, const std::shared_ptr<Run>& run);
    void Launch(const std::shared_ptr<Run>& run);
    static void Work(const Run& run, const Walk& walk, FolderWatches& watches, const std::shared_ptr<Mailbox>& mailbox);
    void Deliver(std::vector<Outcome>& outcomes);
    bool Take(Outcome& outcome);
    void KeepWatches(Entry& entry, const Job& job);
    void Finish(Entry& entry);
    void Unstart(Entry& entry);
    void Cancel(Entry& entry);
    void TakeBack(const Job& cancelled);
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
    // The objects to count, in order: entries_ keeps each entry where it is.
    std::deque<Item*> pending_;
    // The jobs the entries hold, so that the files counted so far are summed without a pass
    // over every entry (which each progress text would otherwise make).
    std::unordered_set<std::shared_ptr<Job>> running_;
    // The workers' runs that hold a job an entry waits for: one worker each.
    std::unordered_set<std::shared_ptr<Run>> runs_;
    // Counted entries whose folders are not all watched, so that a list that has none asks
    // no entry.
    std::size_t unfollowed_ = 0;
    // Files of the counts delivered since the index was last idle.
    std::int64_t filesCounted_ = 0;
    std::unordered_map<Viewer, std::unordered_set<std::string>> focus_;
};
