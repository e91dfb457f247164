#include "support/core/RegistryFile.h"

#include "support/core/Mbcs.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace {

constexpr std::string_view Signature = "REGEDIT4";
constexpr std::string_view LineEnd = "\r\n";
// Hex data lines are wrapped before they grow longer than this, as the export does.
constexpr size_t HexLineWidth = 76;

struct Line {
    std::string_view raw;  // with its line end
    std::string_view text;  // without it
};

std::vector<Line> SplitLines(std::string_view bytes)
{
    std::vector<Line> lines;
    size_t start = 0;
    while (start < bytes.size()) {
        const size_t newline = bytes.find('\n', start);
        const size_t end = newline == std::string_view::npos ? bytes.size() : newline + 1;
        Line line { bytes.substr(start, end - start), bytes.substr(start, end - start) };
        if (!line.text.empty() && line.text.back() == '\n')
            line.text.remove_suffix(1);
        if (!line.text.empty() && line.text.back() == '\r')
            line.text.remove_suffix(1);
        lines.push_back(line);
        start = end;
    }
    return lines;
}

std::string_view TrimRight(std::string_view s)
{
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

std::string_view TrimLeft(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    return s;
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix)
{
    return s.size() >= prefix.size() && MBLowerCase(s.substr(0, prefix.size())) == prefix;
}

int HexDigit(char ch)
{
    if (ch >= '0' && ch <= '9')
        return ch - '0';
    if (ch >= 'a' && ch <= 'f')
        return ch - 'a' + 10;
    if (ch >= 'A' && ch <= 'F')
        return ch - 'A' + 10;
    return -1;
}

// 1 to maxDigits hex digits and nothing else.
std::optional<std::uint32_t> ParseHexNumber(std::string_view s, size_t maxDigits)
{
    if (s.empty() || s.size() > maxDigits)
        return std::nullopt;
    std::uint32_t number = 0;
    for (const char ch : s) {
        const int digit = HexDigit(ch);
        if (digit < 0)
            return std::nullopt;
        number = number * 16 + static_cast<std::uint32_t>(digit);
    }
    return number;
}

// A quoted text from s (which starts after its opening quote) up to its closing quote,
// with "\\" and "\"" undone. Double-byte characters are taken whole, so a trail byte 0x5C
// never starts an escape. Consumed: the bytes up to and including the closing quote.
std::optional<std::string> Unquote(std::string_view s, size_t& consumed)
{
    auto characterLength = [&](size_t at) {
        return IsLeadByte(static_cast<unsigned char>(s[at])) && at + 1 < s.size() ? 2 : 1;
    };
    std::string text;
    size_t i = 0;
    while (i < s.size()) {
        if (s[i] == '"') {
            consumed = i + 1;
            return text;
        }
        if (s[i] == '\\' && i + 1 < s.size())
            ++i;
        const size_t length = characterLength(i);
        text.append(s.substr(i, length));
        i += length;
    }
    return std::nullopt;
}

std::string Quote(std::string_view text)
{
    std::string quoted = "\"";
    for (size_t i = 0; i < text.size(); ++i) {
        const char ch = text[i];
        if (IsLeadByte(static_cast<unsigned char>(ch)) && i + 1 < text.size()) {
            quoted.append(text.substr(i++, 2));
            continue;
        }
        if (ch == '\\' || ch == '"')
            quoted += '\\';
        quoted += ch;
    }
    return quoted + '"';
}

std::optional<std::string> ParseHexBytes(std::string_view list)
{
    std::string bytes;
    std::string token;
    auto flush = [&]() {
        if (token.empty())
            return true;
        const auto byte = ParseHexNumber(token, 2);
        token.clear();
        if (!byte)
            return false;
        bytes += static_cast<char>(*byte);
        return true;
    };
    for (const char ch : list) {
        if (ch == ' ' || ch == '\t')
            continue;
        if (ch != ',') {
            token += ch;
            continue;
        }
        if (token.empty() || !flush())
            return std::nullopt;
    }
    if (!flush())
        return std::nullopt;
    return bytes;
}

std::optional<RegistryValue> ParseData(std::string_view data)
{
    if (!data.empty() && data.front() == '"') {
        size_t consumed = 0;
        auto text = Unquote(data.substr(1), consumed);
        if (!text || 1 + consumed != data.size())
            return std::nullopt;
        return RegistryValue::String(*text);
    }
    if (StartsWithNoCase(data, "dword:")) {
        const auto number = ParseHexNumber(data.substr(6), 8);
        if (!number)
            return std::nullopt;
        return RegistryValue::Dword(static_cast<std::int32_t>(*number));
    }
    if (!StartsWithNoCase(data, "hex"))
        return std::nullopt;
    data.remove_prefix(3);
    std::uint32_t type = REG_BINARY;
    if (!data.empty() && data.front() == '(') {
        const size_t close = data.find(')');
        if (close == std::string_view::npos)
            return std::nullopt;
        const auto number = ParseHexNumber(data.substr(1, close - 1), 8);
        if (!number)
            return std::nullopt;
        type = *number;
        data.remove_prefix(close + 1);
    }
    if (data.empty() || data.front() != ':')
        return std::nullopt;
    auto bytes = ParseHexBytes(data.substr(1));
    if (!bytes)
        return std::nullopt;
    return RegistryValue { type, *std::move(bytes) };
}

struct ParsedValue {
    std::string name;
    RegistryValue value;
};

std::optional<ParsedValue> ParseValueText(std::string_view text)
{
    ParsedValue parsed;
    size_t at = 0;
    if (!text.empty() && text.front() == '@') {
        at = 1;
    } else if (!text.empty() && text.front() == '"') {
        size_t consumed = 0;
        auto name = Unquote(text.substr(1), consumed);
        if (!name || name->empty())
            return std::nullopt;
        parsed.name = *std::move(name);
        at = 1 + consumed;
    } else {
        return std::nullopt;
    }
    if (at >= text.size() || text[at] != '=')
        return std::nullopt;
    auto value = ParseData(TrimRight(text.substr(at + 1)));
    if (!value)
        return std::nullopt;
    parsed.value = *std::move(value);
    return parsed;
}

// The length of the parent's part of a key path: up to its last "\" that is a character
// of its own, not the trail byte of a double-byte character.
size_t ParentLength(std::string_view key)
{
    size_t parent = 0;
    for (size_t i = 0; i < key.size();
         i += IsLeadByte(static_cast<unsigned char>(key[i])) ? 2 : 1) {
        if (key[i] == '\\')
            parent = i;
    }
    return parent;
}

// The last line of a file may end without its line end, or in a lone CR; completing it to
// CR LF keeps the text one line when something is written after it.
void EnsureLineEnd(std::string& raw)
{
    if (raw.empty() || raw.back() == '\n')
        return;
    raw += raw.back() == '\r' ? "\n" : LineEnd;
}

std::string FormatHex(std::uint32_t type, std::string_view data, size_t column)
{
    char prefix[24];
    if (type == REG_BINARY)
        std::snprintf(prefix, sizeof prefix, "hex:");
    else
        std::snprintf(prefix, sizeof prefix, "hex(%x):", type);
    std::string text = prefix;
    column += text.size();
    for (size_t i = 0; i < data.size(); ++i) {
        char byte[4];
        std::snprintf(byte, sizeof byte, "%02x", static_cast<unsigned char>(data[i]));
        const bool last = i + 1 == data.size();
        text += byte;
        column += 2;
        if (last)
            break;
        text += ',';
        ++column;
        if (column + 3 > HexLineWidth) {
            text += "\\\r\n  ";
            column = 2;
        }
    }
    return text;
}

bool IsPlainString(const RegistryValue& value)
{
    const std::string_view data = value.data;
    return value.type == REG_SZ && !data.empty() && data.back() == '\0'
        && data.substr(0, data.size() - 1).find_first_of(std::string_view("\0\r\n", 3))
        == std::string_view::npos;
}

}  // namespace

