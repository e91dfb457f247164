#include "support/core/FolderWatches.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <set>

namespace {

// IN_MODIFY is the one that tells of a file growing in place.
constexpr std::uint32_t WatchedEvents = IN_MODIFY | IN_ATTRIB | IN_CREATE | IN_DELETE | IN_MOVED_FROM
    | IN_MOVED_TO | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR | IN_DONT_FOLLOW | IN_EXCL_UNLINK;

}  // namespace

std::size_t FolderWatches::DefaultBudget()
{
    std::size_t limit = 8192;
    std::ifstream("/proc/sys/fs/inotify/max_user_watches") >> limit;
    return std::min<std::size_t>(limit / 4, 65536);
}

FolderWatches::FolderWatches(std::size_t budget)
    : fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
    , budget_(budget == 0 ? DefaultBudget() : budget)
{
}

FolderWatches::~FolderWatches()
{
    Close();
}

void FolderWatches::Close()
{
    const std::lock_guard lock(mutex_);
    if (fd_ >= 0)
        close(fd_);
    fd_ = -1;
    byFolder_.clear();
    byDescriptor_.clear();
}

// Two paths of one folder (a link above it) get one descriptor, which then names both.
bool FolderWatches::AddWatch(const std::string& hostFolder, Watch& watch)
{
    const int descriptor = inotify_add_watch(fd_, hostFolder.c_str(), WatchedEvents);
    if (descriptor < 0)
        return false;
    watch.descriptor = descriptor;
    byDescriptor_[descriptor].push_back(hostFolder);
    return true;
}

bool FolderWatches::Add(const std::string& hostFolder)
{
    const std::lock_guard lock(mutex_);
    if (fd_ < 0)
        return false;
    if (const auto known = byFolder_.find(hostFolder); known != byFolder_.end()) {
        if (known->second.descriptor < 0 && !AddWatch(hostFolder, known->second))
            return false;
        ++known->second.holders;
        return true;
    }
    if (byFolder_.size() >= budget_)
        return false;
    Watch watch;
    if (!AddWatch(hostFolder, watch))
        return false;
    watch.holders = 1;
    byFolder_.emplace(hostFolder, watch);
    return true;
}

void FolderWatches::Release(const std::string& hostFolder)
{
    const std::lock_guard lock(mutex_);
    const auto known = byFolder_.find(hostFolder);
    if (known == byFolder_.end() || --known->second.holders > 0)
        return;
    const int descriptor = known->second.descriptor;
    byFolder_.erase(known);
    const auto paths = byDescriptor_.find(descriptor);
    if (paths == byDescriptor_.end())
        return;
    std::erase(paths->second, hostFolder);
    if (!paths->second.empty())
        return;
    byDescriptor_.erase(paths);
    inotify_rm_watch(fd_, descriptor);
}

// The kernel dropped the watch (its folder was removed): a folder made again at that path
// must be watched anew.
void FolderWatches::Forget(int descriptor)
{
    byDescriptor_.erase(descriptor);
    for (auto& watch : byFolder_) {
        if (watch.second.descriptor == descriptor)
            watch.second.descriptor = -1;
    }
}

std::vector<std::string> FolderWatches::TakeChanges()
{
    const std::lock_guard lock(mutex_);
    std::set<std::string> changed;
    alignas(inotify_event) char buffer[16384];
    while (fd_ >= 0) {
        const ssize_t got = read(fd_, buffer, sizeof buffer);
        if (got <= 0)
            break;
        for (ssize_t at = 0; at < got;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            // A full queue lost events: every watched folder may have changed.
            if (event->mask & IN_Q_OVERFLOW) {
                for (const auto& watch : byFolder_)
                    changed.insert(watch.first);
                continue;
            }
            if (const auto paths = byDescriptor_.find(event->wd); paths != byDescriptor_.end())
                changed.insert(paths->second.begin(), paths->second.end());
            if (event->mask & IN_IGNORED)
                Forget(event->wd);
        }
    }
    return {changed.begin(), changed.end()};
}
