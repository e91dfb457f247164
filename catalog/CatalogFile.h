#pragma once

#include "catalog/CatalogEntry.h"

class CatalogTextParts;
class SafeSave;

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The catalog file: an INI-style code page 932 text in a fixed layout,
//
//     [Common]            <- the common lines: "Operation=Compress", "Title=<title>"
//     Operation=Compress
//     Title=<title>
//                         <- an empty line
//     [Options]           <- the options lines (none when the program writes a catalog)
//                         <- an empty line
//     [Objects]
//     <one object path a line, in order>
//
// every line ended by CR LF, no byte-order mark. The program keeps only the title and the
// objects of a catalog it reads; everything else is rewritten in this layout at the next save.

// The catalog text with caller-given section bodies, as lines without line ends.
std::vector<std::string> ComposeCatalogText(const std::vector<std::string>& commonLines,
                                            const std::vector<std::string>& optionsLines,
                                            const std::vector<std::string>& objectLines);

// The common lines the program writes for a title.
std::vector<std::string> CatalogCommonLines(const std::string& title);

// The bytes a save writes for the catalog.
std::string CatalogText(const TCatalogEntry& entry);

// The title in a list of common lines: the text after the first "=" of the first line whose
// name before it is Title, in any letter case; empty when there is none.
std::string TitleOfCommonLines(const std::vector<std::string>& commonLines);

// The object lines of a catalog text: every line that is not empty after the first line that
// is exactly "[Objects]" in any letter case, verbatim. Lines end at CR, LF or CR LF; a NUL
// byte ends the text. With an owner that keeps text alive and unchanged, the objects refer to
// text where they stand (when each line ends in CR LF there); otherwise they are copied.
ObjectList ReadObjectLines(std::string_view text, std::shared_ptr<const void> owner = {});

// A catalog from the bytes of its file: nothing when its Common section holds no key. The
// objects are read as ReadObjectLines reads them, with the same owner.
std::optional<TCatalogEntry> ParseCatalog(const std::string& fileName, std::string_view text,
                                          std::shared_ptr<const void> owner = {});

// Whether ParseCatalog makes of text a catalog of exactly this title and these objects;
// answered as the lines are read, without a copy of the objects.
bool ParsesAs(std::string_view text, const std::string& title, const ObjectList& objects);

// The catalog of a file's text (code page 932, no byte-order mark). Throws CannotReadError
// with the reason when the text is no catalog (empty, first bytes not text by the text-file
// test, no key in Common) or when the reader could not keep it whole (a NUL byte, a title
// longer than IniProfile::MaxValueLength): such a file must never be written from what was
// read. The objects are read as ReadObjectLines reads them, with the same owner.
TCatalogEntry CatalogOfText(const std::string& fileName, std::string_view text,
                            std::shared_ptr<const void> owner = {});

// The bytes of a file as read, shared with the objects read from them.
struct FileBytes {
    std::shared_ptr<const void> owner;
    std::string_view text;
};

// Reads the catalog file at fileName (code page 932): nothing when there is no directory
// entry at all at that name. A file that starts with a byte-order mark is read in its
// encoding (ByteOrderMark.h). Throws CannotReadError ("ファイル %s は開けません", with the
// reason) for anything else that is not read whole as a catalog: a link whose target is
// missing, a folder, a pipe, a file that cannot be read, and the texts CatalogOfText refuses.
std::optional<TCatalogEntry> ReadCatalog(const std::string& fileName);
// The same, giving in bytes the file's bytes as read (as on disk): read once, never
// zero-filled first, and referred to by the objects rather than copied.
std::optional<TCatalogEntry> ReadCatalog(const std::string& fileName, FileBytes& bytes);

// The whole content of a plain file, or nothing when there is none or it cannot be read.
std::optional<std::string> ReadFileBytes(const std::string& fileName);

// Adds the catalog's file to a save in progress (see SafeSave); the errors as for
// WriteCatalog. A catalog that would not read back as itself (ReadBackProblem) throws
// TessnaError ("%s に書き込めません: " and what would not come back) before anything is
// written.
void StageCatalog(SafeSave& save, const TCatalogEntry& entry);
// The same with text, the catalog's text as parts, made already.
void StageCatalog(SafeSave& save, const TCatalogEntry& entry, const CatalogTextParts& text);

// Writes the catalog to its FileName, replacing the file whole. Throws TessnaError
// ("%s に書き込めません", "ファイル %s を作成できません", "ストリームへの書き込みエラー").
void WriteCatalog(const TCatalogEntry& entry);
