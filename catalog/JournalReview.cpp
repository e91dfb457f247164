#include "catalog/JournalReview.h"

#include "catalog/CatalogFile.h"
#include "catalog/CatalogRoundTrip.h"
#include "catalog/IniProfile.h"
#include "support/core/HostPath.h"
#include "support/core/ProgramFolder.h"
#include "support/core/Sha256.h"

#include <algorithm>

namespace {

bool FileHolds(const std::string& path, const std::string& text)
{
    const auto now = ReadFileBytes(path);
    return now && *now == text;
}

// Whether the control file already lists the journal's entries as a save would list them.
bool ListMatchesDisk(const JournalState& state)
{
    std::vector<std::string> keys;
    for (std::size_t i = 0; i < state.entries.size(); ++i)
        keys.push_back(ControlFileKeyLine(i, ExtractFileName(state.entries[i].catalog.FileName)));
    const std::string controlFile = state.folder + ControlFileName;
    const auto now = ReadFileBytes(controlFile);
    if (!now)
        return keys.empty();
    return IniProfile(*now).WithSection(CompressSection, keys) == *now;
}

}  // namespace

JournalReview ReviewJournal(const JournalState& state)
{
    JournalReview review;
    review.matchesDisk = (!state.listChanged || ListMatchesDisk(state))
        && std::all_of(state.entries.begin(), state.entries.end(), [](const JournalEntry& entry) {
               return !entry.changed || FileHolds(entry.catalog.FileName, CatalogText(entry.catalog));
           });
    for (const JournalFingerprint& fingerprint : state.fingerprints) {
        const auto now = ReadFileBytes(fingerprint.path);
        if ((now ? std::optional(Sha256(*now)) : std::nullopt) != fingerprint.sha256)
            review.changedOnDisk.push_back(fingerprint.path);
    }
    return review;
}
