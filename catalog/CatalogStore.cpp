#include "catalog/CatalogStore.h"

#include "catalog/ByteOrderMark.h"
#include "catalog/CatalogFile.h"
#include "catalog/CatalogMessages.h"
#include "catalog/CatalogRoundTrip.h"
#include "catalog/IniProfile.h"
#include "catalog/SafeSave.h"
#include "support/core/Cp932.h"
#include "support/core/FileFacts.h"
#include "support/core/FileNames.h"
#include "support/core/HostPath.h"
#include "support/core/MessageDlg.h"
#include "support/core/ProgramFolder.h"
#include "support/core/TessnaError.h"

#include <algorithm>
#include <stdexcept>
#include <unordered_map>
#include <unordered_set>

namespace {

// Removes what killed saves left in the folder (code page 932).
void RemoveKilledSaves(const std::string& folder)
{
    if (const auto hostFolder = ToHostPath(folder))
        RemoveDeadTemporaries(*hostFolder);
}

// The control file's text in code page 932: its bytes, converted when they start with a
// byte-order mark. Throws TessnaError when a character has no code page 932 form.
std::string ControlText(const std::string& controlFile, std::string bytes)
{
    if (!HasByteOrderMark(bytes))
        return bytes;
    UnmarkedText unmarked = WithoutByteOrderMark(bytes);
    if (!unmarked.problem.empty())
        throw TessnaError(CannotOpenFileMessage(controlFile) + ": " + unmarked.problem);
    return std::move(unmarked.text);
}

// Whether a list value leads out of the folder by its own text: an absolute path, or ".."
// parts that climb above the folder. Links inside the folder are the user's arrangement and
// are followed.
bool LeadsOutOfFolder(std::string_view value)
{
    if (value.starts_with(PathDelim))
        return true;
    int depth = 0;
    while (!value.empty()) {
        const std::size_t end = std::min(value.find(PathDelim), value.size());
        const std::string_view part = value.substr(0, end);
        value.remove_prefix(std::min(end + 1, value.size()));
        if (part == "..")
            --depth;
        else if (!part.empty() && part != ".")
            ++depth;
        if (depth < 0)
            return true;
    }
    return false;
}

}  // namespace

CatalogStore::CatalogStore(std::string folder, QObject* parent)
    : QObject(parent)
    , folder_(AddPathDelimiter(folder, PathDelim))
    , lock_(folder_)
{
}

CatalogStore::~CatalogStore() = default;

std::string CatalogStore::GetCatalogControlFile() const
{
    return folder_ + ControlFileName;
}

void CatalogStore::LoadCatalogList(int kind)
{
    catalogs_.clear();
    unreadable_.clear();
    listed_.clear();
    disk_.Clear();
    RemoveKilledSaves(folder_);
    // The window shows what was read, also when the control file stops the load.
    try {
        ReadCatalogList(kind);
    } catch (...) {
        emit ListReset();
        throw;
    }
    emit ListReset();
}

void CatalogStore::ReadCatalogList(int kind)
{
    const std::string controlFile = GetCatalogControlFile();
    disk_.Remember(controlFile, std::nullopt);
    if (!IsExistingFile(controlFile))
        return;
    auto control = ReadFileBytes(controlFile);
    if (!control)
        throw TessnaError(CannotOpenFileMessage(controlFile));
    disk_.Remember(controlFile, *control);

    const std::string text = ControlText(controlFile, *std::move(control));
    const IniProfile profile(text);
    std::unordered_set<std::string> seen;
    std::string buffer;
    for (const auto& [key, value] : profile.ReadSection(kind == 1 ? ExtractSection : CompressSection)) {
        if (value.empty())
            continue;
        std::string path = folder_ + value;
        if (!seen.insert(path).second)
            continue;
        if (LeadsOutOfFolder(value)) {
            catalogs_.push_back({path, {}, {}});
            unreadable_.push_back(NotCatalogReason::OutsideFolder());
            listed_.push_back(value);
            continue;
        }
        try {
            auto entry = ReadCatalog(path, buffer);
            if (!entry)
                continue;
            disk_.Remember(path, buffer);
            catalogs_.push_back(std::move(*entry));
            unreadable_.emplace_back();
        } catch (const CannotReadError& error) {
            catalogs_.push_back({path, {}, {}});
            unreadable_.push_back(error.Reason());
        }
        listed_.push_back(value);
    }
}

void CatalogStore::SaveCatalogList()
{
    const auto hold = lock_.Hold();
    WritePlan(PlanSave());
}

