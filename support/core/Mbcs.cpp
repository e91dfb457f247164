#include "support/core/Mbcs.h"

#include "support/core/Collation.h"

namespace {

// s with map applied to every single-byte character; double-byte characters, and a lead
// byte at the very end, stay as they are.
template <typename Map> std::string MapSingleByteCharacters(std::string_view s, Map map)
{
    std::string mapped(s);
    for (size_t i = 0; i < mapped.size(); ++i) {
        if (IsLeadByte(static_cast<unsigned char>(mapped[i])))
            ++i;
        else
            mapped[i] = map(mapped[i]);
    }
    return mapped;
}

}  // namespace

bool IsLeadByte(unsigned char ch)
{
    return (ch >= 0x81 && ch <= 0x9F) || (ch >= 0xE0 && ch <= 0xFC);
}

int MBByteType(const char* start, const char* last)
{
    int kind = 0;
    for (const char* p = start;; ++p) {
        if (*p == '\0')
            return 0;
        kind = kind == 1 ? 2 : (IsLeadByte(static_cast<unsigned char>(*p)) ? 1 : 0);
        if (p == last)
            return kind;
    }
}

char MBLastChar(std::string_view s)
{
    if (s.empty())
        return '\0';
    const char* last = s.data() + s.size() - 1;
    return MBByteType(s.data(), last) == 0 ? *last : '\0';
}

bool MBLastCharIs(std::string_view s, char ch)
{
    const char last = MBLastChar(s);
    return last != '\0' && last == ch;
}

int MBPos(std::string_view sub, std::string_view s)
{
    if (sub.empty())
        return 0;
    size_t i = 0;
    while (i < s.size()) {
        if (s.compare(i, sub.size(), sub) == 0)
            return static_cast<int>(i) + 1;
        i += IsLeadByte(static_cast<unsigned char>(s[i])) ? 2 : 1;
    }
    return 0;
}

std::string MBLowerCase(std::string_view s)
{
    return MapSingleByteCharacters(s, AsciiLowerCase);
}

std::string MBUpperCase(std::string_view s)
{
    return MapSingleByteCharacters(
        s, [](char ch) { return ch >= 'a' && ch <= 'z' ? static_cast<char>(ch - 0x20) : ch; });
}

int MBCompareText(std::string_view s1, std::string_view s2)
{
    return LocaleCompare(MBLowerCase(s1), MBLowerCase(s2));
}

QCollatorSortKey MBCompareKey(std::string_view s)
{
    return LocaleSortKey(MBLowerCase(s));
}
