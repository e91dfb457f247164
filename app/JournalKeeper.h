#pragma once

#include "catalog/JournalOwner.h"
#include "catalog/JournalState.h"
#include "catalog/JournalWriter.h"

#include <QObject>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>

// The program's journal of unsaved changes for its folder, for the whole run: claims it at
// start, hands every change to the background writer, removes it when nothing is unsaved,
// and writes what is pending at once when the session ends or the process exits (a display
// that went away ends the process through exit). A run that cannot own the journal keeps
// none and says why once (ClaimMessage).
class JournalKeeper : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(JournalKeeper)

public:
    // snapshot gives the unsaved state as it is now; it is called on this thread at each
    // change.
    using Snapshot = std::function<JournalState()>;

    JournalKeeper(const std::string& programFolder, Snapshot snapshot, QObject* parent = nullptr,
                  std::chrono::milliseconds delay = JournalWriter::DefaultDelay);
    ~JournalKeeper() override;

    // Whether this run keeps a journal.
    bool Keeps() const { return writer_ != nullptr; }
    // What the user should know about where the journal is, or why there is none; empty when
    // it is in the program folder.
    const std::string& ClaimMessage() const { return claimMessage_; }

    // The journal an earlier run left. One that cannot be read, or that belongs to another
    // folder, is renamed aside and problem tells the user so.
    struct Found {
        std::optional<JournalState> state;
        std::string problem;
    };
    Found TakeFound() const;

    // The list changed: the journal will hold its new state within the writer's delay.
    void Changed();
    // Nothing is unsaved any more: the journal goes.
    void Clean();
    // Writes what is pending now and waits for it; true when it is on disk.
    bool Flush(std::chrono::milliseconds timeout = JournalWriter::StopWait);

signals:
    // A write or removal failed (told once until one succeeds again); code page 932.
    void Failed(const std::string& message);

private:
    struct Sink;

    std::string folder_;
    Snapshot snapshot_;
    std::string claimMessage_;
    std::unique_ptr<JournalOwner> owner_;
    std::shared_ptr<Sink> sink_;
    std::unique_ptr<JournalWriter> writer_;
};
