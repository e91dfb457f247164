#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

// Folders watched through one inotify instance, within a budget of watches: the kernel's
// limit is shared with every program of the user, so only a share of it is taken. Walks add
// folders from worker threads; the owner's thread reads the changes. A folder added twice
// is watched once and released when its last holder releases it.
class FolderWatches {
public:
    // budget: how many folders may be watched at most; 0 takes the default share of the
    // kernel's limit.
    explicit FolderWatches(std::size_t budget = 0);
    ~FolderWatches();
    FolderWatches(const FolderWatches&) = delete;
    FolderWatches& operator=(const FolderWatches&) = delete;

    // The descriptor to wait on for changes, or -1 when inotify is not available.
    int Descriptor() const { return fd_; }

    // Watches a host folder; false when the budget is spent or the folder cannot be watched,
    // and then changes in it are not reported.
    bool Add(const std::string& hostFolder);
    void Release(const std::string& hostFolder);

    // The folders in which something changed since the last call (a file written, created,
    // deleted, moved, its attributes changed, or the folder itself removed or moved). Does
    // not block.
    std::vector<std::string> TakeChanges();

    // Stops watching: later calls add nothing (a walk left running on a dead mount may still
    // call Add).
    void Close();

    std::size_t Budget() const { return budget_; }

    // A quarter of the kernel's per-user limit, at most 65,536.
    static std::size_t DefaultBudget();

private:
    struct Watch {
        int descriptor = -1;  // -1 once the folder went away
        int holders = 0;
    };

    bool AddWatch(const std::string& hostFolder, Watch& watch);
    void Forget(int descriptor);

    std::mutex mutex_;
    int fd_ = -1;
    std::size_t budget_ = 0;
    std::unordered_map<std::string, Watch> byFolder_;
    std::unordered_map<int, std::vector<std::string>> byDescriptor_;
};
