#include "catalog/JournalWriter.h"

#include "catalog/JournalMessages.h"
#include "support/core/TessnaError.h"

#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

// What the window's thread and the worker share. The worker holds it too, so that a worker
// left behind by the destructor never touches freed memory.
struct JournalWriter::Shared {
    Shared(JournalFile journal, std::chrono::milliseconds wait, Report done)
        : file(std::move(journal))
        , delay(wait)
        , report(std::move(done))
    {
    }

    const JournalFile file;
    const std::chrono::milliseconds delay;
    const Report report;

    std::mutex mutex;
    std::condition_variable wake;     // the worker waits here for work and deadlines
    std::condition_variable settled;  // the window waits here for work to be done
    std::optional<JournalState> pending;
    std::optional<std::chrono::steady_clock::time_point> deadline;
    bool removeAsked = false;
    bool stop = false;
    bool finished = false;
    // Requests are numbered in the order they were made; a flush waits for every number up
    // to the last one it saw, and work up to urgentUpTo does not wait for its deadline.
    std::uint64_t asked = 0;
    std::uint64_t pendingTicket = 0;
    std::uint64_t removeTicket = 0;
    std::uint64_t urgentUpTo = 0;
    std::uint64_t handled = 0;
    bool lastFailed = false;
};

JournalWriter::JournalWriter(JournalFile file, std::chrono::milliseconds delay, Report report)
    : shared_(std::make_shared<Shared>(std::move(file), delay, std::move(report)))
{
    std::thread(&JournalWriter::Work, shared_).detach();
}

JournalWriter::~JournalWriter()
{
    std::unique_lock lock(shared_->mutex);
    shared_->stop = true;
    shared_->urgentUpTo = shared_->asked;
    shared_->wake.notify_one();
    shared_->settled.wait_for(lock, StopWait, [this] { return shared_->finished; });
}

void JournalWriter::Post(JournalState state)
{
    const std::lock_guard lock(shared_->mutex);
    shared_->pending = std::move(state);
    if (!shared_->deadline)
        shared_->deadline = std::chrono::steady_clock::now() + shared_->delay;
    shared_->pendingTicket = ++shared_->asked;
    shared_->wake.notify_one();
}

void JournalWriter::Remove()
{
    const std::lock_guard lock(shared_->mutex);
    shared_->pending.reset();
    shared_->deadline.reset();
    shared_->removeAsked = true;
    shared_->removeTicket = ++shared_->asked;
    shared_->wake.notify_one();
}

bool JournalWriter::Flush(std::chrono::milliseconds timeout)
{
    std::unique_lock lock(shared_->mutex);
    const std::uint64_t target = shared_->asked;
    shared_->urgentUpTo = target;
    shared_->wake.notify_one();
    return shared_->settled.wait_for(lock, timeout, [&] { return shared_->handled >= target; })
        && !shared_->lastFailed;
}

// Takes the work that is due under the lock and does it without: the window never waits
// for the disk to post a change.
void JournalWriter::Work(const std::shared_ptr<Shared>& shared)
{
    std::unique_lock lock(shared->mutex);
    const auto writeDue = [&] {
        return shared->pending
            && (shared->pendingTicket <= shared->urgentUpTo || std::chrono::steady_clock::now() >= *shared->deadline);
    };
    for (;;) {
        if (!shared->removeAsked && !writeDue()) {
            if (shared->stop)
                break;
            if (shared->pending)
                shared->wake.wait_until(lock, *shared->deadline);
            else
                shared->wake.wait(lock);
            continue;
        }
        Done done;
        std::uint64_t ticket = 0;
        std::optional<JournalState> state;
        if (shared->removeAsked) {
            shared->removeAsked = false;
            done.removed = true;
            ticket = shared->removeTicket;
        } else {
            state = std::move(shared->pending);
            shared->pending.reset();
            shared->deadline.reset();
            done.revision = state->revision;
            ticket = shared->pendingTicket;
        }
        lock.unlock();
        if (!state && !shared->file.Remove())
            done.error = JournalCannotRemoveMessage(shared->file.Path());
        try {
            if (state)
                shared->file.Write(*state);
        } catch (const TessnaError& error) {
            done.error = error.what();
        }
        if (shared->report)
            shared->report(done);
        lock.lock();
        shared->lastFailed = !done.error.empty();
        shared->handled = ticket;
        shared->settled.notify_all();
    }
    shared->finished = true;
    shared->settled.notify_all();
}
