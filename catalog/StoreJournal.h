#pragma once

#include "catalog/JournalState.h"

#include <cstdint>

class CatalogStore;

// The store's unsaved state as the journal keeps it: every entry of the list with the file it
// was read from, the edited catalogs in full, the list as last loaded or saved, and what the
// store last saw in each file. takenAt: milliseconds since the Unix epoch.
JournalState JournalStateOf(const CatalogStore& store, std::int64_t takenAt);
