#pragma once

#include "catalog/JournalState.h"

#include <optional>
#include <string>

// The journal file of a program folder, in the folder that holds it (the program folder, or
// a folder of the user's own when that one cannot). It is hidden (".TessnaJournal"), only
// its owner may read it (mode 0600), and its name is neither a catalog's (".VrCat") nor a
// temporary file's, so that no list takes it in and no cleanup removes it. It is replaced
// whole (temporary file, flush, rename, folder flush): a reader finds the old journal or the
// new one, never a mix. One that cannot be read is renamed aside, never deleted.
//
// Only the process that owns the journal (JournalOwner) uses this class on it.
class JournalFile {
public:
    // holder: the folder that holds the journal, code page 932 in host syntax.
    explicit JournalFile(std::string holder);

    // The journal's name, and the names a journal set aside starts with.
    static constexpr char Name[] = ".TessnaJournal";
    static constexpr char SetAsidePrefix[] = ".TessnaJournal.unreadable-";

    const std::string& Holder() const { return holder_; }
    // Full path of the journal (code page 932).
    std::string Path() const;

    // Replaces the journal with the state. Throws TessnaError (JournalCannotWriteMessage)
    // when it cannot, and when something other than a plain file is in its place.
    void Write(const JournalState& state) const;

    // Whether anything is in the journal's place; nothing is read.
    bool Exists() const;

    // What is there now: nothing (no journal), or a journal with its state, or with no state
    // when it cannot be read (cut short, changed, not a plain file, of a newer format).
    struct Found {
        std::optional<JournalState> state;
    };
    std::optional<Found> Read() const;

    // Renames an unreadable journal aside, to a name that no file has yet; gives that path,
    // or nothing when the rename failed (the journal then stays where it is).
    std::optional<std::string> SetAside() const;

    // Removes the journal; true when none is left.
    bool Remove() const;

private:
    std::string holder_;
};
