#pragma once

#include "support/core/RegistryFile.h"

#include <functional>
#include <optional>
#include <string>

// The registry file on disk, as seen by one accessor. Reads come from a snapshot taken at
// the first read. A change takes the file's lock, reads the file afresh, applies the change
// and replaces the file atomically (a temporary file in the same folder, then a rename),
// so that concurrent writers lose nothing and a crash never leaves half a file. A file that
// cannot be read or parsed is never written: reads see an empty registry, changes fail.
// A change waits its turn while other writers replace the file (up to ten seconds), but a
// holder of the lock that changes nothing is waited for about a second in all by the changes
// that meet it one after another (the first change that gets the lock starts a new wait), so
// a stuck holder never keeps the program waiting long.
class RegistryStore {
public:
    explicit RegistryStore(std::string hostPath);

    const RegistryFile& Snapshot();

    // Busy: another process kept the lock; NoFolder: the file's folder cannot be made.
    enum class ChangeResult { Done, Unchanged, Unreadable, Busy, NoFolder, Failed };
    static bool Succeeded(ChangeResult result)
    {
        return result == ChangeResult::Done || result == ChangeResult::Unchanged;
    }

    // change gives false when it changed nothing (the file is then left alone).
    ChangeResult Change(const std::function<bool(RegistryFile&)>& change);

    const std::string& HostPath() const { return hostPath_; }

private:
    enum class LoadState { Loaded, Missing, Unreadable };
    LoadState Load(std::optional<RegistryFile>& file) const;
    bool Replace(const RegistryFile& file) const;

    std::string hostPath_;
    std::optional<RegistryFile> snapshot_;
};