std::vector<CatalogStore::SaveStep> CatalogStore::PlanSave() const
{
    std::vector<SaveStep> plan;
    plan.reserve(catalogs_.size() + 1);
    const auto add = [&](const TCatalogEntry* catalog, const std::string& fileName,
                         const std::optional<std::string>& now, std::string text) {
        const auto compared = disk_.Compare(fileName, now, text);
        // A file that holds its text and is as the store saw it needs nothing.
        if (!compared.holdsText || compared.changedSinceSeen)
            plan.push_back({catalog, fileName, std::move(text), !compared.holdsText, compared.changedSinceSeen});
    };
    std::vector<std::string> keys;
    keys.reserve(catalogs_.size());
    for (std::size_t i = 0; i < catalogs_.size(); ++i) {
        const TCatalogEntry& entry = catalogs_[i];
        keys.push_back(ControlFileKeyLine(i, listed_[i]));
        if (unreadable_[i].empty())
            add(&entry, entry.FileName, DiskRecord::ReadNow(entry.FileName), CatalogText(entry));
    }

    // The control file last: a failure on the way leaves the old list naming the old files.
    const std::string controlFile = GetCatalogControlFile();
    const bool controlExists = GetFileAttributesOf(controlFile) != -1;
    const auto control = DiskRecord::ReadNow(controlFile);
    if (controlExists && !control)
        throw TessnaError(CannotWriteToMessage(controlFile));
    const std::string controlText = control ? ControlText(controlFile, *control) : std::string();
    if (controlExists || !keys.empty())
        add(nullptr, controlFile, control, IniProfile(controlText).WithSection(CompressSection, keys));
    return plan;
}

void CatalogStore::WritePlan(const std::vector<SaveStep>& plan)
{
    std::vector<std::string> folders{folder_};
    SafeSave save;
    for (const SaveStep& step : plan) {
        if (!step.write)
            continue;
        std::string folder = ExtractFilePath(step.fileName);
        if (std::find(folders.begin(), folders.end(), folder) == folders.end())
            folders.push_back(std::move(folder));
        if (step.catalog) {
            StageCatalog(save, *step.catalog);
        } else {
            const std::string failure = CannotWriteToMessage(step.fileName);
            save.Stage(step.fileName, step.text, {failure, failure});
        }
    }
    for (const std::string& folder : folders)
        RemoveKilledSaves(folder);
    save.Commit();

    for (const SaveStep& step : plan)
        disk_.Remember(step.fileName, step.text);
    if (!catalogs_.empty())
        SetModified(false);
}

bool CatalogStore::SaveCheckingDisk(Prompter& prompter)
{
    std::vector<std::string> approved;
    for (;;) {
        auto hold = lock_.Hold();
        auto plan = PlanSave();
        std::vector<std::string> changed;
        for (const SaveStep& step : plan) {
            if (step.write && step.changedOnDisk
                && std::find(approved.begin(), approved.end(), step.fileName) == approved.end())
                changed.push_back(step.fileName);
        }
        if (changed.empty()) {
            WritePlan(plan);
            return true;
        }
        // Nobody waits for the lock while the user thinks; the files are compared again
        // under the lock before anything is written.
        hold.Release();
        const int answer = prompter.ShowMessageDlg(ChangedOnDiskQuestion(changed), MsgDlgType::mtWarning,
                                                   mbYesNo | mbDefaultNo, 0);
        if (answer != mrYes)
            return false;
        approved.insert(approved.end(), changed.begin(), changed.end());
    }
}

int CatalogStore::AddCatalogFromWizard(const TCatalogParam& data)
{
    const std::string title = TitleOfCommonLines(data.Common);
    catalogs_.push_back({NewCatalogFileName(title), title, data.Objects});
    unreadable_.emplace_back();
    listed_.push_back(ExtractFileName(catalogs_.back().FileName));
    const int index = Count() - 1;
    emit CatalogAppended(index);
    SetModified(true);
    return index;
}

void CatalogStore::SetModified(bool value)
{
    if (value == modified_)
        return;
    modified_ = value;
    emit ModifiedChanged(modified_);
}

const TCatalogEntry& CatalogStore::Catalog(int index) const
{
    return catalogs_[CheckedIndex(index)];
}

std::size_t CatalogStore::CheckedIndex(int index) const
{
    if (index < 0 || index >= Count())
        throw std::out_of_range("no catalog at this index");
    return static_cast<std::size_t>(index);
}

bool CatalogStore::IsListed(const std::string& fileName) const
{
    return std::any_of(catalogs_.begin(), catalogs_.end(),
                       [&](const TCatalogEntry& entry) { return entry.FileName == fileName; });
}

std::string CatalogStore::NewCatalogFileName(const std::string& title) const
{
    return CatalogFileNameIn(folder_, title);
}

std::string CatalogStore::CatalogFileNameIn(const std::string& folder, const std::string& name)
{
    return AddPathDelimiter(folder, PathDelim) + name + CatalogExtension;
}

std::string CatalogStore::RenamedFileName(int index, const std::string& newName) const
{
    return CatalogFileNameIn(ExtractFilePath(Catalog(index).FileName), newName);
}

