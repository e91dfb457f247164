#include "support/core/Mbcs.h"

#include "support/core/Cp932.h"

#include <QCollator>
#include <QLocale>

namespace {

// The collator of the default locale, rebuilt when the default locale changes; building
// one is far dearer than a comparison.
const QCollator& DefaultCollator()
{
    thread_local QCollator collator;
    thread_local QLocale locale = collator.locale();
    if (const QLocale current; current != locale) {
        collator = QCollator(current);
        locale = current;
    }
    return collator;
}

QString CollationText(std::string_view s)
{
    return Cp932ToDisplay(MBLowerCase(s));
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
    std::string lowered(s);
    for (size_t i = 0; i < lowered.size(); ++i) {
        const auto byte = static_cast<unsigned char>(lowered[i]);
        if (IsLeadByte(byte))
            ++i;
        else if (byte >= 'A' && byte <= 'Z')
            lowered[i] = static_cast<char>(byte + 0x20);
    }
    return lowered;
}

int MBCompareText(std::string_view s1, std::string_view s2)
{
    const int order = DefaultCollator().compare(CollationText(s1), CollationText(s2));
    return (order > 0) - (order < 0);
}

QCollatorSortKey MBCompareKey(std::string_view s)
{
    return DefaultCollator().sortKey(CollationText(s));
}
