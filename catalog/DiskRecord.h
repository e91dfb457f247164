#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// What the store knows of the files it read and wrote: for each path, whether a plain file was
// there and, if so, its size, its identity in the file system (device, inode, modification
// and change times to the nanosecond) and the SHA-256 digest of its bytes, as the store last
// saw or left them. The digest is stable across builds and runs, so a fingerprint may be kept
// in a file and compared after a restart. A save asks two questions of a file through here,
// with what the file holds now: does it already hold what would be written (then it need not
// be written), and has it changed since the store saw it (then another program wrote it).
//
// Digests cost a pass over every byte. A record that skips them (KeepDigests(false)) tells a
// change by size and identity alone: any write through the file system gives a file a new
// change time or a new inode. That is for a holder of the folder's lock from its load to its
// save, such as tessna-cli, whom no other writer of the program can overtake.
//
// Paths are code page 932, as the catalogs name them. A path never seen counts as having
// held no file.
class DiskRecord {
public:
    using Digest = std::array<unsigned char, 32>;
    struct Identity {
        std::uint64_t device = 0;
        std::uint64_t inode = 0;
        std::int64_t modifiedNs = 0;
        std::int64_t changedNs = 0;
        bool operator==(const Identity&) const = default;
    };
    struct Fingerprint {
        bool exists = false;
        std::size_t size = 0;
        Identity identity;
        // Nothing when the record skips digests.
        std::optional<Digest> sha256;
        bool operator==(const Fingerprint&) const = default;
    };

    // A file as it is now: its directory facts at once, its bytes only when first asked for.
    class Now {
    public:
        explicit Now(std::string path);
        const Fingerprint& Facts() const { return facts_; }
        // The bytes, or nothing when no plain file can be read there.
        const std::optional<std::string>& Bytes();

    private:
        std::string path_;
        Fingerprint facts_;
        std::optional<std::optional<std::string>> bytes_;
    };

    void KeepDigests(bool keep) { keepsDigests_ = keep; }

    // The directory facts of the plain file at path (links followed), without its bytes; no
    // file when there is none or something else is there. Taken before a file is read, a
    // write that comes between shows as a change afterwards.
    static Fingerprint Look(const std::string& path);
    // facts, taken before the file was read, completed by bytes, what the read gave.
    Fingerprint Of(Fingerprint facts, std::string_view bytes) const;
    // The same with the bytes as parts, one after another.
    Fingerprint Of(Fingerprint facts, const std::vector<std::string_view>& parts) const;
    // What now holds, read when the record keeps digests.
    Fingerprint FingerprintOf(Now& now) const;

    void Remember(const std::string& path, const Fingerprint& fingerprint) { seen_[path] = fingerprint; }
    void Clear() { seen_.clear(); }

    // What the store last saw at path.
    Fingerprint Seen(const std::string& path) const;
    // Every path the store saw, with what it saw.
    const std::unordered_map<std::string, Fingerprint>& All() const { return seen_; }

    // Whether the file at path now differs from what the store last saw. Its bytes are read
    // and digested only when the sizes agree and a digest was kept.
    bool ChangedSinceSeen(const std::string& path, Now& now) const;

private:
    std::unordered_map<std::string, Fingerprint> seen_;
    bool keepsDigests_ = true;
};
