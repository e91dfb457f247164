#pragma once

#include "catalog/JournalFile.h"
#include "catalog/JournalState.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

// Keeps a journal file up to date from a worker thread, so that no command of the window
// waits for the disk. The first change after a write sets the deadline; later changes
// replace the state to write but never push the deadline back, so steady work cannot
// postpone the journal: it holds every change at most about one delay (plus the write)
// after it was made.
//
// Every call comes from one thread, the window's; Report runs on the worker.
class JournalWriter {
public:
    // The end of one write or removal: the revision written (for a removal, of the state
    // that was last posted before it), and the error's text when it failed.
    struct Done {
        bool removed = false;
        std::uint64_t revision = 0;
        std::string error;
    };
    using Report = std::function<void(const Done&)>;

    // Half a second, so that with the write itself (tens of milliseconds, more on a busy
    // disk) every change older than a second is in the journal.
    static constexpr std::chrono::milliseconds DefaultDelay{500};

    explicit JournalWriter(JournalFile file, std::chrono::milliseconds delay = DefaultDelay, Report report = {});
    // Writes what is pending, waiting at most StopWait for it; a worker stuck on a dead disk
    // is left to end with the process instead of freezing the close.
    ~JournalWriter();
    JournalWriter(const JournalWriter&) = delete;
    JournalWriter& operator=(const JournalWriter&) = delete;

    static constexpr std::chrono::milliseconds StopWait{3000};

    // The state to write at the deadline (replacing one posted earlier and not yet written).
    void Post(JournalState state);
    // Drops what is pending and removes the journal, after a write already under way.
    void Remove();
    // Writes what is pending now and waits for it and everything asked before to be done:
    // true when all of it was done in time and without a failure.
    bool Flush(std::chrono::milliseconds timeout);

private:
    struct Shared;
    static void Work(const std::shared_ptr<Shared>& shared);

    std::shared_ptr<Shared> shared_;
};