RegistryValue RegistryValue::String(std::string_view text)
{
    return { REG_SZ, std::string(text) + '\0' };
}

RegistryValue RegistryValue::Dword(std::int32_t value)
{
    const auto bits = static_cast<std::uint32_t>(value);
    std::string data(4, '\0');
    for (int i = 0; i < 4; ++i)
        data[static_cast<size_t>(i)] = static_cast<char>((bits >> (8 * i)) & 0xFF);
    return { REG_DWORD, data };
}

RegistryFile::RegistryFile(std::string_view rootName)
    : rootName_(rootName)
    , preamble_(std::string(Signature) + std::string(LineEnd) + std::string(LineEnd))
{
}

std::optional<RegistryFile> RegistryFile::Parse(std::string_view bytes, std::string_view rootName)
{
    RegistryFile file(rootName);
    if (bytes.empty())
        return file;
    const auto lines = SplitLines(bytes);
    if (TrimRight(lines[0].text) != Signature)
        return std::nullopt;
    file.preamble_ = lines[0].raw;
    const std::string root = MBLowerCase(rootName);
    Section* section = nullptr;
    for (size_t i = 1; i < lines.size(); ++i) {
        const std::string_view text = TrimRight(TrimLeft(lines[i].text));
        if (text.empty() || text.front() == ';') {
            (section ? section->entries.emplace_back().raw : file.preamble_) += lines[i].raw;
            continue;
        }
        if (text.front() == '[') {
            if (text.back() != ']' || text.size() < 3 || text[1] == '-')
                return std::nullopt;
            Section& added = file.sections_.emplace_back();
            added.header = lines[i].raw;
            const std::string key = MBLowerCase(text.substr(1, text.size() - 2));
            added.ofRoot = key == root || key.starts_with(root + "\\");
            added.key = added.ofRoot ? key.substr(std::min(key.size(), root.size() + 1)) : key;
            section = &added;
            continue;
        }
        if (!section)
            return std::nullopt;
        Entry entry;
        std::string logical(text);
        entry.raw = lines[i].raw;
        // Only hex data ends a line in "\": its bytes go on in the next line.
        while (!logical.empty() && logical.back() == '\\' && i + 1 < lines.size()) {
            logical.pop_back();
            logical += TrimRight(TrimLeft(lines[++i].text));
            entry.raw += lines[i].raw;
        }
        auto parsed = ParseValueText(logical);
        if (!parsed)
            return std::nullopt;
        entry.isValue = true;
        entry.name = std::move(parsed->name);
        entry.value = std::move(parsed->value);
        section->entries.push_back(std::move(entry));
    }
    return file;
}

