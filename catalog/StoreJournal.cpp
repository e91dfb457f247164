#include "catalog/StoreJournal.h"

#include "catalog/CatalogStore.h"

#include <algorithm>

JournalState JournalStateOf(const CatalogStore& store, std::int64_t takenAt)
{
    JournalState state;
    state.folder = store.ProgramFolder();
    state.takenAt = takenAt;
    state.revision = store.Revision();
    state.listChanged = store.ListChanged();
    for (int i = 0; i < store.Count(); ++i) {
        ListedCatalog listed = store.Listed(i);
        const bool changed = listed.edited && listed.unreadableReason.empty();
        if (!changed)
            listed.catalog = {listed.catalog.FileName, {}, {}};
        state.entries.push_back(
            {std::move(listed.catalog), changed, std::move(listed.unreadableReason), std::move(listed.savedAs)});
    }
    state.savedList = store.SavedList();
    // A file seen without a digest gets an empty one, which no file's content matches.
    for (const auto& [path, seen] : store.Disk().All()) {
        const auto digest = seen.sha256 ? std::string(seen.sha256->begin(), seen.sha256->end()) : std::string();
        state.fingerprints.push_back(
            {path, seen.exists ? std::optional(digest) : std::nullopt, seen.exists ? seen.size : 0});
    }
    std::sort(state.fingerprints.begin(), state.fingerprints.end(),
              [](const JournalFingerprint& a, const JournalFingerprint& b) { return a.path < b.path; });
    return state;
}
