#include "support/core/FileLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

FileLock::FileLock(const std::string& hostPath, std::chrono::milliseconds timeout, Target target)
    : fd_(target == Target::File ? open(hostPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOCTTY, 0600)
                                 : open(hostPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
{
    if (fd_ < 0) {
        error_ = errno;
        return;
    }
    // Polled rather than blocking, so that a holder that never lets go costs a failed
    // write instead of a frozen program.
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        error_ = errno;
        if ((error_ != EWOULDBLOCK && error_ != EINTR) || std::chrono::steady_clock::now() >= deadline) {
            if (error_ == EINTR)
                error_ = EWOULDBLOCK;
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    error_ = 0;
}

FileLock::~FileLock()
{
    if (fd_ >= 0)
        close(fd_);
}
