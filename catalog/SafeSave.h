#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Replaces a set of files so that none of them is ever half written. Stage writes each new
// content to a temporary file in the target's own folder and flushes it to the disk; Commit
// then puts the temporary files in place of their targets in the order they were staged. A
// file is therefore, at every moment and after any failure, either wholly old or wholly new.
// The new file keeps the old one's identity: owner, group, mode, ACLs and extended
// attributes; a file with other names (hard links) is written in place from its flushed
// temporary file, so that every name sees the new content. Whatever was staged but not
// committed is removed when the save is destroyed. Before a target is written in place, a
// record naming it (its name, device and inode, and the content's length) is flushed beside
// the temporary file as ".tessna-<pid>-<process start>-<serial>.copy"; both go once the target
// is flushed, the record first. A temporary file is named
// ".tessna-<pid>-<process start>-<serial>.tmp" and locked (flock) by its writer from before
// its name appears until it is gone, so RemoveDeadTemporaries tells the files of killed
// saves by their free lock, in any process namespace.
//
// Paths are code page 932 in host syntax. Failures throw TessnaError with the caller's
// messages: cannotCreate when the target cannot be replaced (no host form, a folder in its
// place, a read-only file, no temporary file can be created, the rename fails), cannotWrite
// when writing or flushing the content fails (a full disk); a target whose identity cannot be
// carried over (a save by a user who may not give the file its owner) is refused with a
// message naming what would be lost, before anything is written. Saves of several threads may
// run at once.
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
    // The same with the content as parts, written one after another.
    void Stage(const std::string& path, const std::vector<std::string_view>& content, Messages messages,
               Access access = Access::Kept);
    void Commit();

    // The folders (host paths) the staged temporary files are in: those of the targets,
    // beside a link's target rather than the link.
    std::vector<std::string> TemporaryFolders() const;

private:
    struct Staged {
        std::string target;      // host path
        std::string temporary;   // host path, empty once in place
        int fd = -1;             // the temporary file, open and locked until it is in place
        bool inPlace = false;    // the target has other names: its content is overwritten
        Messages messages;
    };

    void PutInPlace(Staged& file);

    std::vector<Staged> staged_;
};

// The folders (host paths) where saves of these files (code page 932 paths in host syntax)
// write their temporary files: the folder of each, and that of its target for a link. Each
// once, in the order first met; a path with no host form has none.
std::vector<std::string> TemporaryFoldersOf(const std::vector<std::string>& paths);

// Removes from hostFolder (host path) the temporary files of saves whose writer has ended
// (killed, crashed): files named as SafeSave names them whose lock nobody holds. Every other
// file stays, the files of running saves included. A save killed while it wrote a target in
// place left a whole record beside its temporary file: that target first gets the temporary
// file's whole content, so it ends new rather than cut, keeping its inode, owner and other
// names; where that cannot be done (this user may not write the target), the record and the
// temporary file both stay. Call it only under the lock that keeps other saves of the folder
// out. Returns how many temporary files were removed.
int RemoveDeadTemporaries(const std::string& hostFolder);

// The moments of a write in place, for a test that kills the writer at one of them: the
// record is on disk, a part of the content was copied over the target, all of it was.
enum class InPlaceStep { Recorded, PartCopied, Copied };
using InPlaceStepHandler = std::function<void(InPlaceStep)>;

// Installs the handler called at each moment (none by default); gives the one it replaces.
InPlaceStepHandler SetInPlaceStepHandler(InPlaceStepHandler handler);
