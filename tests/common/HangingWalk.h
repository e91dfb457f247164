#pragma once

#include "support/core/SizeIndex.h"
#include "support/core/SizeWalker.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>

// A walk that hangs until it is let go, as one on a dead mount does: it opens a FIFO for
// reading, which waits for a writer. The first walk hangs, later ones count. Let it go before
// the walk is destroyed.
class HangingWalk {
public:
    explicit HangingWalk(const std::string& fifo)
        : fifo_(fifo)
    {
        mkfifo(fifo.c_str(), 0600);
    }

    SizeIndex::Walk Walk()
    {
        return [this](const std::string& path, const ObjectWalk*, const std::vector<std::string>&,
                      const WalkControl& control) {
            if (hung_.exchange(true))
                return WalkTree(path, control);
            cancelled_ = control.cancelled;
            const int fd = open(fifo_.c_str(), O_RDONLY);  // waits for a writer
            close(fd);
            ObjectWalk bogus;
            bogus.top.bytes = 999;
            bogus.top.exists = true;
            ended_ = true;
            return bogus;
        };
    }

    bool Hung() const { return hung_; }
    bool Ended() const { return ended_; }
    // Whether the hanging walk was told to end; valid while it hangs.
    bool Cancelled() const { return cancelled_ && cancelled_.load()->load(); }

    void LetGo() const { close(open(fifo_.c_str(), O_WRONLY)); }

private:
    std::string fifo_;
    std::atomic<bool> hung_ = false;
    std::atomic<bool> ended_ = false;
    std::atomic<const std::atomic<bool>*> cancelled_ = nullptr;
};

// A walk that tells of some files seen and then waits until it is released (or cancelled),
// so that a test sees the progress of a count; then it counts.
class HeldWalk {
public:
    explicit HeldWalk(std::int64_t filesSeen)
        : filesSeen_(filesSeen)
    {
    }

    SizeIndex::Walk Walk() const
    {
        return [released = released_, files = filesSeen_](const std::string& path, const ObjectWalk*,
                                                          const std::vector<std::string>&, const WalkControl& control) {
            control.filesSeen->store(files);
            while (!*released && !*control.cancelled)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            return WalkTree(path, control);
        };
    }

    void Release() const { *released_ = true; }

private:
    std::int64_t filesSeen_;
    std::shared_ptr<std::atomic<bool>> released_ = std::make_shared<std::atomic<bool>>(false);
};
