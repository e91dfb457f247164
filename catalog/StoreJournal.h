#pragma once

#include "catalog/CatalogEdit.h"
#include "catalog/JournalState.h"

#include <cstdint>

class CatalogStore;

// The store's unsaved state as the journal keeps it: every entry of the list with the file it
// was read from, the edited catalogs in full, the list as last loaded or saved, and what the
// store last saw in each file. takenAt: milliseconds since the Unix epoch.
JournalState JournalStateOf(const CatalogStore& store, std::int64_t takenAt);

// Puts what an earlier run left unsaved back in a store that has just loaded the list: takes
// the journal's base into the store (CatalogStore::TakeBase) and gives the edit that replaces
// the list as loaded with the journal's, for the caller to apply as one step, so that undoing
// it gives the list as loaded. The catalogs the journal holds in full come back edited; the
// others as the load read them, or read from their files when the control file no longer
// lists them (a file that is gone is dropped, as a load drops it).
ReplaceList RecoverJournal(CatalogStore& store, const JournalState& state);
