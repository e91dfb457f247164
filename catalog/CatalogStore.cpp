#include "catalog/CatalogStore.h"

#include "catalog/ByteOrderMark.h"
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
#include "support/core/ShownName.h"
#include "support/core/TessnaError.h"

#include <algorithm>
#include <stdexcept>
#include <unordered_set>

void CatalogStore::RemoveKilledSaves(const std::vector<std::string>& files, std::vector<std::string>& cleaned)
{
    for (std::string& hostFolder : TemporaryFoldersOf(files)) {
        if (std::find(cleaned.begin(), cleaned.end(), hostFolder) != cleaned.end())
            continue;
        RemoveDeadTemporaries(hostFolder);
        cleaned.push_back(std::move(hostFolder));
    }
}

namespace {

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
    listedOnDisk_.clear();
    writtenAtLoad_.clear();
    disk_.Clear();
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
    // Only a holder of the folder's lock may take a file for one a killed save left, and a
    // save killed while it wrote a file in place must be finished before the file is read.
    // A load takes the lock when it is free; when another holds it, that holder cleans up.
    const auto hold = lock_.IsHeld() ? std::nullopt : lock_.HoldIfFree();
    const bool cleans = lock_.IsHeld();
    std::vector<std::string> cleaned;
    if (cleans)
        RemoveKilledSaves({controlFile}, cleaned);
    disk_.Remember(controlFile, {});
    if (!IsExistingFile(controlFile))
        return;
    const DiskRecord::Fingerprint facts = DiskRecord::Look(controlFile);
    auto control = ReadFileBytes(controlFile);
    if (!control)
        throw TessnaError(CannotOpenFileMessage(controlFile));
    disk_.Remember(controlFile, disk_.Of(facts, *control));

    listedOnDisk_ = ListedFiles(FileTextOf(controlFile, *std::move(control)), kind == 1 ? ExtractSection : CompressSection,
                                &writtenAtLoad_);
    if (cleans)
        RemoveKilledSaves(listedOnDisk_, cleaned);
    FileBytes bytes;
    for (const std::string& path : listedOnDisk_) {
        // A value the reader cut names another file than the one meant: never opened.
        if (writtenAtLoad_.at(path).cut) {
            catalogs_.push_back({path, {}, {}});
            unreadable_.push_back(NotCatalogReason::ValueTooLong());
            continue;
        }
        if (auto listed = ReadListed(path, bytes)) {
            catalogs_.push_back(std::move(listed->catalog));
            unreadable_.push_back(std::move(listed->unreadableReason));
        }
    }
}

std::optional<ListedCatalog> CatalogStore::ReadListed(const std::string& path, FileBytes& bytes)
{
    // A value that leads out of the folder by its own text is never opened, so never written.
    if (LeadsOutOfFolder(std::string_view(path).substr(folder_.size())))
        return ListedCatalog{{path, {}, {}}, NotCatalogReason::OutsideFolder(), path, false};
    try {
        const DiskRecord::Fingerprint facts = DiskRecord::Look(path);
        auto entry = ReadCatalog(path, bytes);
        if (!entry)
            return std::nullopt;
        disk_.Remember(path, disk_.Of(facts, bytes.text));
        return ListedCatalog{std::move(*entry), {}, path, false};
    } catch (const CannotReadError& error) {
        return ListedCatalog{{path, {}, {}}, error.Reason(), path, false};
    }
}

std::vector<std::string> CatalogStore::ListedFiles(std::string_view control, const char* section,
                                                   WrittenValues* written) const
{
    std::vector<std::string> files;
    std::unordered_set<std::string> seen;
    for (IniProfile::SectionKey& key : IniProfile(control).ReadKeys(section)) {
        std::string path = folder_ + key.value;
        if (key.value.empty() || !seen.insert(path).second)
            continue;
        if (written)
            written->emplace(path, WrittenValue{std::move(key.written), key.cut});
        files.push_back(std::move(path));
    }
    return files;
}

std::string CatalogStore::ListedValue(const TCatalogEntry& catalog, const std::string& unreadableReason,
                                      const WrittenValues& writtenNow) const
{
    // A value read and not changed goes back as it was written: quotes that keep blanks, a
    // length the reader cuts.
    for (const WrittenValues* written : {&writtenNow, &writtenAtLoad_}) {
        if (const auto found = written->find(catalog.FileName); found != written->end())
            return found->second.text;
    }
    // A catalog's file name is the folder and its value; only a name made in this program
    // from a title with a delimiter could lead out, and the file name alone is its value.
    const std::string value = catalog.FileName.starts_with(folder_) ? catalog.FileName.substr(folder_.size())
                                                                     : ExtractFileName(catalog.FileName);
    if (!unreadableReason.empty() || !LeadsOutOfFolder(value))
        return value;
    return ExtractFileName(catalog.FileName);
}

int CatalogStore::AddCatalogFromWizard(const TCatalogParam& data)
{
    InsertCatalog edit = NewCatalogEdit(*this, data);
    const int index = edit.index;
    Apply(std::move(edit));
    return index;
}

std::variant<InsertCatalog, std::string> CatalogStore::OpenCatalogEdit(const std::string& path)
{
    const std::string name = ExtractFileName(path);
    const std::string quoted = Cp932Text("「") + ShownName(path) + Cp932Text("」");
    if (ExtractFilePath(path) != folder_)
        return Cp932Text("カタログファイル") + quoted
            + Cp932Text("はプログラムフォルダにないため開けません。\nカタログリストに加えられるのは ") + folder_
            + Cp932Text(" にあるカタログファイルだけです。");
    if (!ListedFileNameReadsBack(name))
        return Cp932Text("カタログファイル") + quoted
            + Cp932Text("の名前はコントロールファイルに保存すると元のとおりに読み戻せないため開けません。");
    const std::string key = NoCaseKey(DisplayedName(path));
    if (std::any_of(catalogs_.begin(), catalogs_.end(),
                    [&](const TCatalogEntry& entry) { return NoCaseKey(DisplayedName(entry.FileName)) == key; }))
        return Cp932Text("カタログ「") + DisplayedName(path)
            + Cp932Text("」は既にカタログリストにあります（大文字と小文字は区別しません）。");
    FileBytes bytes;
    auto listed = ReadListed(path, bytes);
    if (!listed)
        return Cp932Text("ファイル") + quoted + Cp932Text("はないか、空か、カタログファイルではありません。");
    return InsertCatalog{Count(), std::move(*listed)};
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

std::size_t CatalogStore::CheckLoaded(int index) const
{
    const std::string& reason = UnreadableReason(index);
    if (!reason.empty())
        throw TessnaError(NotLoadedMessage(DisplayedName(Catalog(index).FileName), reason));
    return static_cast<std::size_t>(index);
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
    Apply(SetObjects{index, Catalog(index).Objects.ToStrings(), std::move(objects)});
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
