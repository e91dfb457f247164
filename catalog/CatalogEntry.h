#pragma once

#include "catalog/ObjectList.h"

#include <string>
#include <string_view>
#include <vector>

// One catalog in memory: the file it lives in, its title and its object paths in file order.
// Every string is code page 932 bytes, kept exactly as read or chosen.
struct TCatalogEntry {
    // Full path of the catalog file, folder and ".VrCat" extension included.
    std::string FileName;
    // The value of Title in the Common section. Not the name the list shows: a rename
    // changes FileName and leaves the title alone.
    std::string Title;
    ObjectList Objects;
    bool operator==(const TCatalogEntry&) const = default;
};

// The name a catalog is listed under: the file name of fileName (after the last host
// delimiter) without its last extension. Double-byte characters are stepped over whole.
std::string DisplayedName(std::string_view fileName);

// What two texts share when they are equal without regard to letter case: the case-folded
// text, or for bytes that are no code page 932 text the bytes with ASCII letters lowered.
// The two kinds never meet.
std::string NoCaseKey(const std::string& text);
