// The save: what changed since the list was loaded or saved is written, and what another
// program saved meanwhile is kept. Three lists meet: the list as loaded or saved (the base),
// the list in memory, and the control file and catalog files as they are now, read under the
// folder's lock. Each side's changes against the base are taken; only a change on both sides
// to the same catalog or the same list entry is a conflict, which the user decides.

#include "catalog/CatalogStore.h"

#include "catalog/ByteOrderMark.h"
#include "catalog/CatalogFile.h"
#include "catalog/CatalogRoundTrip.h"
#include "catalog/CatalogTextParts.h"
#include "catalog/IniProfile.h"
#include "catalog/SafeSave.h"
#include "support/core/Cp932.h"
#include "support/core/FileFacts.h"
#include "support/core/FileNames.h"
#include "support/core/HostPath.h"
#include "support/core/MessageDlg.h"
#include "support/core/TessnaError.h"

#include <algorithm>
#include <cerrno>
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
    // One catalog of the list after the save: one of this list (mine, its index), as it is
    // or as the other writer left it (theirs), or one the other writer listed (theirs alone).
    // The list's own catalogs are not copied: a catalog may hold a million objects.
    struct Planned {
        int mine = -1;
        std::optional<ListedCatalog> theirs;
    };
    std::vector<Planned> result;
    bool takesOtherWriter = false;
    // The catalogs of result to write, with their text.
    std::vector<std::pair<std::size_t, CatalogTextParts>> writes;
    // The control file's new text, when the list it names changes.
    std::optional<std::string> controlText;
    // What the files read now held, recorded once the save is done.
    std::vector<std::pair<std::string, DiskRecord::Fingerprint>> seenNow;
    std::vector<Conflict> conflicts;
};

namespace {

std::unordered_set<std::string> SetOf(const std::vector<std::string>& names)
{
    return {names.begin(), names.end()};
}

// A catalog another writer listed, as it reads now; nothing when it is no catalog.
std::optional<ListedCatalog> ReadTheirs(const std::string& path, FileBytes& bytes)
{
    try {
        auto entry = ReadCatalog(path, bytes);
        if (!entry)
            return std::nullopt;
        return ListedCatalog{std::move(*entry), {}, path, false};
    } catch (const CannotReadError& error) {
        bytes = {};
        return ListedCatalog{{path, {}, {}}, error.Reason(), path, false};
    }
}

}  // namespace

CatalogStore::SavePlan CatalogStore::PlanSave() const
{
    const std::string controlFile = GetCatalogControlFile();
    const bool controlExists = GetFileAttributesOf(controlFile) != -1;
    DiskRecord::Now controlNow(controlFile);
    const auto& control = controlNow.Bytes();
    if (controlExists && !control)
        throw TessnaError(CannotWriteToMessage(
            controlFile, DirExists(controlFile) ? WriteFailureReason(EISDIR) : Cp932Text("今の内容を読み取れません")));
    const std::string controlText = control ? FileTextOf(controlFile, *control) : std::string();
    const DiskRecord::Fingerprint controlSeen = disk_.FingerprintOf(controlNow);
    WrittenValues writtenNow;
    const std::vector<std::string> listedNow = ListedFiles(controlText, CompressSection, &writtenNow);
    const auto inBase = SetOf(listedOnDisk_);
    const auto inNow = SetOf(listedNow);
    const auto inMine = SetOf(FileNames());

    SavePlan plan;
    const auto controlConflict = [&](const std::string& fileName) {
        plan.conflicts.push_back({fileName, controlFile, controlSeen});
    };
    const auto fileNameOf = [this](const SavePlan::Planned& planned) -> const std::string& {
        return planned.theirs ? planned.theirs->catalog.FileName : catalogs_[std::size_t(planned.mine)].FileName;
    };
    // This list's entries; one the other writer took off the list goes too, unless this list
    // changed that entry.
    for (int i = 0; i < Count(); ++i) {
        const Origin& origin = origins_[std::size_t(i)];
        const std::string& fileName = catalogs_[std::size_t(i)].FileName;
        if (!origin.savedAs.empty() && inBase.count(origin.savedAs) && !inNow.count(origin.savedAs)) {
            if (!origin.edited && fileName == origin.savedAs) {
                plan.takesOtherWriter = true;
                continue;
            }
            controlConflict(fileName);
        }
        plan.result.push_back({i, std::nullopt});
    }
    // The other writer's new entries, each after the entry it follows there.
    FileBytes bytes;
    std::size_t insertAt = 0;
    for (const std::string& path : listedNow) {
        const auto at = std::find_if(plan.result.begin(), plan.result.end(),
                                     [&](const SavePlan::Planned& planned) { return fileNameOf(planned) == path; });
        if (at != plan.result.end()) {
            insertAt = static_cast<std::size_t>(at - plan.result.begin()) + 1;
            continue;
        }
        if (inBase.count(path) || inMine.count(path))
            continue;
        const DiskRecord::Fingerprint facts = DiskRecord::Look(path);
        auto theirs = ReadTheirs(path, bytes);
        if (!theirs)
            continue;
        if (theirs->unreadableReason.empty())
            plan.seenNow.emplace_back(path, disk_.Of(facts, bytes.text));
        plan.result.insert(plan.result.begin() + static_cast<std::ptrdiff_t>(insertAt), {-1, std::move(*theirs)});
        ++insertAt;
        plan.takesOtherWriter = true;
    }

    // The catalog files: an edited one is written unless its file holds its text; one this
    // list did not edit is read again when the other writer changed it.
    for (std::size_t i = 0; i < plan.result.size(); ++i) {
        SavePlan::Planned& planned = plan.result[i];
        if (planned.mine < 0 || !IsLoaded(planned.mine))
            continue;
        const TCatalogEntry& catalog = catalogs_[std::size_t(planned.mine)];
        DiskRecord::Now now(catalog.FileName);
        const bool changed = disk_.ChangedSinceSeen(catalog.FileName, now);
        if (!IsEdited(planned.mine)) {
            if (!changed || !now.Bytes())
                continue;
            if (auto theirs = ParseCatalog(catalog.FileName, *now.Bytes())) {
                planned.theirs = ListedCatalog{std::move(*theirs), {}, catalog.FileName, false};
                plan.seenNow.emplace_back(catalog.FileName, disk_.FingerprintOf(now));
                plan.takesOtherWriter = true;
            }
            continue;
        }
        CatalogTextParts text(catalog);
        // The bytes are read only when the sizes agree: a file of another size holds other text.
        if (now.Facts().size == text.Size() && now.Bytes() && text.Equals(*now.Bytes())) {
            plan.seenNow.emplace_back(catalog.FileName, disk_.FingerprintOf(now));
            continue;
        }
        if (changed)
            plan.conflicts.push_back({catalog.FileName, catalog.FileName, disk_.FingerprintOf(now)});
        plan.writes.emplace_back(i, std::move(text));
    }

    std::vector<std::string> resultNames;
    std::vector<std::string> keys;
    for (const SavePlan::Planned& planned : plan.result) {
        const std::string value = planned.theirs
            ? ListedValue(planned.theirs->catalog, planned.theirs->unreadableReason, writtenNow)
            : ListedValue(catalogs_[std::size_t(planned.mine)], unreadable_[std::size_t(planned.mine)], writtenNow);
        keys.push_back(ControlFileKeyLine(keys.size(), value));
        resultNames.push_back(fileNameOf(planned));
    }
    if (resultNames != listedNow || (!controlExists && !keys.empty()))
        plan.controlText = IniProfile(controlText).WithSection(CompressSection, keys);
    else
        plan.seenNow.emplace_back(controlFile, controlSeen);
    return plan;
}

