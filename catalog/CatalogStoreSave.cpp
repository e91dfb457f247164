// The save: what changed since the list was loaded or saved is written, and what another
// program saved meanwhile is kept. Three lists meet: the list as loaded or saved (the base),
// the list in memory, and the control file and catalog files as they are now, read under the
// folder's lock. Each side's changes against the base are taken; only a change on both sides
// to the same catalog or the same list entry is a conflict, which the user decides.

#include "catalog/CatalogStore.h"

#include "catalog/ByteOrderMark.h"
#include "catalog/CatalogFile.h"
#include "catalog/CatalogRoundTrip.h"
#include "catalog/IniProfile.h"
#include "catalog/SafeSave.h"
#include "support/core/FileFacts.h"
#include "support/core/FileNames.h"
#include "support/core/HostPath.h"
#include "support/core/MessageDlg.h"
#include "support/core/TessnaError.h"

#include <algorithm>
#include <unordered_set>

// A change on both sides: the file named in the question, and the file whose content at
// planning time (now) shows the other writer's side. Approval holds for exactly that content.
struct CatalogStore::Conflict {
    std::string fileName;
    std::string evidence;
    DiskRecord::Fingerprint now;
    bool operator==(const Conflict&) const = default;
};

struct CatalogStore::SavePlan {
    // The list after the save, and whether it takes in another writer's changes.
    std::vector<ListedCatalog> result;
    bool takesOtherWriter = false;
    // The catalogs of result to write, with their text.
    std::vector<std::pair<std::size_t, std::string>> writes;
    // The control file's new text, when the list it names changes.
    std::optional<std::string> controlText;
    // What the files read now held, recorded once the save is done.
    std::vector<std::pair<std::string, DiskRecord::Fingerprint>> seenNow;
    std::vector<Conflict> conflicts;
};

namespace {

// Removes what killed saves left in the folder (code page 932).
void RemoveKilledSavesIn(const std::string& folder)
{
    if (const auto hostFolder = ToHostPath(folder))
        RemoveDeadTemporaries(*hostFolder);
}

std::unordered_set<std::string> SetOf(const std::vector<std::string>& names)
{
    return {names.begin(), names.end()};
}

// A catalog another writer listed, as it reads now; nothing when it is no catalog.
std::optional<ListedCatalog> ReadTheirs(const std::string& path, std::string& bytes)
{
    try {
        auto entry = ReadCatalog(path, bytes);
        if (!entry)
            return std::nullopt;
        return ListedCatalog{std::move(*entry), {}, path, false};
    } catch (const CannotReadError& error) {
        bytes.clear();
        return ListedCatalog{{path, {}, {}}, error.Reason(), path, false};
    }
}

}  // namespace

CatalogStore::SavePlan CatalogStore::PlanSave() const
{
    const std::string controlFile = GetCatalogControlFile();
    const bool controlExists = GetFileAttributesOf(controlFile) != -1;
    const auto control = DiskRecord::ReadNow(controlFile);
    if (controlExists && !control)
        throw TessnaError(CannotWriteToMessage(controlFile));
    const std::string controlText = control ? FileTextOf(controlFile, *control) : std::string();
    const std::vector<std::string> listedNow = ListedFiles(controlText, CompressSection);
    const auto inBase = SetOf(listedOnDisk_);
    const auto inNow = SetOf(listedNow);
    const auto inMine = SetOf(FileNames());

    SavePlan plan;
    const auto controlConflict = [&](const std::string& fileName) {
        plan.conflicts.push_back({fileName, controlFile, DiskRecord::FingerprintOf(control)});
    };
    // This list's entries; one the other writer took off the list goes too, unless this list
    // changed that entry.
    std::vector<bool> mine;
    for (int i = 0; i < Count(); ++i) {
        ListedCatalog listed = Listed(i);
        const bool removedThere = !listed.savedAs.empty() && inBase.count(listed.savedAs) && !inNow.count(listed.savedAs);
        if (removedThere) {
            if (!listed.edited && listed.catalog.FileName == listed.savedAs) {
                plan.takesOtherWriter = true;
                continue;
            }
            controlConflict(listed.catalog.FileName);
        }
        plan.result.push_back(std::move(listed));
        mine.push_back(true);
    }
    // The other writer's new entries, each after the entry it follows there.
    std::string bytes;
    std::size_t insertAt = 0;
    for (const std::string& path : listedNow) {
        const auto at = std::find_if(plan.result.begin(), plan.result.end(),
                                     [&](const ListedCatalog& listed) { return listed.catalog.FileName == path; });
        if (at != plan.result.end()) {
            insertAt = static_cast<std::size_t>(at - plan.result.begin()) + 1;
            continue;
        }
        if (inBase.count(path) || inMine.count(path))
            continue;
        auto theirs = ReadTheirs(path, bytes);
        if (!theirs)
            continue;
        if (theirs->unreadableReason.empty())
            plan.seenNow.emplace_back(path, DiskRecord::FingerprintOf(bytes));
        plan.result.insert(plan.result.begin() + static_cast<std::ptrdiff_t>(insertAt), std::move(*theirs));
        mine.insert(mine.begin() + static_cast<std::ptrdiff_t>(insertAt), false);
        ++insertAt;
        plan.takesOtherWriter = true;
    }

    // The catalog files: an edited one is written unless its file holds its text; one this
    // list did not edit is read again when the other writer changed it.
    for (std::size_t i = 0; i < plan.result.size(); ++i) {
        ListedCatalog& listed = plan.result[i];
        if (!mine[i] || !listed.unreadableReason.empty())
            continue;
        const std::string& fileName = listed.catalog.FileName;
        const auto now = DiskRecord::ReadNow(fileName);
        const bool changed = disk_.ChangedSinceSeen(fileName, now);
        if (!listed.edited) {
            if (!changed || !now)
                continue;
            if (auto theirs = ParseCatalog(fileName, *now)) {
                listed.catalog = std::move(*theirs);
                plan.seenNow.emplace_back(fileName, DiskRecord::FingerprintOf(*now));
                plan.takesOtherWriter = true;
            }
            continue;
        }
        std::string text = CatalogText(listed.catalog);
        if (now && *now == text) {
            plan.seenNow.emplace_back(fileName, DiskRecord::FingerprintOf(*now));
            continue;
        }
        if (changed)
            plan.conflicts.push_back({fileName, fileName, DiskRecord::FingerprintOf(now)});
        plan.writes.emplace_back(i, std::move(text));
    }

    std::vector<std::string> resultNames;
    std::vector<std::string> keys;
    for (const ListedCatalog& listed : plan.result) {
        keys.push_back(ControlFileKeyLine(keys.size(), ListedValue(listed.catalog, listed.unreadableReason)));
        resultNames.push_back(listed.catalog.FileName);
    }
    if (resultNames != listedNow || (!controlExists && !keys.empty()))
        plan.controlText = IniProfile(controlText).WithSection(CompressSection, keys);
    else
        plan.seenNow.emplace_back(controlFile, DiskRecord::FingerprintOf(control));
    return plan;
}

