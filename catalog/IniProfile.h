#pragma once

#include "catalog/LineReader.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// An INI text read with the rules of the classic profile functions, and the one edit the
// control file needs. Lines end at CR, LF or CR LF; a NUL byte ends the text. A section starts
// at a line "[name]"; a key is a line "name=value" with a name; lines starting with ";" are
// comments. Section and key names match without regard to ASCII letter case; blanks around
// names and values are dropped; a value wholly enclosed in one pair of matching double or
// single quotes loses them; a value is cut to at most 2047 bytes, never inside a double-byte
// character. Where a section or a key name occurs twice, the first one counts.
class IniProfile {
public:
    // Reads text in place: the text must outlive the profile.
    explicit IniProfile(std::string_view text);
    explicit IniProfile(const char* text)
        : IniProfile(std::string_view(text))
    {
    }
    IniProfile(std::string&&) = delete;

    // The value of key in section, or nothing when either is absent.
    std::optional<std::string> ReadString(std::string_view section, std::string_view key) const;

    // Whether ReadString gives the value of key in section cut to MaxValueLength.
    bool ValueIsCut(std::string_view section, std::string_view key) const;

    // The keys of section with their values, in file order, each name once.
    std::vector<std::pair<std::string, std::string>> ReadSection(std::string_view section) const;

    // A key as read and as it stands in the text.
    struct SectionKey {
        std::string name;
        std::string value;    // as ReadString gives it
        std::string written;  // as written: blanks around it dropped, quotes kept, never cut
        bool cut = false;     // value is written cut to MaxValueLength
    };
    // The keys of section, in file order, each name once.
    std::vector<SectionKey> ReadKeys(std::string_view section) const;

    // Whether a NUL byte ended the text before its end.
    bool EndsAtNul() const { return textEnd_ < text_.size(); }

    // Whether section exists and holds at least one key.
    bool SectionHasKeys(std::string_view section) const;

    // The whole text with section's header and body replaced by "[section]" and lines (CR LF
    // after each) in the same place; appended at the end of the text when the section is
    // absent; removed when lines is empty. Later sections of the same name are removed, so
    // that what was written is what is read. Blank lines that end a replaced section stay,
    // and so does every byte outside it.
    std::string WithSection(std::string_view section, const std::vector<std::string>& lines) const;

    static constexpr std::size_t MaxValueLength = 2047;

private:
    struct Line {
        std::size_t begin = 0;  // first byte of the line
        std::size_t end = 0;    // one past its content
        std::size_t next = 0;   // one past its line break
    };
    struct Key {
        std::string_view name;
        std::string_view value;  // blanks dropped, quotes and length not yet applied
    };

    // Whether line i exists; lines are indexed only as far as a question needs them.
    bool HasLine(std::size_t i) const;
    std::string_view Content(const Line& line) const;
    std::optional<std::size_t> FindHeader(std::string_view section) const;
    std::vector<Key> KeysOf(std::string_view section) const;
    std::optional<std::string_view> RawValue(std::string_view section, std::string_view key) const;

    std::string_view text_;
    std::size_t textEnd_ = 0;  // the first NUL, or the size
    mutable LineReader reader_;
    mutable std::vector<Line> lines_;
};