std::string RegistryFile::Serialize() const
{
    std::string bytes = preamble_;
    for (const Section& section : sections_) {
        bytes += section.header;
        for (const Entry& entry : section.entries)
            bytes += entry.raw;
    }
    return bytes;
}

std::string RegistryFile::ComparisonKey(std::string_view keyPath) const
{
    return MBLowerCase(keyPath);
}

bool RegistryFile::KeyExists(std::string_view keyPath) const
{
    const std::string key = ComparisonKey(keyPath);
    if (key.empty())
        return true;
    return std::any_of(sections_.begin(), sections_.end(), [&](const Section& section) {
        return section.ofRoot && (section.key == key || section.key.starts_with(key + "\\"));
    });
}

const RegistryFile::Section* RegistryFile::FindSection(std::string_view keyPath) const
{
    const std::string key = ComparisonKey(keyPath);
    const auto found = std::find_if(sections_.rbegin(), sections_.rend(),
        [&](const Section& s) { return s.ofRoot && s.key == key; });
    return found == sections_.rend() ? nullptr : &*found;
}

RegistryFile::Section* RegistryFile::FindSection(std::string_view keyPath)
{
    return const_cast<Section*>(std::as_const(*this).FindSection(keyPath));
}

bool RegistryFile::CreateKey(std::string_view keyPath)
{
    if (KeyExists(keyPath))
        return false;
    AddSection(keyPath);
    return true;
}

