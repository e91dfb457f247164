#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

// What the store knows of the files it read and wrote: for each path, whether a file was
// there and, if so, the size and a digest of its bytes, as the store last saw or left them.
// Both questions a save asks of a file go through here, with what the file holds now:
// does it already hold what would be written (then it need not be written), and has it
// changed since the store saw it (then another program wrote it).
//
// Paths are code page 932, as the catalogs name them. A path never seen counts as having
// held no file.
class DiskRecord {
public:
    // What a file holds now: its bytes, or nothing when no plain file can be read there.
    static std::optional<std::string> ReadNow(const std::string& path);

    // Records what the file held when the store read or wrote it (nothing: no file).
    void Remember(const std::string& path, std::optional<std::string_view> bytes);
    void Clear() { seen_.clear(); }

    // How the file at path, holding now, compares with text, what a save would write there,
    // and with what the store last saw of it.
    struct Comparison {
        bool holdsText;
        bool changedSinceSeen;
    };
    Comparison Compare(const std::string& path, const std::optional<std::string>& now,
                       std::string_view text) const;

private:
    struct Fingerprint {
        bool exists = false;
        std::size_t size = 0;
        std::size_t digest = 0;
        bool operator==(const Fingerprint&) const = default;
    };
    static Fingerprint FingerprintOf(std::optional<std::string_view> bytes);

    std::unordered_map<std::string, Fingerprint> seen_;
};
