#pragma once

#include "support/core/DateTime.h"
#include "support/core/FileFacts.h"
#include "support/core/MessageDlg.h"

#include <QCollatorSortKey>

#include <optional>
#include <string>
#include <string_view>

// Stateless rules on file names, folder paths, file facts and the short texts the windows
// show about files. Names and paths are code page 932 bytes in host syntax; the disk is
// reached through the host-path border, and a path without a host form does not exist.
// Every character test steps over double-byte characters, whose trail byte may be 0x5C.

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

// The folder column of the object lists: the folder part of an object's path in the form
// NormalizeFolderPath gives (the host's root folder keeps its delimiter, as a drive root does).
std::string ObjectFolderText(std::string_view path);

// path + delim unless path is empty or already ends in a delimiter: "/" or "\", or with the
// host's delim "/" only "/" (a host file name may end in "\").
std::string AddPathDelimiter(std::string_view path, char delim);

// path without one trailing "/" or "\".
std::string RemovePathDelimiter(std::string_view path);

// ---- texts -------------------------------------------------------------------------------

// typeName when given, else "<EXT> ファイル" or "ファイル" from the file name's extension.
std::string FileTypeText(std::string_view fileName, std::string_view typeName);

// The part of a file name that decides its type text and its icon, so that names of one
// type share one look-up: the name from its first dot on ("a.tar.gz" gives ".tar.gz"). A name
// without a dot ("Makefile") or starting with one (".bashrc", whose extension is all of it)
// is its own type: the whole name is given back. For code page 932 names (std::string_view)
// and display names (QStringView) alike: "." is never the trail byte of a double-byte
// character.
template <typename Name>
Name TypeEnding(Name fileName)
{
    if (fileName.empty() || fileName[0] == u'.')
        return fileName;
    for (std::size_t i = 1; i < std::size_t(fileName.size()); ++i) {
        if (fileName[i] == u'.')
            return Name(fileName.data() + i, fileName.size() - i);
    }
    return fileName;
}

// A count with the locale's thousands separators and no decimals: 1,234,567.
std::string FormatGrouped(double value);

// The count panel of the object lists: "n 件のオブジェクト" for all count objects, or
// "n 件のオブジェクトを選択" when selected of them are selected. While a filter shows count
// of the list's total objects: "count / total 件のオブジェクト".
std::string ObjectCountText(double count, double selected, std::optional<double> total = std::nullopt);

// The status note of an object list when hidden of the objects just added are not shown
// because of its filter: "追加した n 件はフィルタ外です"; "" when none is hidden.
std::string HiddenAddedText(double hidden);

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
