#include "catalog/StoreJournal.h"

#include "catalog/CatalogFile.h"
#include "catalog/CatalogMessages.h"
#include "catalog/CatalogStore.h"

#include <algorithm>
#include <optional>

namespace {

DiskRecord::Fingerprint FingerprintOf(const JournalFingerprint& fingerprint)
{
    DiskRecord::Fingerprint seen;
    if (!fingerprint.sha256 || fingerprint.sha256->size() != seen.sha256.size())
        return seen;
    seen.exists = true;
    seen.size = static_cast<std::size_t>(fingerprint.size);
    std::copy(fingerprint.sha256->begin(), fingerprint.sha256->end(), seen.sha256.begin());
    return seen;
}

// An entry the journal names by its file only, as it reads now: the load's catalog when the
// load listed the file, else the file read again; nothing when no file is there.
std::optional<ListedCatalog> UnchangedEntry(const CatalogStore& store, const JournalEntry& entry)
{
    const std::string& fileName = entry.catalog.FileName;
    for (int i = 0; i < store.Count(); ++i) {
        if (store.Catalog(i).FileName == fileName)
            return ListedCatalog{store.Catalog(i), store.UnreadableReason(i), entry.savedAs, false};
    }
    if (!entry.unreadableReason.empty())
        return ListedCatalog{entry.catalog, entry.unreadableReason, entry.savedAs, false};
    try {
        auto catalog = ReadCatalog(fileName);
        if (!catalog)
            return std::nullopt;
        return ListedCatalog{std::move(*catalog), {}, entry.savedAs, false};
    } catch (const CannotReadError& error) {
        return ListedCatalog{{fileName, {}, {}}, error.Reason(), entry.savedAs, false};
    }
}

}  // namespace

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
    state.listedOnDisk = store.ListedOnDisk();
    for (const auto& [path, seen] : store.Disk().All()) {
        state.fingerprints.push_back({path,
                                      seen.exists ? std::optional(std::string(seen.sha256.begin(), seen.sha256.end()))
                                                  : std::nullopt,
                                      seen.exists ? seen.size : 0});
    }
    std::sort(state.fingerprints.begin(), state.fingerprints.end(),
              [](const JournalFingerprint& a, const JournalFingerprint& b) { return a.path < b.path; });
    return state;
}

ReplaceList RecoverJournal(CatalogStore& store, const JournalState& state)
{
    ReplaceList edit;
    for (int i = 0; i < store.Count(); ++i)
        edit.from.push_back(store.Listed(i));
    for (const JournalEntry& entry : state.entries) {
        if (entry.changed) {
            edit.to.push_back({entry.catalog, {}, entry.savedAs, true});
            continue;
        }
        if (auto unchanged = UnchangedEntry(store, entry))
            edit.to.push_back(std::move(*unchanged));
    }
    DiskRecord seen;
    for (const JournalFingerprint& fingerprint : state.fingerprints)
        seen.Remember(fingerprint.path, FingerprintOf(fingerprint));
    store.TakeBase(state.savedList, state.listedOnDisk, seen);
    return edit;
}
