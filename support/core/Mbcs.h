#pragma once

#include <QCollatorSortKey>

#include <string>
#include <string_view>

// Character-wise helpers on code page 932 byte strings. A character is one byte, or a lead
// byte together with the byte after it; a trail byte may equal an ASCII character such as
// "\" (0x5C), so every search and last-character test here steps over whole characters.

// True for the lead bytes of code page 932: 0x81 to 0x9F and 0xE0 to 0xFC.
bool IsLeadByte(unsigned char ch);

// The kind of the byte at last, walking from start: 0 single-byte character, 1 lead byte,
// 2 trail byte. A NUL byte on the way ends the walk with 0.
int MBByteType(const char* start, const char* last);

// The last character of s when it is a single-byte character, else '\0' (also for "").
char MBLastChar(std::string_view s);

// True when s ends in the single-byte character ch (a trail byte 0x5C is not a "\").
bool MBLastCharIs(std::string_view s, char ch);

// 1-based byte position of sub in s, trying character starts only; 0 when absent or sub
// is empty. The comparison is exact.
int MBPos(std::string_view sub, std::string_view s);

// ch lowered when it is one of the letters A-Z, else ch: how names compare "without case".
constexpr char AsciiLowerCase(char ch)
{
    return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch + 0x20) : ch;
}

// s with the single-byte letters A-Z lowered; double-byte characters are left untouched.
std::string MBLowerCase(std::string_view s);

// s with the single-byte letters a-z raised; double-byte characters are left untouched.
std::string MBUpperCase(std::string_view s);

// Compares the texts with ASCII letters folded, by the collation of the default QLocale:
// -1, 0 or 1.
int MBCompareText(std::string_view s1, std::string_view s2);

// The key MBCompareText compares by: sorting many texts compares precomputed keys
// (a.compare(b)) instead of converting inside every comparison. Keys of different default
// locales must not be mixed.
QCollatorSortKey MBCompareKey(std::string_view s);