int CatalogStore::IndexOfDisplayedName(const std::string& name) const
{
    const auto found = std::find_if(catalogs_.begin(), catalogs_.end(), [&](const TCatalogEntry& entry) {
        return DisplayedName(entry.FileName) == name;
    });
    return found == catalogs_.end() ? -1 : static_cast<int>(found - catalogs_.begin());
}

void CatalogStore::CheckLoaded(int index) const
{
    const std::string& reason = UnreadableReason(index);
    if (!reason.empty())
        throw TessnaError(NotLoadedMessage(DisplayedName(Catalog(index).FileName), reason));
}

std::vector<UnreadableCatalog> CatalogStore::UnreadableCatalogs() const
{
    std::vector<UnreadableCatalog> unreadable;
    for (std::size_t i = 0; i < catalogs_.size(); ++i) {
        if (!unreadable_[i].empty())
            unreadable.push_back({catalogs_[i].FileName, unreadable_[i]});
    }
    return unreadable;
}

void CatalogStore::RemoveCatalog(int index)
{
    const auto at = static_cast<std::ptrdiff_t>(CheckedIndex(index));
    catalogs_.erase(catalogs_.begin() + at);
    unreadable_.erase(unreadable_.begin() + at);
    listed_.erase(listed_.begin() + at);
    emit CatalogRemoved(index);
    SetModified(true);
}

void CatalogStore::RenameCatalog(int index, const std::string& newName)
{
    CheckLoaded(index);
    const std::size_t at = CheckedIndex(index);
    catalogs_[at].FileName = RenamedFileName(index, newName);
    // The subfolder part of the listed value stays with the file.
    listed_[at] = ExtractFilePath(listed_[at]) + ExtractFileName(catalogs_[at].FileName);
    emit CatalogChanged(index);
    SetModified(true);
}

void CatalogStore::ReplaceObjects(int index, std::vector<std::string> objects)
{
    CheckLoaded(index);
    catalogs_[CheckedIndex(index)].Objects = std::move(objects);
    emit CatalogChanged(index);
    SetModified(true);
}

std::vector<std::string> CatalogStore::AddObjects(int index, const std::vector<std::string>& paths)
{
    CheckLoaded(index);
    std::vector<std::string>& objects = catalogs_[CheckedIndex(index)].Objects;
    std::unordered_set<std::string> held;
    held.reserve(objects.size() + paths.size());
    for (const std::string& object : objects)
        held.insert(NoCaseKey(object));

    std::vector<std::string> added;
    for (const std::string& path : paths) {
        if (!held.insert(NoCaseKey(path)).second)
            continue;
        objects.push_back(path);
        added.push_back(path);
    }
    if (!added.empty())
        SetModified(true);
    return added;
}

int CatalogStore::RemoveObjects(int index, const std::vector<std::string>& paths)
{
    CheckLoaded(index);
    std::vector<std::string>& objects = catalogs_[CheckedIndex(index)].Objects;
    // Where each key occurs, in order, and how many of those places are taken: a path
    // removes the first occurrence still there without walking the list, so removing many
    // paths from a large catalog stays linear.
    struct Occurrences {
        std::vector<std::size_t> at;
        std::size_t taken = 0;
    };
    std::unordered_map<std::string, Occurrences> occurrences;
    occurrences.reserve(objects.size());
    for (std::size_t i = 0; i < objects.size(); ++i)
        occurrences[NoCaseKey(objects[i])].at.push_back(i);

    std::vector<bool> removed(objects.size(), false);
    int count = 0;
    for (const std::string& path : paths) {
        const auto found = occurrences.find(NoCaseKey(path));
        if (found == occurrences.end() || found->second.taken == found->second.at.size())
            continue;
        removed[found->second.at[found->second.taken++]] = true;
        ++count;
    }
    if (count == 0)
        return 0;
    // No string is moved onto itself: a self-moved string is left empty.
    std::size_t kept = 0;
    for (std::size_t i = 0; i < objects.size(); ++i) {
        if (removed[i])
            continue;
        if (kept != i)
            objects[kept] = std::move(objects[i]);
        ++kept;
    }
    objects.resize(kept);
    SetModified(true);
    return count;
}

void CatalogStore::SaveCommand(Prompter& prompter)
{
    if (catalogs_.empty())
        return;
    const int answer = prompter.ShowMessageDlg(Cp932Text("カタログリストを保存しますか？"),
                                               MsgDlgType::mtConfirmation, mbYesNo, 0);
    // The close box of this Yes/No question means No.
    if (answer == mrYes)
        SaveCheckingDisk(prompter);
}

bool CatalogStore::CloseQuery(Prompter& prompter)
{
    if (!modified_)
        return true;
    const int answer = prompter.ShowMessageDlg(
        Cp932Text("カタログリストは更新されています。保存しますか？"), MsgDlgType::mtConfirmation,
        mbYesNoCancel, 0);
    if (answer == mrNo)
        return true;
    if (answer != mrYes)
        return false;
    return SaveCheckingDisk(prompter);
}