void CatalogStore::WritePlan(SavePlan& plan)
{
    const std::string controlFile = GetCatalogControlFile();
    SafeSave save;
    for (const auto& [at, text] : plan.writes)
        StageCatalog(save, plan.result[at].catalog, text);
    // The control file last: a failure on the way leaves the old list naming the old files.
    if (plan.controlText) {
        const std::string failure = CannotWriteToMessage(controlFile);
        save.Stage(controlFile, *plan.controlText, {failure, failure});
    }
    // What killed saves left wherever this one writes: the folder, and beside the target of
    // a linked catalog.
    RemoveKilledSavesIn(folder_);
    for (const std::string& hostFolder : save.TemporaryFolders())
        RemoveDeadTemporaries(hostFolder);
    save.Commit();

    for (const auto& [path, fingerprint] : plan.seenNow)
        disk_.Remember(path, fingerprint);
    for (const auto& [at, text] : plan.writes)
        disk_.Remember(plan.result[at].catalog.FileName, text);
    if (plan.controlText)
        disk_.Remember(controlFile, *plan.controlText);

    for (ListedCatalog& listed : plan.result) {
        listed.savedAs = listed.catalog.FileName;
        listed.edited = false;
    }
    if (plan.takesOtherWriter) {
        ReplaceList edit{ListedCatalogs(), std::move(plan.result)};
        SetListed(edit.to);
        ++revision_;
        emit Edited(edit);
        emit OtherWriterMerged();
    } else {
        SetListed(std::move(plan.result));
    }
    savedList_ = FileNames();
    if (plan.controlText)
        listedOnDisk_ = savedList_;
    else if (const auto control = DiskRecord::ReadNow(controlFile))
        listedOnDisk_ = ListedFiles(FileTextOf(controlFile, *control), CompressSection);
    emit Saved();
    SetModified(false);
}

bool CatalogStore::Save(Prompter* prompter)
{
    std::vector<Conflict> approved;
    for (;;) {
        auto hold = lock_.Hold();
        SavePlan plan = PlanSave();
        std::vector<std::string> asked;
        for (const Conflict& conflict : plan.conflicts) {
            const bool isApproved = std::find(approved.begin(), approved.end(), conflict) != approved.end();
            if (!isApproved && std::find(asked.begin(), asked.end(), conflict.fileName) == asked.end())
                asked.push_back(conflict.fileName);
        }
        if (asked.empty() || !prompter) {
            WritePlan(plan);
            return true;
        }
        // Nobody waits for the lock while the user thinks; the files are compared again
        // under the lock before anything is written.
        hold.Release();
        const int answer = prompter->ShowMessageDlg(ChangedOnDiskQuestion(asked), MsgDlgType::mtWarning,
                                                    mbYesNo | mbDefaultNo, 0);
        if (answer != mrYes)
            return false;
        approved.insert(approved.end(), plan.conflicts.begin(), plan.conflicts.end());
    }
}

void CatalogStore::SaveCatalogList()
{
    Save(nullptr);
}

bool CatalogStore::SaveCheckingDisk(Prompter& prompter)
{
    return Save(&prompter);
}
