#pragma once

#include "catalog/CatalogEdit.h"
#include "catalog/CatalogParam.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

class CatalogStore;

// The rules that turn what a user asks for into the edit of the list that does it. The main
// window and tessna-cli both build their edits here and give them to CatalogStore::Apply.
// Object paths compare exactly: they are file names of a case-sensitive file system, so
// "a.txt" and "A.TXT" are two objects. Each rule throws TessnaError (CheckLoaded) for a
// catalog that is not loaded, except RemoveCatalogEdit.

// The paths the catalog does not hold yet, appended at its end in the order given, a path
// given twice taken once; nothing when there is none.
std::optional<InsertObjects> AddObjectsEdit(const CatalogStore& store, int catalog,
                                            const std::vector<std::string>& paths);

// The objects at these positions of the catalog (in any order; a repeat counts once);
// nothing when there is none.
std::optional<EraseObjects> EraseObjectsEdit(const CatalogStore& store, int catalog,
                                             std::vector<std::size_t> positions);

// The first occurrence of each path that the catalog holds, a path given twice taking the
// next occurrence; nothing when none is held.
std::optional<EraseObjects> ErasePathsEdit(const CatalogStore& store, int catalog,
                                           const std::vector<std::string>& paths);

// The catalog the wizard made, appended to the list: its title from the Common lines, the
// file "<folder><title>.VrCat", the wizard's object lines.
InsertCatalog NewCatalogEdit(const CatalogStore& store, const TCatalogParam& data);

// The wizard's result for the catalog it was run on: the same name (the displayed name the
// wizard showed) replaces its objects; another name makes a new catalog (NewCatalogEdit).
CatalogEdit UpdateCatalogEdit(const CatalogStore& store, int catalog, const TCatalogParam& data);

// The catalog's file becomes "<its folder><newName>.VrCat"; the title stays.
SetFileName RenameCatalogEdit(const CatalogStore& store, int catalog, const std::string& newName);

// The catalog leaves the list; its file stays on disk.
RemoveCatalog RemoveCatalogEdit(const CatalogStore& store, int catalog);

// The objects an add takes from a choice: the folders, then the files, each only while it
// still exists as what it was chosen as, in the order chosen.
std::vector<std::string> ExistingFoldersThenFiles(const std::vector<std::string>& folders,
                                                  const std::vector<std::string>& files);
