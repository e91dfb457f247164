#include "support/core/FileLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

FileLock::FileLock(const std::string& hostPath, std::chrono::milliseconds timeout)
    : fd_(open(hostPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600))
{
    if (fd_ < 0 && errno == EISDIR)
        fd_ = open(hostPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd_ < 0)
        return;
    // Polled rather than blocking, so that a holder that never lets go costs a failed
    // write instead of a frozen program.
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!(locked_ = flock(fd_, LOCK_EX | LOCK_NB) == 0)) {
        if ((errno != EWOULDBLOCK && errno != EINTR)
            || std::chrono::steady_clock::now() >= deadline)
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

FileLock::~FileLock()
{
    if (fd_ >= 0)
        close(fd_);
}
