#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <utility>

class FileLock;

// The advisory lock on a program folder that the program and tessna-cli take while they
// change its files, so that two writers never interleave: tessna-cli for its whole read,
// change and write, the program for each save. The kernel lets go of it when its holder
// dies. Holds nest: the first takes the lock, the last lets it go.
class FolderLock {
public:
    // folder: code page 932 in host syntax.
    explicit FolderLock(std::string folder);
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

    // Waits up to the wait below for the lock; throws TessnaError when it cannot be had.
    [[nodiscard]] Holding Hold();

    // How long a hold waits for another holder to finish.
    static constexpr std::chrono::milliseconds Wait{10000};

private:
    std::string folder_;
    std::unique_ptr<FileLock> lock_;
    int holds_ = 0;
};
