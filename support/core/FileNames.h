#pragma once

#include "support/core/MessageDlg.h"

#include <QCollatorSortKey>
#include <QDateTime>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Stateless rules on file names, folder paths, file facts and the short texts the windows
// show about files. Names and paths are code page 932 bytes in host syntax; the disk is
// reached through the host-path border, and a path without a host form does not exist.
// Every character test steps over double-byte characters, whose trail byte may be 0x5C.

inline constexpr int faReadOnly = 0x01;
inline constexpr int faDirectory = 0x10;
inline constexpr int faArchive = 0x20;

// ---- names -------------------------------------------------------------------------------

// True when name holds none of \ / : , ; * ? " < > |. Otherwise shows one error box through
// owner (for the first of them in that order) and gives false.
bool CheckFileNameChars(Prompter& owner, std::string_view name);

// The text of CheckFileNameChars's box, or "" when the name is fine.
std::string FileNameCharsMessage(std::string_view name);

// The key-press filter of name boxes: '\0' for a key that may not be typed into a name.
// With allowPath the path characters "\" and ":" pass.
char FilterNameChar(char key, bool allowPath);

// '\0' when ch is one of the bytes of set, else ch.
char CharNotInSet(char ch, std::string_view set);

// ---- paths -------------------------------------------------------------------------------

// A folder path in the form the object lists show: a lone drive letter becomes "C:" + delim,
// a drive root keeps its delimiter, any other trailing delimiter goes.
std::string NormalizeFolderPath(std::string_view path, char delim);

// path + delim unless path is empty or already ends in "/" or "\".
std::string AddPathDelimiter(std::string_view path, char delim);

// path without one trailing "/" or "\".
std::string RemovePathDelimiter(std::string_view path);

// ---- file facts --------------------------------------------------------------------------

// What a search for a path finds: the first entry that matches.
struct FileFacts {
    std::string name;           // the entry's own name (code page 932)
    int attributes = 0;         // faDirectory or faArchive, | faReadOnly when not writable
    std::int64_t size = 0;      // 0 for a folder
    double date = 0;            // last write, see FileDateTime
};

// The search behind FileExistsQuiet, GetFileSizeOf and GetFileDateOf: a last part with "*"
// or "?" matches like a file search in that folder (the first match in name order answers);
// otherwise the path itself is looked up. Nothing when nothing matches.
std::optional<FileFacts> FindFirstFileFacts(std::string_view path);

// -1 when nothing exists at path, else faDirectory or faArchive, | faReadOnly when the
// object cannot be written. One lookup, no search.
int GetFileAttributesOf(std::string_view path);

bool DirExists(std::string_view path);

// True when a search for path finds something that is not a folder (wildcards allowed).
bool FileExistsQuiet(std::string_view path);

// Size of the first match (0 for a folder or when nothing matches), in 64 bits.
std::int64_t GetFileSizeOf(std::string_view path);

// Last write of the first match as a date-time (0 when nothing matches).
double GetFileDateOf(std::string_view path);

// A date-time: days since 1899-12-30 in local time, the fraction being the time of day.
// File times are taken down to the even second, like the dates of a file system that keeps
// two-second steps.
double FileDateTime(std::int64_t secondsSinceEpoch);
double DateTimeFromQDateTime(const QDateTime& dateTime);
QDateTime QDateTimeFromDateTime(double dateTime);

// The short date and short time of the default locale ("ddddd t").
std::string FormatDateTimeText(double dateTime);

// ---- texts -------------------------------------------------------------------------------

// typeName when given, else "<EXT> ファイル" or "ファイル" from the file name's extension.
std::string FileTypeText(std::string_view fileName, std::string_view typeName);

// True when the first 50 bytes of the file are code page 932 text. A missing file or folder
// is not text; a file that exists but cannot be read throws TessnaError.
bool IsTextFile(std::string_view fileName);

// A count with the locale's thousands separators and no decimals: 1,234,567.
std::string FormatGrouped(double value);

// "%f KB", "%f MB" or "%f GB" with two decimals; a unit changes at 1025 of the one below.
std::string FormatSizeText(double bytes, bool truncate);

// ---- comparisons -------------------------------------------------------------------------

// MBCompareText: ASCII letters without case, the rest by the locale's collation.
int CompareFileNames(std::string_view a, std::string_view b);

// The precomputed key of CompareFileNames, for sorting many names.
QCollatorSortKey FileNameSortKey(std::string_view name);

int NamePos(std::string_view sub, std::string_view s);
bool LastCharIs(std::string_view s, char ch);

// ---- platform ----------------------------------------------------------------------------

// Whether the system has a network neighbourhood folder; Linux has none.
bool HasNetworkFolder();
