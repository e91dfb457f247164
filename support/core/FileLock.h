#pragma once

#include <chrono>
#include <string>

// An advisory lock between processes on a lock file (flock). The kernel drops it when its
// holder dies, so no stale lock is ever left behind. The lock file itself stays. A folder
// can be locked itself, which leaves no file behind.
class FileLock {
public:
    // Waits up to timeout for the lock on hostPath (a file, created when missing, or a folder).
    FileLock(const std::string& hostPath, std::chrono::milliseconds timeout);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool IsLocked() const { return locked_; }

private:
    int fd_ = -1;
    bool locked_ = false;
};
