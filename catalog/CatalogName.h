#pragma once

#include <functional>
#include <string>
#include <vector>

class CatalogStore;

// The one rule for a proposed catalog name, shared by the wizard's name page, the rename
// dialog and the command-line tool. Names, folders and messages are code page 932.

// What the name is for: a new catalog, whose title it also becomes, or a renamed one, whose
// title stays.
enum class NameUse { nuNewCatalog, nuRename };

// The message that refuses name for a catalog whose file would be folder + name + ".VrCat",
// while the other catalogs of the list are listed under otherNames; "" when the name can be
// taken. Refused, in this order: a name of blanks only; a character a file name may not hold
// (the text of FileNameCharsMessage); a name that would not read back as itself from the
// control file (and as the title of a new catalog); a catalog file name longer than the
// folder's file system takes; the displayed name of another catalog in any letter case; the
// name of something already in the folder, which the list does not name and a save would
// overwrite.
std::string CatalogNameProblem(const std::string& name, const std::string& folder,
                               const std::vector<std::string>& otherNames,
                               NameUse use = NameUse::nuNewCatalog);

// The refusal of a name whose catalog file, path, is already on disk while the list does not
// name it (the last rule of CatalogNameProblem).
std::string UnlistedFileMessage(const std::string& path);
// The question that offers to list that file instead (Yes lists it).
std::string UnlistedFileOffer(const std::string& path);

// The refusal of a rename to the name the catalog has, ASCII letters compared without case:
// "変更前と変更後の名前が同じです。"; "" otherwise and for an empty new name, which
// CatalogNameProblem refuses.
std::string UnchangedNameProblem(const std::string& oldName, const std::string& newName);

// Gives the refusing message for a name, or "".
using CatalogNameCheck = std::function<std::string(const std::string& name)>;

// The check for a name of a catalog of store: a new catalog (index -1) in the store's folder,
// or the catalog at index under a new name, in its own folder and among the others. The store
// must outlive the check.
CatalogNameCheck CatalogNameCheckOf(const CatalogStore& store, int index = -1);
