#pragma once

#include "catalog/CatalogEntry.h"
#include "catalog/CatalogTextParts.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// What the catalog files can hold. A text is taken as a title, an object path or a catalog's
// file name only when the program's own writer and reader give it back byte for byte: a save
// followed by a load. The answers come from composing and reading back the very texts a save
// writes, so they follow the writer and the reader wherever those go.

// The title of a catalog (the line "Title=" of the catalog file).
bool TitleReadsBack(const std::string& title);

// One object path of a catalog (a line of the object section).
bool ObjectPathReadsBack(const std::string& path);

// The file name of a catalog, without folder, as the control file lists it.
bool ListedFileNameReadsBack(const std::string& fileName);

// Takes out of paths, in order, every path that would not read back (ObjectPathReadsBack)
// and gives those back.
std::vector<std::string> RemoveUnstorablePaths(std::vector<std::string>& paths);

// A whole catalog: text is what a save writes for entry (CatalogTextParts); the title, every
// object and the file name the control file lists must all read back. Empty when they do;
// otherwise what does not, in the user's terms (code page 932), naming the title or the
// first object that would not come back.
std::string ReadBackProblem(const TCatalogEntry& entry, const CatalogTextParts& text);

// The control file's sections: the catalogs listed, each of kind 0 (Compress) or kind 1
// (Extract).
inline constexpr char CompressSection[] = "Compress";
inline constexpr char ExtractSection[] = "Extract";

// The line that lists a catalog file in the control file's section Compress.
std::string ControlFileKeyLine(std::size_t index, std::string_view fileName);
