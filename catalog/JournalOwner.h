#pragma once

#include "catalog/JournalFile.h"

#include <memory>
#include <string>

// The one owner of a program folder's journal: the live program that holds the lock on the
// journal's own lock file (".TessnaJournal.lock" beside it) for its whole run. The folder
// lock cannot serve, because tessna-cli takes that one between the program's saves. The
// kernel lets go of the lock when its holder dies, so a killed program's journal goes to the
// next one that starts.
//
// A journal whose lock another process holds, whose files belong to another user, or that
// another computer left is never read, offered or removed: the claim answers that it is
// owned elsewhere, and this run keeps no journal.
class JournalOwner {
public:
    enum class Outcome {
        InFolder,       // owned, in the program folder
        InStateFolder,  // owned, in the user's state folder: the program folder cannot hold it
        Elsewhere,      // another instance, user or computer owns it
        Nowhere,        // neither folder can hold it
    };
    struct Claim {
        Outcome outcome;
        std::unique_ptr<JournalOwner> owner;  // set when owned
    };

    // Claims the journal of programFolder (code page 932 in host syntax): in the folder
    // itself, or when that cannot hold the lock file (read-only media), in the state folder
    // of StateFolderFor. A journal that a run on read-only media left in the state folder
    // moves into the program folder once that can hold it, unless one is there already.
    static Claim ClaimFor(const std::string& programFolder);

    // The user's state folder for the journal of programFolder: a folder of its own under
    // "$XDG_STATE_HOME/Kavo/Tessna" (by default ~/.local/state), named by a digest of the
    // program folder's path. Nothing when that path has no code page 932 form.
    static std::optional<std::string> StateFolderFor(const std::string& programFolder);

    static constexpr char LockName[] = ".TessnaJournal.lock";

    ~JournalOwner();
    JournalOwner(const JournalOwner&) = delete;
    JournalOwner& operator=(const JournalOwner&) = delete;

    const JournalFile& File() const { return file_; }

private:
    JournalOwner(int lockFd, std::string holder);

    // How the claim in one folder ended: owned, owned elsewhere, or this folder cannot hold it.
    enum class Attempt { Owned, Elsewhere, CannotHold };
    static Attempt TryHolder(const std::string& holder, int& lockFd);
    void AdoptFromStateFolder(const std::string& programFolder) const;

    int lockFd_;
    JournalFile file_;
};
