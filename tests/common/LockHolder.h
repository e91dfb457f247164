#pragma once

#include <QProcess>
#include <QString>

#include <string>

// Another process that takes the lock (flock, on a descriptor opened for writing) on a file
// when nobody holds it, and keeps it until it is killed: a live writer, or a holder that
// never lets go. The lock is
// held by that one process, so killing it frees the lock at once.
class LockHolder {
public:
    explicit LockHolder(const std::string& hostPath)
    {
        process_.start(QStringLiteral("sh"),
                       {QStringLiteral("-c"), QStringLiteral("exec 9>>\"$0\" && flock -n 9 && echo locked && exec sleep 300"),
                        QString::fromStdString(hostPath)});
        holding_ = process_.waitForStarted() && process_.waitForReadyRead(10000)
            && process_.readLine().trimmed() == "locked";
    }
    ~LockHolder() { Kill(); }
    LockHolder(const LockHolder&) = delete;
    LockHolder& operator=(const LockHolder&) = delete;

    // Whether the lock was taken.
    bool Holding() const { return holding_; }
    bool Running() const { return process_.state() == QProcess::Running; }
    void Kill()
    {
        process_.kill();
        process_.waitForFinished();
    }

private:
    QProcess process_;
    bool holding_ = false;
};
