#pragma once

#include <QString>

#include <optional>
#include <string>
#include <string_view>

// The border between the program's strings (code page 932 bytes, Microsoft's Shift-JIS) and
// Unicode. Conversions are strict: a character with no code page 932 form, a character whose
// code page 932 form reads back as another character (U+301C and U+FF5E are both 0x81 0x60),
// or bytes that are not valid in the source encoding, give no result instead of a mangled one.

std::optional<std::string> Cp932ToUtf8(std::string_view cp932);
std::optional<std::string> Utf8ToCp932(std::string_view utf8);

std::optional<QString> Cp932ToQString(std::string_view cp932);
std::optional<std::string> QStringToCp932(const QString& text);

// Why text has no faithful code page 932 form, as a sentence in code page 932 naming its
// first character that has none, or that would be stored as another character, and that
// other character, so that the user can type it instead; empty when text converts.
std::string Cp932Problem(const QString& text);

// For showing text read from a file that may hold stray bytes: every byte that does not
// decode shows as U+FFFD. Never store the result back.
QString Cp932ToDisplay(std::string_view cp932);

// For putting text from outside (a host path, a message made in Unicode) into a message:
// each character that has no code page 932 form shows as "?", the rest is kept.
std::string Cp932ForMessage(const QString& text);

// Literal Japanese texts of the program are written in the sources as UTF-8 and used as
// code page 932 bytes; a text that cannot convert is a fault of the program itself.
std::string Cp932Text(std::string_view utf8);
