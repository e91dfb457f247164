#include "catalog/CatalogStore.h"

#include "catalog/CatalogEditRules.h"
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
#include <unordered_set>

void CatalogStore::RemoveKilledSaves(const std::string& folder)
{
    if (const auto hostFolder = ToHostPath(folder))
        RemoveDeadTemporaries(*hostFolder);
}

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
    listedOnDisk_.clear();
    disk_.Clear();
    RemoveKilledSaves(folder_);
    // The window shows what was read, also when the control file stops the load.
    const auto loaded = [this] {
        origins_.clear();
        for (const TCatalogEntry& entry : catalogs_)
            origins_.push_back({entry.FileName, false});
        savedList_ = FileNames();
        ++revision_;
        emit ListReset();
    };
    try {
        ReadCatalogList(kind);
    } catch (...) {
        loaded();
        throw;
    }
    loaded();
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

    listedOnDisk_ = ListedFiles(*control, kind == 1 ? ExtractSection : CompressSection);
    std::string buffer;
    for (const std::string& path : listedOnDisk_) {
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
    }
}

std::vector<std::string> CatalogStore::ListedFiles(std::string_view control, const char* section) const
{
    std::vector<std::string> files;
    std::unordered_set<std::string> seen;
    for (const auto& [key, value] : IniProfile(control).ReadSection(section)) {
        std::string path = folder_ + value;
        if (!value.empty() && seen.insert(path).second)
            files.push_back(std::move(path));
    }
    return files;
}

int CatalogStore::AddCatalogFromWizard(const TCatalogParam& data)
{
    InsertCatalog edit = NewCatalogEdit(*this, data);
    const int index = edit.index;
    Apply(std::move(edit));
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
    Apply(RemoveCatalogEdit(*this, index));
}

void CatalogStore::RenameCatalog(int index, const std::string& newName)
{
    Apply(RenameCatalogEdit(*this, index, newName));
}

void CatalogStore::ReplaceObjects(int index, std::vector<std::string> objects)
{
    CheckLoaded(index);
    Apply(SetObjects{index, Catalog(index).Objects, std::move(objects)});
}

std::vector<std::string> CatalogStore::AddObjects(int index, const std::vector<std::string>& paths)
{
    auto edit = AddObjectsEdit(*this, index, paths);
    if (!edit)
        return {};
    std::vector<std::string> added = edit->paths;
    Apply(std::move(*edit));
    return added;
}

int CatalogStore::RemoveObjects(int index, const std::vector<std::string>& paths)
{
    auto edit = ErasePathsEdit(*this, index, paths);
    if (!edit)
        return 0;
    const int count = static_cast<int>(edit->positions.size());
    Apply(std::move(*edit));
    return count;
}

void CatalogStore::SaveCommand(Prompter& prompter)
{
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
