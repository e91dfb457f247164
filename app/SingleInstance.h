#pragma once

#include <QLocalServer>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <chrono>
#include <functional>
#include <memory>

class FileLock;

class QLocalSocket;

// The rule that only one instance runs. The first instance holds a lock (flock) on the file
// "TessnaPrevInst" in the user's runtime folder for its whole life and listens on a local
// socket beside it; through that socket a later instance asks for the titles of its windows
// and asks it to come to the front. The kernel lets go of the lock when its holder ends, so
// a lock file nobody holds is stale whatever it contains.
class SingleInstance : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SingleInstance)

public:
    // How long a later instance waits for the first one's main window to appear.
    struct Polling {
        int searches = 22;
        std::chrono::milliseconds interval{500};
    };

    // Folder: where the lock and the socket live (the user's runtime folder in the program).
    explicit SingleInstance(const QString& folder, QObject* parent = nullptr);
    ~SingleInstance() override;

    static QString RuntimeFolder();

    // True when this process is the first instance: it now holds the lock and answers later
    // instances. A lock that cannot be made for any other reason than another live holder
    // counts as being the only instance (a folder in the lock file's place, say).
    bool Claim();

    // The window a later start brings to the front, restored when minimised, whatever
    // window of this instance it found.
    void SetMainWindow(QWidget* window) { mainWindow_ = window; }

    // Run by a later instance: looks for a window of the first instance whose title matches
    // "Tessna *", up to Polling.searches times, Polling.interval apart, and never longer in
    // all than those intervals and a moment for the last answer, however the first instance
    // behaves. When one is found, the first instance restores its main window if minimised
    // and brings it to the front. True when a window was found.
    bool ActivateRunningInstance(const Polling& polling) const;

private:
    void AnswerClient(QLocalSocket* socket);

    QString socketPath_;
    QString lockPath_;
    std::unique_ptr<FileLock> lock_;
    QLocalServer server_;
    QPointer<QWidget> mainWindow_;
};

// The entry's decision: false when this is the only instance (start-up goes on, the lock is
// kept); true when another instance runs (it has been brought to the front if its main
// window could be found, and start-up ends). When the running instance never showed a
// window, notFound is called before the start ends, so that it can say why.
bool ActivatePreviousInstance(SingleInstance& instance, const SingleInstance::Polling& polling = {},
                              const std::function<void()>& notFound = {});

// Why a start ended without a window: another instance holds the lock but showed none.
QString NoRunningWindowMessage();
