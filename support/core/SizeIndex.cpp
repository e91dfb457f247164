#include "support/core/SizeIndex.h"

#include "support/core/FileMask.h"
#include "support/core/FolderWatches.h"
#include "support/core/HostPath.h"

#include <QSocketNotifier>

#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <utility>

// One object's walk. The worker alone writes watched and overBudget until it delivers.
struct SizeIndex::Job {
    std::string path;
    std::string host;  // empty: the path names nothing on this host
    std::string parent;
    std::shared_ptr<const ObjectWalk> previous;  // none: walk anew
    std::vector<std::string> changed;
    std::atomic<bool> cancelled = false;
    // Set by whoever comes first: the worker that walks the job, or the index that takes it
    // back from a worker that has not come to it.
    std::atomic<bool> claimed = false;
    std::atomic<std::int64_t> filesSeen = 0;
    std::vector<std::string> watched;
    bool overBudget = false;
    std::weak_ptr<Run> run;  // the index's thread alone
};

// The jobs one worker walks one after another. A batch holds objects not known to need a
// walk of their own; a folder among them is handed back unwalked.
struct SizeIndex::Run {
    std::vector<std::shared_ptr<Job>> jobs;
    bool batch = false;
    // The index's thread alone: jobs that an entry still waits for, and whether the jobs the
    // worker had not come to were taken back.
    std::size_t waited = 0;
    bool takenBack = false;
};

// What a worker hands back for one job.
struct SizeIndex::Outcome {
    std::shared_ptr<Job> job;
    std::shared_ptr<const ObjectWalk> walk;  // none: a folder found in a batch, to walk alone
    ObjectSize size;
};

// Where workers hand their results in: the index while it lives, nobody after.
struct SizeIndex::Mailbox {
    std::mutex mutex;
    SizeIndex* receiver = nullptr;
};

