#include "app/JournalKeeper.h"

#include "catalog/JournalMessages.h"
#include "support/core/FileNames.h"
#include "support/core/HostPath.h"

#include <QMetaObject>

#include <atomic>
#include <cstdlib>
#include <mutex>

namespace {

// The writer of the live keeper, for the exit hook.
std::atomic<JournalWriter*> liveWriter = nullptr;

void FlushAtExit()
{
    if (JournalWriter* writer = liveWriter.load())
        writer->Flush(JournalWriter::StopWait);
}

}  // namespace

// Where the worker reports to: the keeper while it lives. Failures are told on the keeper's
// thread, and only the first of a row.
struct JournalKeeper::Sink {
    std::mutex mutex;
    JournalKeeper* keeper = nullptr;
    bool failing = false;

    void Report(const JournalWriter::Done& done)
    {
        const std::lock_guard lock(mutex);
        const bool failed = !done.error.empty();
        const bool tell = failed && !failing;
        failing = failed;
        if (tell && keeper)
            QMetaObject::invokeMethod(
                keeper, [keeper = keeper, message = done.error] { emit keeper->Failed(message); }, Qt::QueuedConnection);
    }
};

JournalKeeper::JournalKeeper(const std::string& programFolder, Snapshot snapshot, QObject* parent,
                             std::chrono::milliseconds delay)
    : QObject(parent)
    , folder_(AddPathDelimiter(programFolder, PathDelim))
    , snapshot_(std::move(snapshot))
    , sink_(std::make_shared<Sink>())
{
    auto claim = JournalOwner::ClaimFor(folder_);
    switch (claim.outcome) {
    case JournalOwner::Outcome::InFolder:
        break;
    case JournalOwner::Outcome::InStateFolder:
        claimMessage_ = JournalInStateFolderMessage(claim.owner->File().Holder());
        break;
    case JournalOwner::Outcome::Elsewhere:
        claimMessage_ = JournalOwnedElsewhereMessage();
        return;
    case JournalOwner::Outcome::Nowhere:
        claimMessage_ = JournalNowhereMessage();
        return;
    }
    owner_ = std::move(claim.owner);
    sink_->keeper = this;
    writer_ = std::make_unique<JournalWriter>(owner_->File(), delay,
                                              [sink = sink_](const JournalWriter::Done& done) { sink->Report(done); });
    static const bool hooked = std::atexit(FlushAtExit) == 0;
    (void)hooked;
    liveWriter = writer_.get();
}

JournalKeeper::~JournalKeeper()
{
    JournalWriter* mine = writer_.get();
    liveWriter.compare_exchange_strong(mine, nullptr);
    const std::lock_guard lock(sink_->mutex);
    sink_->keeper = nullptr;
}

JournalKeeper::Found JournalKeeper::TakeFound() const
{
    if (!owner_)
        return {};
    const JournalFile& file = owner_->File();
    auto found = file.Read();
    if (!found)
        return {};
    if (found->state && found->state->folder == folder_)
        return {std::move(found->state), {}};
    const auto aside = file.SetAside();
    return {std::nullopt, aside ? JournalSetAsideMessage(*aside) : JournalCannotSetAsideMessage(file.Path())};
}

void JournalKeeper::Changed()
{
    if (writer_)
        writer_->Post(snapshot_());
}

void JournalKeeper::Clean()
{
    if (writer_)
        writer_->Remove();
}

bool JournalKeeper::Flush(std::chrono::milliseconds timeout)
{
    return !writer_ || writer_->Flush(timeout);
}
