#pragma once

#include "catalog/CatalogEntry.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What a file held when the program last read or wrote it: its size and the SHA-256 digest of
// its bytes (32 raw bytes), or nothing when no file was there. After a recovery it still
// tells which files another program changed in the meantime.
struct JournalFingerprint {
    std::string path;  // code page 932, as the list names the file
    std::optional<std::string> sha256;
    std::uint64_t size = 0;
    bool operator==(const JournalFingerprint&) const = default;
};

// One entry of the list, in the order the control file would name it.
struct JournalEntry {
    // FileName always; Title and Objects only when the catalog is held in full.
    TCatalogEntry catalog;
    // Held in full: it differs from its file as last read, so a save would write it. A
    // catalog that is not changed is found again in its file, which its fingerprint names.
    bool changed = false;
    // Listed but not loaded: why its file could not be read. Never changed.
    std::string unreadableReason;
    // The file the catalog was read from or last saved to; empty for a catalog made since.
    std::string savedAs;

    bool operator==(const JournalEntry&) const = default;
};

// The unsaved state of one program folder's list, as the journal keeps it: what a save would
// need, and what the files held when the program last read them.
struct JournalState {
    // The program folder (code page 932, with its trailing delimiter) the state belongs to.
    std::string folder;
    // When the state was taken, in milliseconds since the Unix epoch.
    std::int64_t takenAt = 0;
    // The store's revision counter at that moment.
    std::uint64_t revision = 0;
    // The list itself (order, names, entries added or removed) differs from the control file.
    bool listChanged = false;
    std::vector<JournalEntry> entries;
    // The catalog files of the list as last loaded or saved, in order: the base that tells
    // the list's own changes from another program's.
    std::vector<std::string> savedList;
    // Every catalog file the control file listed then, those not loaded (a missing one's
    // among them) too: what tells an entry another program added or removed since.
    std::vector<std::string> listedOnDisk;
    std::vector<JournalFingerprint> fingerprints;

    bool operator==(const JournalState&) const = default;
};
