#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

// What the store knows of the files it read and wrote: for each path, whether a file was
// there and, if so, the size and the SHA-256 digest of its bytes, as the store last saw or
// left them. The digest is stable across builds and runs, so a fingerprint may be kept in a
// file and compared after a restart. A save asks two questions of a file through here, with
// what the file holds now: does it already hold what would be written (then it need not be
// written), and has it changed since the store saw it (then another program wrote it).
//
// Paths are code page 932, as the catalogs name them. A path never seen counts as having
// held no file.
class DiskRecord {
public:
    struct Fingerprint {
        bool exists = false;
        std::size_t size = 0;
        std::array<unsigned char, 32> sha256{};
        bool operator==(const Fingerprint&) const = default;
    };
    static Fingerprint FingerprintOf(std::optional<std::string_view> bytes);

    // What a file holds now: its bytes, or nothing when no plain file can be read there.
    static std::optional<std::string> ReadNow(const std::string& path);

    // Records what the file held when the store read or wrote it (nothing: no file).
    void Remember(const std::string& path, std::optional<std::string_view> bytes);
    void Remember(const std::string& path, const Fingerprint& fingerprint) { seen_[path] = fingerprint; }
    void Clear() { seen_.clear(); }

    // What the store last saw at path.
    Fingerprint Seen(const std::string& path) const;
    // Every path the store saw, with what it saw.
    const std::unordered_map<std::string, Fingerprint>& All() const { return seen_; }

    // Whether now, what the file at path holds now, differs from what the store last saw.
    // The digest of now is made only when the sizes agree.
    bool ChangedSinceSeen(const std::string& path, const std::optional<std::string>& now) const;

private:
    std::unordered_map<std::string, Fingerprint> seen_;
};
