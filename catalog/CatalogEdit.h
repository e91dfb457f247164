#pragma once

#include "catalog/CatalogEntry.h"

#include <cstddef>
#include <string>
#include <variant>
#include <vector>

// One catalog of the list as the store holds it: the catalog, why its file could not be read
// (empty for a loaded one), the file it was last read from or saved to (empty for a catalog
// made since) and whether it was changed since then.
struct ListedCatalog {
    TCatalogEntry catalog;
    std::string unreadableReason;
    std::string savedAs;
    bool edited = false;
    bool operator==(const ListedCatalog&) const = default;
};

// The edits of the catalog list. Each is exact and positional, and complete: it names what
// enters and what leaves, so that a listener knows the change without asking the store, and
// the store refuses an edit that does not match the list it is applied to. CatalogStore::Apply
// applies one whole or not at all and gives back the edit that reverses it.
//
// Catalog indexes are positions in the list, 0 first; object positions are positions in the
// catalog's Objects, ascending, without repeats.

// A catalog enters the list at index (0 to Count()).
struct InsertCatalog {
    int index = 0;
    ListedCatalog listed;
};

// The catalog at index leaves the list; listed is what it holds. Its file stays on disk.
struct RemoveCatalog {
    int index = 0;
    ListedCatalog listed;
};

// The catalog's file name goes from `from` to `to`; its title and objects stay.
struct SetFileName {
    int catalog = 0;
    std::string from;
    std::string to;
};

// The catalog's objects are replaced as a whole.
struct SetObjects {
    int catalog = 0;
    std::vector<std::string> from;
    std::vector<std::string> to;
};

// Objects enter the catalog: paths[i] comes to stand at positions[i] of the objects as they
// are afterwards.
struct InsertObjects {
    int catalog = 0;
    std::vector<std::size_t> positions;
    std::vector<std::string> paths;
};

// Objects leave the catalog: paths[i] is the object at positions[i] of the objects as they
// are before.
struct EraseObjects {
    int catalog = 0;
    std::vector<std::size_t> positions;
    std::vector<std::string> paths;
};

// The whole list is replaced (a save took in what another program saved meanwhile).
struct ReplaceList {
    std::vector<ListedCatalog> from;
    std::vector<ListedCatalog> to;
};

using CatalogEdit
    = std::variant<InsertCatalog, RemoveCatalog, SetFileName, SetObjects, InsertObjects, EraseObjects, ReplaceList>;

// The edit that undoes edit once it is applied.
CatalogEdit Inverse(CatalogEdit edit);

// The catalog the edit is about; -1 for ReplaceList.
int EditedCatalog(const CatalogEdit& edit);
