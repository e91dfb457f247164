#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Registry type codes.
inline constexpr std::uint32_t REG_NONE = 0;
inline constexpr std::uint32_t REG_SZ = 1;
inline constexpr std::uint32_t REG_EXPAND_SZ = 2;
inline constexpr std::uint32_t REG_BINARY = 3;
inline constexpr std::uint32_t REG_DWORD = 4;

// One typed registry value: its type code and its data bytes as the registry holds them
// (a string with its terminating NUL, a DWORD as 4 little-endian bytes).
struct RegistryValue {
    std::uint32_t type = 0;
    std::string data;

    static RegistryValue String(std::string_view text);
    static RegistryValue Dword(std::int32_t value);

    bool operator==(const RegistryValue&) const = default;
};

// The text of a registry file of one root key in the export format "REGEDIT4" (code page
// 932, CR LF): sections of keys, each with its values. Key paths are relative to the root
// ("Software\Kavo\DeVad"; "" is the root itself) and, like value names, compared without
// regard to the case of ASCII letters. Everything this class does not change keeps its
// bytes: comments, blank lines, line ends, the spelling of untouched values, sections of
// other roots.
class RegistryFile {
public:
    // Parses the bytes of a file; nothing when they are not a registry file this class can
    // rewrite without losing anything. No bytes at all are an empty registry.
    static std::optional<RegistryFile> Parse(std::string_view bytes, std::string_view rootName);

    // An empty registry of the root.
    explicit RegistryFile(std::string_view rootName);

    std::string Serialize() const;

    // A key exists when it has a section or a key below it has one; the root always exists.
    bool KeyExists(std::string_view keyPath) const;

    // Creates the key's section when the key does not exist; false when nothing changed.
    bool CreateKey(std::string_view keyPath);

    // The value, or nothing when the key or the value does not exist. "" names the default
    // value "@".
    const RegistryValue* FindValue(std::string_view keyPath, std::string_view name) const;

    // Sets the value, creating its key when missing; false when nothing changed.
    bool SetValue(std::string_view keyPath, std::string_view name, const RegistryValue& value);

    // The one line (or several joined by "\" continuations) that stores the value.
    static std::string FormatValueLine(std::string_view name, const RegistryValue& value);

private:
    struct Entry {
        std::string raw;  // the entry's bytes with their line ends
        bool isValue = false;
        std::string name;
        RegistryValue value;
    };
    struct Section {
        std::string header;  // "[...]" with its line end
        std::string key;  // the comparison form of the key path below the root
        bool ofRoot = false;  // false for sections of another root, kept as they are
        std::vector<Entry> entries;
    };

    std::string ComparisonKey(std::string_view keyPath) const;
    Section* FindSection(std::string_view keyPath);
    const Section* FindSection(std::string_view keyPath) const;
    Section& AddSection(std::string_view keyPath);
    static void AddEntry(Section& section, Entry entry);

    std::string rootName_;
    std::string preamble_;
    std::vector<Section> sections_;
};
