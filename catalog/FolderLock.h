#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <utility>

class FileLock;

// The lock file in the program folder.
inline constexpr char FolderLockFileName[] = ".tessna.lock";

// The advisory lock on a program folder that the program and tessna-cli take while they
// change its files, so that two writers never interleave: tessna-cli for its whole read,
// change and write, the program for each save. It is a lock on the hidden file
// FolderLockFileName in the folder, opened for writing so that it holds on NFS too. The
// kernel lets go of it when its holder dies. Holds nest: the first takes the lock, the last
// lets it go.
class FolderLock {
public:
    // How long a hold waits for another holder to finish, unless the lock is made with
    // another wait.
    static constexpr std::chrono::milliseconds Wait{10000};

    // folder: code page 932 in host syntax.
    explicit FolderLock(std::string folder, std::chrono::milliseconds wait = Wait);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    class Holding {
    public:
        explicit Holding(FolderLock& lock) : lock_(&lock) {}
        ~Holding() { Release(); }
        Holding(Holding&& other) noexcept : lock_(std::exchange(other.lock_, nullptr)) {}
        Holding& operator=(Holding&&) = delete;
        Holding(const Holding&) = delete;
        Holding& operator=(const Holding&) = delete;
        void Release();

    private:
        FolderLock* lock_;
    };

    // Waits up to its wait for the lock; throws TessnaError when it cannot be had,
    // telling another holder apart from a lock that cannot be taken at all (and why).
    [[nodiscard]] Holding Hold();
    // The lock when it can be had at once; nothing when another holder has it or it cannot
    // be taken at all.
    [[nodiscard]] std::optional<Holding> HoldIfFree();

    // Whether this object holds the lock now.
    bool IsHeld() const { return holds_ > 0; }

private:
    Holding Take(std::chrono::milliseconds wait);

    std::string folder_;
    std::chrono::milliseconds wait_;
    std::unique_ptr<FileLock> lock_;
    int holds_ = 0;
};