RegistryFile::Section& RegistryFile::AddSection(std::string_view keyPath)
{
    // Next to its relatives: after the last section below the parent key.
    const std::string key = ComparisonKey(keyPath);
    const std::string parent = key.substr(0, ParentLength(key));
    auto at = sections_.end();
    for (auto it = sections_.begin(); it != sections_.end(); ++it) {
        if (it->ofRoot && !parent.empty()
            && (it->key == parent || it->key.starts_with(parent + "\\")))
            at = it + 1;
    }
    std::string& before = at == sections_.begin() ? preamble_
        : (at - 1)->entries.empty()               ? (at - 1)->header
                                                  : (at - 1)->entries.back().raw;
    EnsureLineEnd(before);
    Section section;
    section.header = "[" + rootName_ + (keyPath.empty() ? "" : "\\" + std::string(keyPath)) + "]"
        + std::string(LineEnd);
    section.key = key;
    section.ofRoot = true;
    section.entries.push_back(Entry { std::string(LineEnd), false, {}, {} });
    return *sections_.insert(at, std::move(section));
}

void RegistryFile::AddEntry(Section& section, Entry entry)
{
    auto lastValue = std::find_if(
        section.entries.rbegin(), section.entries.rend(), [](const Entry& e) { return e.isValue; });
    const auto at
        = lastValue == section.entries.rend() ? section.entries.begin() : lastValue.base();
    EnsureLineEnd(at == section.entries.begin() ? section.header : (at - 1)->raw);
    section.entries.insert(at, std::move(entry));
}

const RegistryValue* RegistryFile::FindValue(std::string_view keyPath, std::string_view name) const
{
    const std::string key = ComparisonKey(keyPath);
    const std::string lowered = MBLowerCase(name);
    for (auto section = sections_.rbegin(); section != sections_.rend(); ++section) {
        if (!section->ofRoot || section->key != key)
            continue;
        for (auto entry = section->entries.rbegin(); entry != section->entries.rend(); ++entry) {
            if (entry->isValue && MBLowerCase(entry->name) == lowered)
                return &entry->value;
        }
    }
    return nullptr;
}

bool RegistryFile::SetValue(
    std::string_view keyPath, std::string_view name, const RegistryValue& value)
{
    if (const RegistryValue* current = FindValue(keyPath, name)) {
        if (*current == value)
            return false;
        for (Section& section : sections_) {
            for (Entry& entry : section.entries) {
                if (&entry.value == current) {
                    entry.raw = FormatValueLine(entry.name, value);
                    entry.value = value;
                    return true;
                }
            }
        }
    }
    Section* section = FindSection(keyPath);
    if (!section)
        section = &AddSection(keyPath);
    AddEntry(*section, Entry { FormatValueLine(name, value), true, std::string(name), value });
    return true;
}

std::string RegistryFile::FormatValueLine(std::string_view name, const RegistryValue& value)
{
    std::string line = name.empty() ? "@=" : Quote(name) + "=";
    if (IsPlainString(value)) {
        line += Quote(std::string_view(value.data).substr(0, value.data.size() - 1));
    } else if (value.type == REG_DWORD && value.data.size() == 4) {
        std::uint32_t bits = 0;
        for (int i = 3; i >= 0; --i)
            bits = bits << 8 | static_cast<unsigned char>(value.data[static_cast<size_t>(i)]);
        char text[16];
        std::snprintf(text, sizeof text, "dword:%08x", bits);
        line += text;
    } else {
        line += FormatHex(value.type, value.data, line.size());
    }
    return line + std::string(LineEnd);
}
