#pragma once

#include <cerrno>
#include <chrono>
#include <string>

// An advisory lock between processes on a lock file (flock). The kernel drops it when its
// holder dies, so no stale lock is ever left behind, whatever the file holds. The lock file
// itself stays. It is opened for writing: NFS grants an exclusive lock only on such a file.
// A folder can be locked itself, read-only, where no lock file can be written (a read-only
// file system); that holds on local file systems only.
class FileLock {
public:
    enum class Target { File, Folder };

    // Waits up to timeout for the lock on hostPath (a file, created when missing, or a
    // folder).
    FileLock(const std::string& hostPath, std::chrono::milliseconds timeout, Target target = Target::File);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool IsLocked() const { return error_ == 0; }
    // Why the lock is not held: EWOULDBLOCK when another holder kept it for the whole wait,
    // otherwise the error of opening or locking the file; 0 when it is held.
    int Error() const { return error_; }
    // Whether another holder kept the lock for the whole wait.
    bool IsBusy() const { return error_ == EWOULDBLOCK; }

private:
    int fd_ = -1;
    int error_ = 0;
};
