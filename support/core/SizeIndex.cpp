#include "support/core/SizeIndex.h"

#include "support/core/FileMask.h"
#include "support/core/FolderWatches.h"
#include "support/core/HostPath.h"

#include <QSocketNotifier>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>

// One walk. The worker alone writes watched and overBudget until it delivers.
struct SizeIndex::Job {
    std::string path;
    std::string parent;
    std::shared_ptr<const ObjectWalk> previous;  // none: walk anew
    std::vector<std::string> changed;
    std::atomic<bool> cancelled = false;
    std::atomic<std::int64_t> filesSeen = 0;
    std::vector<std::string> watched;
    bool overBudget = false;
};

// Where workers hand their results in: the index while it lives, nobody after.
struct SizeIndex::Mailbox {
    std::mutex mutex;
    SizeIndex* receiver = nullptr;
};

namespace {

bool Touches(const std::string& scope, const std::string& parent, const std::string& folder)
{
    if (scope.empty())
        return false;
    if (folder == parent || folder == scope)
        return true;
    return folder.size() > scope.size() && folder.starts_with(scope)
        && (scope == "/" || folder[scope.size()] == '/');
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
        // Only an absolute host path names something to watch (the walk counts nothing else).
        if (const std::string host = added ? ToHostPath(path).value_or(std::string()) : std::string();
            host.starts_with('/')) {
            entry->second.parent = ParentHostFolder(host);
            entry->second.scope = HasWildcards(ExtractFileName(host)) ? entry->second.parent : host;
        }
        if (!entry->second.job && (!entry->second.size || entry->second.outdated))
            Enqueue(path);
    }
    StartWalks();
}

void SizeIndex::Focus(const std::vector<std::string>& paths, Viewer viewer)
{
    if (paths.empty())
        focus_.erase(viewer);
    else
        focus_[viewer] = {paths.begin(), paths.end()};
    std::erase_if(pending_, [&](const std::string& path) {
        const bool dropped = !Shown(path);
        if (dropped)
            queued_.erase(path);
        return dropped;
    });
    for (auto& [path, entry] : entries_) {
        if (entry.job && !Shown(path))
            Cancel(entry);
    }
    StartWalks();
}

// A path taken out of queued_ keeps its place in pending_ until StartWalks reaches it and
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
        queued_.erase(path);
        if (running_.empty())
            continue;
        if (const auto entry = entries_.find(path); entry != entries_.end() && entry->second.job)
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
    std::int64_t files = 0;
    for (const std::shared_ptr<Job>& job : running_)
        files += job->filesSeen.load(std::memory_order_relaxed);
    return files;
}

bool SizeIndex::Counting() const
{
    return !queued_.empty() || Running() > 0;
}

bool SizeIndex::Rescanning(const std::vector<std::string>& paths) const
{
    return std::any_of(paths.begin(), paths.end(), [&](const std::string& path) {
        const auto entry = entries_.find(path);
        return entry != entries_.end() && entry->second.size && !entry->second.followed;
    });
}

int SizeIndex::Running() const
{
    return static_cast<int>(running_.size());
}

void SizeIndex::Enqueue(const std::string& path)
{
    if (queued_.insert(path).second)
        pending_.push_back(path);
}

void SizeIndex::StartWalks()
{
    while (!pending_.empty() && Running() < options_.workers) {
        const std::string path = pending_.front();
        pending_.pop_front();
        if (!queued_.erase(path))
            continue;  // no longer wanted
        const auto entry = entries_.find(path);
        if (entry != entries_.end() && !entry->second.job)
            Start(path, entry->second);
    }
}

// The worker owns copies of everything it uses; it reaches the index only through the
// mailbox, under its lock.
void SizeIndex::Start(const std::string& path, Entry& entry)
{
    auto job = std::make_shared<Job>();
    job->path = path;
    job->parent = entry.parent;
    if (!entry.walkAnew && entry.walk) {
        job->previous = entry.walk;
        job->changed.assign(entry.changed.begin(), entry.changed.end());
    }
    entry.changed.clear();
    entry.job = job;
    running_.insert(job);
    entry.outdated = false;
    entry.walkAnew = false;
    std::thread([job, walk = options_.walk, watches = watches_, mailbox = mailbox_] {
        WalkControl control;
        control.cancelled = &job->cancelled;
        control.filesSeen = &job->filesSeen;
        control.onFolder = [&](const std::string& folder) {
            if (watches->Add(folder))
                job->watched.push_back(folder);
            else
                job->overBudget = true;
        };
        if (!job->previous && !job->parent.empty())
            control.onFolder(job->parent);
        auto result = std::make_shared<const ObjectWalk>(walk(job->path, job->previous.get(), job->changed, control));
        ObjectSize size = result->Sum();
        const std::lock_guard lock(mailbox->mutex);
        if (!mailbox->receiver)
            return;
        SizeIndex* const index = mailbox->receiver;
        QMetaObject::invokeMethod(
            index,
            [index, job, result = std::move(result), size = std::move(size)]() mutable {
                index->Deliver(job, std::move(result), std::move(size));
            },
            Qt::QueuedConnection);
    }).detach();
}

void SizeIndex::Deliver(const std::shared_ptr<Job>& job, std::shared_ptr<const ObjectWalk> walk, ObjectSize size)
{
    const auto found = entries_.find(job->path);
    running_.erase(job);
    if (found == entries_.end() || found->second.job != job || job->cancelled) {
        for (const std::string& folder : job->watched)
            watches_->Release(folder);
        StartWalks();
        return;
    }
    Entry& entry = found->second;
    entry.walk = std::move(walk);
    KeepWatches(entry, *job);
    entry.size = std::move(size);
    entry.job.reset();
    if (entry.outdated && Shown(job->path))
        Enqueue(job->path);
    StartWalks();
    emit Counted(job->path);
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

// The changes the cancelled walk had taken are lost with it: the next walk starts anew.
void SizeIndex::Cancel(Entry& entry)
{
    entry.job->cancelled = true;
    running_.erase(entry.job);
    entry.job.reset();
    entry.outdated = true;
    entry.walkAnew = true;
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
    for (auto& [path, entry] : entries_) {
        if (entry.outdated && !entry.job && Shown(path))
            Enqueue(path);
    }
    StartWalks();
}

void SizeIndex::Rescan()
{
    for (auto& [path, entry] : entries_) {
        if (!entry.size || entry.followed || entry.job || !Shown(path))
            continue;
        entry.walkAnew = true;
        Enqueue(path);
    }
    StartWalks();
}