namespace {

using Clock = std::chrono::steady_clock;

// The queue is shared among the workers in batches of at most this many objects: a worker's
// start waits for the index's thread, which a busy machine may make a few milliseconds late,
// so a long queue is taken in few batches.
constexpr std::size_t BatchSize = 4096;
// A worker hands over what it has counted at least this often, so that the index's thread
// takes a few thousand counts at a time at most and sizes show as they are counted.
constexpr auto HandOverInterval = std::chrono::milliseconds(20);

bool Touches(const std::string& scope, const std::string& parent, const std::string& folder)
{
    if (scope.empty())
        return false;
    if (folder == parent || folder == scope)
        return true;
    return folder.size() > scope.size() && folder.starts_with(scope)
        && (scope == "/" || folder[scope.size()] == '/');
}

bool IsFolder(const std::string& hostPath)
{
    struct stat info { };
    return !hostPath.empty() && lstat(hostPath.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

SizeIndex::SizeIndex(Options options, QObject* parent)
    : QObject(parent)
    , options_(std::move(options))
    , watches_(std::make_shared<FolderWatches>(options_.watchBudget))
    , mailbox_(std::make_shared<Mailbox>())
{
    mailbox_->receiver = this;
    settle_.setSingleShot(true);
    settle_.setInterval(options_.settleMs);
    connect(&settle_, &QTimer::timeout, this, &SizeIndex::CountChanged);
    rescan_.setInterval(options_.rescanMs);
    connect(&rescan_, &QTimer::timeout, this, &SizeIndex::Rescan);
    rescan_.start();
    if (watches_->Descriptor() >= 0) {
        notifier_ = std::make_unique<QSocketNotifier>(watches_->Descriptor(), QSocketNotifier::Read);
        connect(notifier_.get(), &QSocketNotifier::activated, this, &SizeIndex::TakeChanges);
    }
}

SizeIndex::~SizeIndex()
{
    {
        const std::lock_guard lock(mailbox_->mutex);
        mailbox_->receiver = nullptr;
    }
    for (auto& [path, entry] : entries_) {
        if (entry.job)
            entry.job->cancelled = true;
    }
    notifier_.reset();
    watches_->Close();
}

const ObjectSize* SizeIndex::Find(const std::string& path) const
{
    const auto entry = entries_.find(path);
    return entry != entries_.end() && entry->second.size ? &*entry->second.size : nullptr;
}

void SizeIndex::Request(const std::vector<std::string>& paths, Viewer viewer)
{
    std::unordered_set<std::string>& shown = focus_[viewer];
    for (const std::string& path : paths) {
        shown.insert(path);
        auto [entry, added] = entries_.try_emplace(path);
        if (added)
            Place(entry->second, path);
        if (!entry->second.job && (!entry->second.size || entry->second.outdated))
            Enqueue(*entry);
    }
    StartWalks();
}

// Only an absolute host path names something to watch (the walk counts nothing else).
void SizeIndex::Place(Entry& entry, const std::string& path)
{
    const std::string host = ToHostPath(path).value_or(std::string());
    if (!host.starts_with('/'))
        return;
    entry.parent = ParentHostFolder(host);
    entry.wildcard = HasWildcards(ExtractFileName(host));
    entry.scope = entry.wildcard ? entry.parent : host;
}

void SizeIndex::Focus(const std::vector<std::string>& paths, Viewer viewer)
{
    if (paths.empty())
        focus_.erase(viewer);
    else
        focus_[viewer] = {paths.begin(), paths.end()};
    std::erase_if(pending_, [&](Item* item) {
        item->second.queued = Shown(item->first);
        return !item->second.queued;
    });
    for (auto& [path, entry] : entries_) {
        if (entry.job && !Shown(path))
            Cancel(entry);
    }
    StartWalks();
}

// A path taken out of the queue keeps its place in pending_ until StartWalks reaches it and
// passes over it: searching the queue for each path would cost a pass per edit.
void SizeIndex::Unfocus(const std::vector<std::string>& paths, Viewer viewer)
{
    const auto shown = focus_.find(viewer);
    if (shown == focus_.end())
        return;
    for (const std::string& path : paths) {
        shown->second.erase(path);
        const bool shownElsewhere = std::any_of(focus_.begin(), focus_.end(), [&](const auto& other) {
            return other.first != viewer && other.second.contains(path);
        });
        if (shownElsewhere)
            continue;
        const auto entry = entries_.find(path);
        if (entry == entries_.end())
            continue;
        entry->second.queued = false;
        if (entry->second.job)
            Cancel(entry->second);
    }
    if (shown->second.empty())
        focus_.erase(shown);
    StartWalks();
}

bool SizeIndex::Shown(const std::string& path) const
{
    return std::any_of(focus_.begin(), focus_.end(), [&](const auto& viewer) { return viewer.second.contains(path); });
}

std::optional<std::vector<const ObjectSize*>> SizeIndex::Sizes(const std::vector<std::string>& paths) const
{
    std::vector<const ObjectSize*> sizes;
    sizes.reserve(paths.size());
    for (const std::string& path : paths) {
        const ObjectSize* size = Find(path);
        if (!size)
            return std::nullopt;
        sizes.push_back(size);
    }
    return sizes;
}

std::optional<SizeTotal> SizeIndex::Total(const std::vector<std::string>& paths) const
{
    const std::optional<std::vector<const ObjectSize*>> sizes = Sizes(paths);
    return sizes ? std::optional(TotalOf(*sizes)) : std::nullopt;
}

std::int64_t SizeIndex::FilesInProgress() const
{
    std::int64_t files = filesCounted_;
    for (const std::shared_ptr<Job>& job : running_)
        files += job->filesSeen.load(std::memory_order_relaxed);
    return files;
}

bool SizeIndex::Counting() const
{
    return !pending_.empty() || Running() > 0;
}

bool SizeIndex::Rescanning(const std::vector<std::string>& paths) const
{
    return unfollowed_ > 0 && std::any_of(paths.begin(), paths.end(), [&](const std::string& path) {
        const auto entry = entries_.find(path);
        return entry != entries_.end() && entry->second.size && !entry->second.followed;
    });
}

int SizeIndex::Running() const
{
    return static_cast<int>(runs_.size());
}

void SizeIndex::Enqueue(Item& item, bool first)
{
    if (item.second.queued)
        return;
    item.second.queued = true;
    if (first)
        pending_.push_front(&item);
    else
        pending_.push_back(&item);
}

// A folder or a wildcard: its walk may take long, and a worker takes it alone.
bool SizeIndex::Alone(const Item* item)
{
    return item->second.wildcard || item->second.folder;
}

// Each free worker takes the object at the head of the queue alone, or the objects from there
// on that need no walk of their own as one batch: its share of the queue among the free
// workers.
void SizeIndex::StartWalks()
{
    while (!pending_.empty() && Running() < options_.workers) {
        auto run = std::make_shared<Run>();
        run->batch = !Alone(pending_.front());
        const auto free = std::size_t(options_.workers - Running());
        const std::size_t share = (pending_.size() + free - 1) / free;
        const std::size_t most = run->batch ? std::min(share, BatchSize) : 1;
        while (!pending_.empty() && run->jobs.size() < most && !(run->batch && Alone(pending_.front()))) {
            Item* const item = pending_.front();
            pending_.pop_front();
            // An item Unfocus took out of the queue is passed over.
            if (!std::exchange(item->second.queued, false) || item->second.job)
                continue;
            run->jobs.push_back(Start(item->first, item->second, run));
        }
        if (!run->jobs.empty())
            Launch(run);
    }
    if (!Counting())
        filesCounted_ = 0;
}

std::shared_ptr<SizeIndex::Job> SizeIndex::Start(const std::string& path, Entry& entry, const std::shared_ptr<Run>& run)
{
    auto job = std::make_shared<Job>();
    job->path = path;
    job->host = entry.wildcard ? std::string() : entry.scope;
    job->parent = entry.parent;
    if (!entry.walkAnew && entry.walk) {
        job->previous = entry.walk;
        job->changed.assign(entry.changed.begin(), entry.changed.end());
    }
    job->run = run;
    ++run->waited;
    entry.changed.clear();
    entry.job = job;
    running_.insert(job);
    entry.outdated = false;
    entry.walkAnew = false;
    return job;
}

// The worker owns copies of everything it uses; it reaches the index only through the
// mailbox, under its lock.
void SizeIndex::Launch(const std::shared_ptr<Run>& run)
{
    runs_.insert(run);
    std::thread([run, walk = options_.walk, watches = watches_, mailbox = mailbox_] {
        Work(*run, walk, *watches, mailbox);
    }).detach();
}

// Runs on a worker: counts are handed over together, when the run ends, when a folder is
// found in a batch (so that its walk starts at once) and at intervals on a slow disk.
void SizeIndex::Work(const Run& run, const Walk& walk, FolderWatches& watches, const std::shared_ptr<Mailbox>& mailbox)
{
    std::unordered_map<std::string, std::vector<FileId>> ancestors;
    std::vector<Outcome> outcomes;
    auto handedOver = Clock::now();
    const auto handOver = [&] {
        if (!outcomes.empty()) {
            const std::lock_guard lock(mailbox->mutex);
            if (SizeIndex* const index = mailbox->receiver)
                QMetaObject::invokeMethod(
                    index, [index, taken = std::move(outcomes)]() mutable { index->Deliver(taken); },
                    Qt::QueuedConnection);
        }
        outcomes.clear();
        handedOver = Clock::now();
    };
    for (const std::shared_ptr<Job>& job : run.jobs) {
        if (job->claimed.exchange(true) || job->cancelled)
            continue;
        if (run.batch && IsFolder(job->host)) {
            outcomes.push_back({job, nullptr, {}});
            handOver();
            continue;
        }
        WalkControl control;
        control.cancelled = &job->cancelled;
        control.filesSeen = &job->filesSeen;
        control.ancestors = &ancestors;
        control.onFolder = [&](const std::string& folder) {
            if (watches.Add(folder))
                job->watched.push_back(folder);
            else
                job->overBudget = true;
        };
        if (!job->previous && !job->parent.empty())
            control.onFolder(job->parent);
        auto result = std::make_shared<const ObjectWalk>(walk(job->path, job->previous.get(), job->changed, control));
        ObjectSize size = result->Sum();
        outcomes.push_back({job, std::move(result), std::move(size)});
        if (Clock::now() - handedOver >= HandOverInterval)
            handOver();
    }
    handOver();
}

void SizeIndex::Deliver(std::vector<Outcome>& outcomes)
{
    std::vector<std::string> counted;
    for (Outcome& outcome : outcomes) {
        if (Take(outcome))
            counted.push_back(outcome.job->path);
    }
    StartWalks();
    if (!counted.empty())
        emit Counted(counted);
}

// Takes a worker's outcome into its entry; true when the entry has a new count.
bool SizeIndex::Take(Outcome& outcome)
{
    const std::shared_ptr<Job>& job = outcome.job;
    const auto found = entries_.find(job->path);
    if (found == entries_.end() || found->second.job != job || job->cancelled) {
        for (const std::string& folder : job->watched)
            watches_->Release(folder);
        return false;
    }
    Entry& entry = found->second;
    if (!outcome.walk) {
        // Walked next, ahead of the objects still queued.
        Unstart(entry);
        entry.folder = true;
        Enqueue(*found, true);
        return false;
    }
    entry.walk = std::move(outcome.walk);
    const bool wasUnfollowed = entry.size && !entry.followed;
    KeepWatches(entry, *job);
    unfollowed_ = unfollowed_ - std::size_t(wasUnfollowed) + std::size_t(!entry.followed);
    entry.size = std::move(outcome.size);
    entry.folder = !entry.walk->roots.empty();
    filesCounted_ += entry.size->files;
    Finish(entry);
    if (entry.outdated && Shown(job->path))
        Enqueue(*found);
    return true;
}

// A new walk watches every folder it holds; an update watched only the folders that were
// new to it, and the folders it dropped are let go.
void SizeIndex::KeepWatches(Entry& entry, const Job& job)
{
    if (!job.previous) {
        ReleaseWatches(entry.watched);
        entry.followed = !job.overBudget;
    } else {
        entry.followed = entry.followed && !job.overBudget;
        for (auto folder = entry.watched.begin(); folder != entry.watched.end();) {
            if (*folder == entry.parent || entry.walk->folders.contains(*folder)) {
                ++folder;
                continue;
            }
            watches_->Release(*folder);
            folder = entry.watched.erase(folder);
        }
    }
    for (const std::string& folder : job.watched) {
        if (!entry.watched.insert(folder).second)
            watches_->Release(folder);  // held already: one hold per entry
    }
}

// The entry waits for its job no more, and the job's worker is free once no entry waits
// for any of its jobs.
void SizeIndex::Finish(Entry& entry)
{
    running_.erase(entry.job);
    if (const std::shared_ptr<Run> run = entry.job->run.lock(); run && --run->waited == 0)
        runs_.erase(run);
    entry.job.reset();
}

// A job given up before it was counted: the changes it had taken are lost with it, and the
// next walk starts anew.
void SizeIndex::Unstart(Entry& entry)
{
    Finish(entry);
    entry.outdated = true;
    entry.walkAnew = true;
}

void SizeIndex::Cancel(Entry& entry)
{
    const std::shared_ptr<Job> job = entry.job;
    job->cancelled = true;
    Unstart(entry);
    TakeBack(*job);
}

// The cancelled job may hang (a dead mount) with the rest of its batch behind it: the jobs its
// worker has not come to are queued again for another worker.
void SizeIndex::TakeBack(const Job& cancelled)
{
    const std::shared_ptr<Run> run = cancelled.run.lock();
    if (!run || run->takenBack)
        return;
    run->takenBack = true;
    for (const std::shared_ptr<Job>& job : run->jobs) {
        const auto entry = entries_.find(job->path);
        if (entry == entries_.end() || entry->second.job != job || job->claimed.exchange(true))
            continue;
        Unstart(entry->second);
        if (Shown(job->path))
            Enqueue(*entry);
    }
}

void SizeIndex::ReleaseWatches(std::set<std::string>& folders)
{
    for (const std::string& folder : folders)
        watches_->Release(folder);
    folders.clear();
}

void SizeIndex::TakeChanges()
{
    const std::vector<std::string> changed = watches_->TakeChanges();
    for (auto& [path, entry] : entries_) {
        for (const std::string& folder : changed) {
            if (!Touches(entry.scope, entry.parent, folder))
                continue;
            entry.outdated = true;
            entry.changed.insert(folder);
        }
    }
    if (!changed.empty() && !settle_.isActive())
        settle_.start();
}

void SizeIndex::CountChanged()
{
    for (Item& item : entries_) {
        if (item.second.outdated && !item.second.job && Shown(item.first))
            Enqueue(item);
    }
    StartWalks();
}

void SizeIndex::Rescan()
{
    for (Item& item : entries_) {
        Entry& entry = item.second;
        if (!entry.size || entry.followed || entry.job || !Shown(item.first))
            continue;
        entry.walkAnew = true;
        Enqueue(item);
    }
    StartWalks();
}