void CatalogStore::WritePlan(SavePlan& plan)
{
    const std::string controlFile = GetCatalogControlFile();
    SafeSave save;
    for (const auto& [at, text] : plan.writes)
        StageCatalog(save, catalogs_[std::size_t(plan.result[at].mine)], text);
    // The control file last: a failure on the way leaves the old list naming the old files.
    if (plan.controlText) {
        const std::string failure = CannotWriteToMessage(controlFile);
        save.Stage(controlFile, *plan.controlText, {failure, failure});
    }
    save.Commit();

    for (const auto& [path, fingerprint] : plan.seenNow)
        disk_.Remember(path, fingerprint);
    // The files as written: the folder's lock keeps the program's other writers away.
    const auto rememberWritten = [this](const std::string& path, const std::vector<std::string_view>& parts) {
        disk_.Remember(path, disk_.Of(DiskRecord::Look(path), parts));
    };
    for (const auto& [at, text] : plan.writes)
        rememberWritten(catalogs_[std::size_t(plan.result[at].mine)].FileName, text.Parts());
    if (plan.controlText)
        rememberWritten(controlFile, {*plan.controlText});

    if (plan.takesOtherWriter)
        TakeOtherWriter(plan);
    for (std::size_t i = 0; i < origins_.size(); ++i)
        origins_[i] = {catalogs_[i].FileName, false};
    savedList_ = FileNames();
    if (plan.controlText)
        listedOnDisk_ = savedList_;
    else if (const auto control = ReadFileBytes(controlFile))
        listedOnDisk_ = ListedFiles(FileTextOf(controlFile, *control), CompressSection);
    emit Saved();
    SetModified(false);
}

// The list becomes the plan's result, announced as one edit: the other writer's catalogs and
// entries come in, and a catalog it removed from the list goes.
void CatalogStore::TakeOtherWriter(SavePlan& plan)
{
    ReplaceList edit{ListedCatalogs(), {}};
    for (SavePlan::Planned& planned : plan.result)
        edit.to.push_back(planned.theirs ? std::move(*planned.theirs) : edit.from[std::size_t(planned.mine)]);
    for (ListedCatalog& listed : edit.to) {
        listed.savedAs = listed.catalog.FileName;
        listed.edited = false;
    }
    SetListed(edit.to);
    ++revision_;
    emit Edited(edit);
    emit OtherWriterMerged();
}

void CatalogStore::TakeBase(std::vector<std::string> savedList, std::vector<std::string> listedOnDisk,
                            const DiskRecord& seen)
{
    savedList_ = std::move(savedList);
    listedOnDisk_ = std::move(listedOnDisk);
    for (const auto& [path, fingerprint] : seen.All())
        disk_.Remember(path, fingerprint);
}

bool CatalogStore::Save(Prompter* prompter)
{
    std::vector<Conflict> approved;
    for (;;) {
        auto hold = lock_.Hold();
        // What killed saves left wherever this one writes (the folder, and beside the target
        // of a linked catalog) goes before the files are compared: a write in place that a
        // kill cut short is finished first.
        std::vector<std::string> files = FileNames();
        files.push_back(GetCatalogControlFile());
        std::vector<std::string> cleaned;
        RemoveKilledSaves(files, cleaned);
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
