#pragma once

#include <string>
#include <string_view>
#include <vector>

// Replaces a set of files so that none of them is ever half written. Stage writes each new
// content to a temporary file in the target's own folder and flushes it to the disk; Commit
// then renames the temporary files over their targets in the order they were staged. A file
// is therefore, at every moment and after any failure, either wholly old or wholly new.
// Whatever was staged but not committed is removed when the save is destroyed; what a killed
// process left is found by its name, ".tessna-<pid>-<process start>-<serial>.tmp", and
// removed by RemoveDeadTemporaries once that process is gone.
//
// Paths are code page 932 in host syntax. Failures throw TessnaError with the caller's
// messages: cannotCreate when the target cannot be replaced (no host form, a folder in its
// place, a read-only file, no temporary file can be created, the rename fails), cannotWrite
// when writing or flushing the content fails (a full disk). Saves of several threads may run
// at once.
class SafeSave {
public:
    struct Messages {
        std::string cannotCreate;
        std::string cannotWrite;
    };

    // Who may read the new file: whoever could read the old one (a new file gets the mode the
    // process's umask leaves), or its owner alone, whatever the old mode and the umask.
    enum class Access { Kept, OwnerOnly };

    SafeSave() = default;
    ~SafeSave();
    SafeSave(const SafeSave&) = delete;
    SafeSave& operator=(const SafeSave&) = delete;

    void Stage(const std::string& path, std::string_view content, Messages messages,
               Access access = Access::Kept);
    void Commit();

private:
    struct Staged {
        std::string target;      // host path
        std::string temporary;   // host path, empty once renamed
        std::string cannotCreate;
    };

    std::vector<Staged> staged_;
};

// Removes from hostFolder (host path) the temporary files of saves whose process has ended
// (killed, crashed): files named as SafeSave names them whose writer, known by process id and
// start time, no longer runs. Every other file stays, the files of running saves included.
// Returns how many were removed.
int RemoveDeadTemporaries(const std::string& hostFolder);
