#include "catalog/IniProfile.h"

#include "support/core/Mbcs.h"

#include <algorithm>
#include <unordered_set>

namespace {

bool IsBlank(char ch)
{
    return ch == ' ' || ch == '\t' || ch == '\v' || ch == '\f';
}

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

bool NamesMatch(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && MBLowerCase(a) == MBLowerCase(b);
}

// The name of a section header line, or nothing for any other line. The name lies between
// the "[" and the last "]" of the line.
std::optional<std::string_view> HeaderName(std::string_view content)
{
    const std::string_view line = Trim(content);
    if (line.empty() || line.front() != '[')
        return std::nullopt;
    const std::size_t close = line.rfind(']');
    if (close == std::string_view::npos)
        return std::nullopt;
    return Trim(line.substr(1, close - 1));
}

std::string_view Unquoted(std::string_view value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'')
        && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

std::string FinishValue(std::string_view value)
{
    value = Unquoted(value);
    if (value.size() > IniProfile::MaxValueLength) {
        std::size_t length = IniProfile::MaxValueLength;
        if (MBByteType(value.data(), value.data() + length - 1) == 1)
            --length;
        value = value.substr(0, length);
    }
    return std::string(value);
}

}  // namespace

IniProfile::IniProfile(std::string_view text)
    : text_(text)
    , textEnd_(std::min(text.find('\0'), text.size()))
    , reader_(text.substr(0, textEnd_))
{
}

bool IniProfile::HasLine(std::size_t i) const
{
    std::string_view content;
    while (lines_.size() <= i) {
        const std::size_t begin = reader_.Position();
        if (!reader_.Next(content))
            return false;
        lines_.push_back({begin, begin + content.size(), reader_.Position()});
    }
    return true;
}

std::string_view IniProfile::Content(const Line& line) const
{
    return text_.substr(line.begin, line.end - line.begin);
}

std::optional<std::size_t> IniProfile::FindHeader(std::string_view section) const
{
    section = Trim(section);
    for (std::size_t i = 0; HasLine(i); ++i) {
        const auto name = HeaderName(Content(lines_[i]));
        if (name && NamesMatch(*name, section))
            return i;
    }
    return std::nullopt;
}

std::vector<IniProfile::Key> IniProfile::KeysOf(std::string_view section) const
{
    std::vector<Key> keys;
    const auto header = FindHeader(section);
    if (!header)
        return keys;
    for (std::size_t i = *header + 1; HasLine(i); ++i) {
        const std::string_view content = Content(lines_[i]);
        if (HeaderName(content))
            break;
        const std::string_view line = Trim(content);
        const std::size_t equals = line.find('=');
        if (line.empty() || line.front() == ';' || equals == std::string_view::npos)
            continue;
        const std::string_view name = Trim(line.substr(0, equals));
        if (!name.empty())
            keys.push_back({name, Trim(line.substr(equals + 1))});
    }
    return keys;
}

std::optional<std::string_view> IniProfile::RawValue(std::string_view section,
                                                     std::string_view key) const
{
    key = Trim(key);
    for (const Key& candidate : KeysOf(section)) {
        if (NamesMatch(candidate.name, key))
            return candidate.value;
    }
    return std::nullopt;
}

std::optional<std::string> IniProfile::ReadString(std::string_view section,
                                                   std::string_view key) const
{
    const auto value = RawValue(section, key);
    if (!value)
        return std::nullopt;
    return FinishValue(*value);
}

bool IniProfile::ValueIsCut(std::string_view section, std::string_view key) const
{
    const auto value = RawValue(section, key);
    return value && Unquoted(*value).size() > MaxValueLength;
}

std::vector<std::pair<std::string, std::string>> IniProfile::ReadSection(
    std::string_view section) const
{
    std::vector<std::pair<std::string, std::string>> pairs;
    for (SectionKey& key : ReadKeys(section))
        pairs.emplace_back(std::move(key.name), std::move(key.value));
    return pairs;
}

std::vector<IniProfile::SectionKey> IniProfile::ReadKeys(std::string_view section) const
{
    std::vector<SectionKey> read;
    const std::vector<Key> keys = KeysOf(section);
    // A set of the names seen, so that a section of many keys is read in linear time.
    std::unordered_set<std::string> seen;
    seen.reserve(keys.size());
    for (const Key& key : keys) {
        if (!seen.insert(MBLowerCase(key.name)).second)
            continue;
        read.push_back({std::string(key.name), FinishValue(key.value), std::string(key.value),
                        Unquoted(key.value).size() > MaxValueLength});
    }
    return read;
}

bool IniProfile::SectionHasKeys(std::string_view section) const
{
    return !KeysOf(section).empty();
}

std::string IniProfile::WithSection(std::string_view section,
                                     const std::vector<std::string>& lines) const
{
    std::string replacement;
    if (!lines.empty()) {
        replacement.append("[").append(section).append("]\r\n");
        for (const std::string& line : lines)
            replacement.append(line).append("\r\n");
    }

    // Every section of the name goes: a later one would otherwise surface as the list once
    // the first is erased. Each runs to its last line that is not blank; the blank lines
    // after it separate it from what follows and stay.
    section = Trim(section);
    std::string result;
    std::size_t copied = 0;
    bool replaced = false;
    for (std::size_t i = 0; HasLine(i);) {
        const auto name = HeaderName(Content(lines_[i]));
        if (!name || !NamesMatch(*name, section)) {
            ++i;
            continue;
        }
        const std::size_t header = i;
        std::size_t last = i;
        for (++i; HasLine(i) && !HeaderName(Content(lines_[i])); ++i) {
            if (!Trim(Content(lines_[i])).empty())
                last = i;
        }
        result.append(text_.substr(copied, lines_[header].begin - copied));
        if (!replaced)
            result.append(replacement);
        replaced = true;
        copied = lines_[last].next;
    }
    if (replaced)
        return result.append(text_.substr(copied));

    if (replacement.empty())
        return std::string(text_);
    result.assign(text_.substr(0, textEnd_));
    if (!result.empty() && result.back() != '\n' && result.back() != '\r')
        result.append("\r\n");
    result.append(replacement);
    result.append(text_.substr(textEnd_));
    return result;
}
