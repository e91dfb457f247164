#pragma once

#include "catalog/CatalogEdit.h"
#include "catalog/CatalogEntry.h"
#include "catalog/CatalogMessages.h"
#include "catalog/CatalogParam.h"
#include "catalog/DiskRecord.h"
#include "catalog/FolderLock.h"

#include <QObject>

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <variant>
#include <string_view>
#include <vector>

class Prompter;
struct FileBytes;

// The extension every catalog file has.
inline constexpr char CatalogExtension[] = ".VrCat";

// The user's list of catalogs: the control file "VrCatCtl.ini" in one folder, the catalog
// files it names, the ordered list in memory and whether that list holds unsaved changes.
//
// Every change of the list is a CatalogEdit (catalog/CatalogEdit.h) given to Apply, which
// applies it whole or not at all, counts it in Revision, marks the catalog it touches as
// edited, and announces it through the one signal Edited, carrying the edit as applied.
// Views, the undo history, the crash journal, the size and filter indexes follow Edited
// and never read the list behind its back; the rules that turn a request into an edit are in
// catalog/CatalogEditRules.h.
//
// Files change only in a save, which replaces each file whole (a temporary file in the same
// folder, flushed, then renamed over the old one): a failed save leaves every file either
// wholly old or wholly new and the list still modified. A save writes only what changed since
// the list was loaded or last saved: the catalogs edited since (when their text differs from
// what their file held), and the control file when the list itself changed. It holds the
// folder's lock, reads the control file and every file it would write as they are now, and
// keeps what another program saved there meanwhile to catalogs and list entries this list did
// not change; only a catalog or list entry changed on both sides is a conflict (see
// SaveCheckingDisk).
//
// A listed catalog whose file exists but cannot be read stays in the list as an entry that is
// not loaded: it keeps its place in the control file, its file is never written, and every
// edit of it is refused; only RemoveCatalog takes it out of the list.
//
// Indexes are positions in the list, 0 first; an index out of range is a fault of the caller.
class CatalogStore : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CatalogStore)

public:
    // folder holds the control file and the catalogs the store creates; a delimiter is
    // added when it has none.
    explicit CatalogStore(std::string folder, QObject* parent = nullptr);
    ~CatalogStore() override;

    // The folder with its trailing delimiter.
    const std::string& ProgramFolder() const { return folder_; }
    // Full path of "VrCatCtl.ini" in the folder.
    std::string GetCatalogControlFile() const;

    // Replaces the list with the catalogs named in the control file's section Compress
    // (kind 0) or Extract (kind 1), in the order of their keys. A value is the catalog's path
    // inside the folder, subfolders included. Only a value with no directory entry at all
    // behind it is dropped, silently, and a file listed twice is taken once. Anything else
    // that is not read whole as a catalog (ReadCatalog: a link whose target is missing, a
    // folder, a file that is no catalog or cannot be read, or whose title or objects the
    // reader would cut) and a value that leads out of the folder by its own text are listed
    // as not loaded (UnreadableCatalogs), with the reason, and the load goes on. A control
    // file that cannot be read, or that starts with a byte-order mark and holds a character
    // without a code page 932 form, throws TessnaError. Removes the temporary files of killed
    // saves (and finishes their writes in place) within a HoldFolder, or when the folder's
    // lock is free, before anything is read (a save does so too). Does not touch Modified; emits ListReset.
    void LoadCatalogList(int kind = 0);

    // Saves without asking: a conflict with another writer is overwritten (see
    // SaveCheckingDisk for what is written and kept). Modified becomes false. Throws
    // TessnaError on failure, with nothing half written and Modified unchanged.
    void SaveCatalogList();

    // The folder's lock, for a caller that reads, changes and saves as one step; the store's
    // own saves take it too, inside such a hold or alone. Throws TessnaError when another
    // process keeps it too long.
    [[nodiscard]] FolderLock::Holding HoldFolder() { return lock_.Hold(); }

    // Applies edit whole or not at all and gives back the edit that reverses it. Refuses, with
    // TessnaError, an edit of the title, file name or objects of a catalog that is not loaded
    // (CheckLoaded); an edit that does not match the list (an index or position out of range,
    // a catalog or object that is not what the edit says leaves) is a fault of the caller and
    // throws std::logic_error. Bumps Revision, marks the catalog edited, emits Edited with the
    // edit as applied, then sets Modified.
    CatalogEdit Apply(CatalogEdit edit);

    // Counts the edits applied (and the loads and saves that replaced the list), so that a
    // follower can tell whether it has seen the list as it is.
    std::uint64_t Revision() const { return revision_; }
    // Whether an edit touched the catalog since the list was loaded or saved. An edit undone
    // leaves it marked: the save compares its text with its file before writing it.
    bool IsEdited(int index) const { return origins_[CheckedIndex(index)].edited; }
    // The file the catalog was read from or last saved to; empty for a catalog made since.
    const std::string& SavedAs(int index) const { return origins_[CheckedIndex(index)].savedAs; }
    // Whether the list itself (which catalog files, in which order) differs from the list as
    // loaded or last saved; then a save writes the control file.
    bool ListChanged() const;
    // The catalog file names of the list as loaded or last saved, in order.
    const std::vector<std::string>& SavedList() const { return savedList_; }
    // Every catalog file the control file's section listed when the list was loaded or last
    // saved, those not loaded (a missing one's among them) too.
    const std::vector<std::string>& ListedOnDisk() const { return listedOnDisk_; }
    // The files the store read or wrote, with what it saw in them.
    const DiskRecord& Disk() const { return disk_; }
    // Whether the fingerprints of files take SHA-256 digests (see DiskRecord): the crash
    // journal needs them; a tool that holds the folder's lock from its load to its save
    // does not, and spares a pass over every byte it reads and writes. Set before a load.
    void KeepDigests(bool keep) { disk_.KeepDigests(keep); }
    // Takes the base of a list an earlier run left unsaved (its journal): the list as that run
    // loaded or last saved it, the control file's entries then, and what it saw in each file,
    // in place of what the load saw. A save then tells that run's changes from what another
    // program wrote since, and asks before overwriting a file changed on both sides. For a
    // file that seen does not name, what the load saw stays. The list itself is not touched:
    // the recovered list comes in as an edit (catalog/StoreJournal.h).
    void TakeBase(std::vector<std::string> savedList, std::vector<std::string> listedOnDisk, const DiskRecord& seen);
    // The catalog at index with everything the store keeps of it.
    ListedCatalog Listed(int index) const;

    // Appends the catalog the wizard made: its title from the Common lines, the file
    // "<folder><title>.VrCat", a copy of its object lines (NewCatalogEdit). Returns the new
    // index.
    int AddCatalogFromWizard(const TCatalogParam& data);

    // The edit that appends the catalog file at path, an existing file of the folder, as the
    // load reads it: a file that cannot be read is listed as not loaded. Or the refusal that
    // names the file: a file outside the folder (the control file names files of the folder
    // only), a file whose name the control file cannot hold, a file whose displayed name the
    // list holds in any letter case, and a file that is missing, empty or not text.
    std::variant<InsertCatalog, std::string> OpenCatalogEdit(const std::string& path);

    bool Modified() const { return modified_; }
    // Emits ModifiedChanged when the value changes.
    void SetModified(bool value);

    int Count() const { return static_cast<int>(catalogs_.size()); }
    bool IsEmpty() const { return catalogs_.empty(); }
    const TCatalogEntry& Catalog(int index) const;
    const std::vector<TCatalogEntry>& Catalogs() const { return catalogs_; }

    // Whether the catalog's file was read; an entry that is not loaded has no title and no
    // objects in memory.
    bool IsLoaded(int index) const { return unreadable_[CheckedIndex(index)].empty(); }
    // Why the catalog's file could not be read; empty for a loaded one.
    const std::string& UnreadableReason(int index) const { return unreadable_[CheckedIndex(index)]; }
    // Throws TessnaError naming the catalog and why it could not be read, unless it is loaded;
    // gives the index as a position in the list.
    std::size_t CheckLoaded(int index) const;
    // The catalogs of the list that could not be read, in list order.
    std::vector<UnreadableCatalog> UnreadableCatalogs() const;

    // Whether a catalog with this file name is already listed. File names compare as the
    // host file system compares them (byte for byte on Linux).
    bool IsListed(const std::string& fileName) const;
    // The file a new catalog of this title gets: "<folder><title>.VrCat".
    std::string NewCatalogFileName(const std::string& title) const;
    // The file a catalog of this name has in folder: "<folder><name>.VrCat", with a delimiter
    // put after a folder that has none.
    static std::string CatalogFileNameIn(const std::string& folder, const std::string& name);
    // The file the catalog at index gets from RenameCatalog(index, newName).
    std::string RenamedFileName(int index, const std::string& newName) const;
    // The index of the first catalog listed under this displayed name, or -1.
    int IndexOfDisplayedName(const std::string& name) const;

    // Shorthands that build the edit by the rules of catalog/CatalogEditRules.h and Apply it.
    // Removes the catalog from the list; its file stays on disk.
    void RemoveCatalog(int index);
    // The file becomes "<its folder><newName>.VrCat"; the title stays.
    void RenameCatalog(int index, const std::string& newName);
    // Replaces the objects as a whole.
    void ReplaceObjects(int index, std::vector<std::string> objects);
    // Appends each path the catalog does not yet hold, comparing exactly (object paths are
    // file names of a case-sensitive file system); returns the paths appended, in order.
    std::vector<std::string> AddObjects(int index, const std::vector<std::string>& paths);
    // Removes the first occurrence of each path, comparing exactly; returns how many were
    // removed.
    int RemoveObjects(int index, const std::vector<std::string>& paths);

    // The Save command: asks "カタログリストを保存しますか？" (Yes, No), also for an empty list,
    // and saves only on Yes (SaveCheckingDisk). Errors of the save propagate.
    void SaveCommand(Prompter& prompter);
    // The question before the main window closes. Returns whether it may close: true when
    // nothing is modified, on No, and on Yes after a save; false on Cancel (or its close box)
    // and when the save was declined. A failed save throws and so keeps the window open.
    bool CloseQuery(Prompter& prompter);
    // Saves what changed since the list was loaded or saved, under the folder's lock, keeping
    // what another program saved meanwhile: a catalog it changed that this list did not is
    // read again, a list entry it added is added, one it removed that this list did not
    // change is removed, and the list in memory shows the result afterwards (one ReplaceList
    // edit, then OtherWriterMerged). When both changed the same catalog or the same list entry,
    // asks before overwriting, naming those files, with No as the default; Yes overwrites
    // exactly what the question was about: a file that changed again while it was open is
    // asked about again. Returns false when the answer was not Yes: then nothing is written
    // and Modified stays.
    bool SaveCheckingDisk(Prompter& prompter);

signals:
    void ModifiedChanged(bool modified);
    // The whole list was replaced by a load; what was applied before is gone.
    void ListReset();
    // One edit was applied, as given to Apply; the list already holds its result.
    void Edited(const CatalogEdit& edit);
    // A save took in what another program saved: edits applied before it no longer match the
    // list by position, so an undo history of them must be dropped.
    void OtherWriterMerged();
    // A save wrote the list: no catalog is edited and the list is unchanged since.
    void Saved();

private:
    struct Origin {
        std::string savedAs;
        bool edited = false;
    };
    struct SavePlan;
    struct Conflict;

    void ReadCatalogList(int kind);
    // Reads the catalog file at path as the load lists it: loaded, or not loaded with the
    // reason (ReadCatalog's, or a path that leads out of the folder); nothing for a value with
    // no directory entry behind it.
    std::optional<ListedCatalog> ReadListed(const std::string& path, FileBytes& bytes);
    // Finishes or removes what killed saves left wherever saves of these files (code page
    // 932) write, the folders in cleaned excepted, and adds those folders to cleaned. Only a
    // holder of the folder's lock may call it.
    static void RemoveKilledSaves(const std::vector<std::string>& files, std::vector<std::string>& cleaned);
    // A list value as the control file holds it, and whether the reader cuts it.
    struct WrittenValue {
        std::string text;
        bool cut = false;
    };
    using WrittenValues = std::unordered_map<std::string, WrittenValue>;  // by catalog file
    // The catalog files a control file's section lists, in order, each once; control is the
    // file's text in code page 932 (FileTextOf). Adds each value as written to written, when
    // given.
    std::vector<std::string> ListedFiles(std::string_view control, const char* section,
                                         WrittenValues* written = nullptr) const;
    // The value the control file lists a catalog under: byte for byte as the control file
    // (now, or at the load) holds it for the catalog's file, quotes and length included;
    // otherwise its path inside the folder, a subfolder part included (kept after a rename);
    // a catalog made since is listed by its file name.
    std::string ListedValue(const TCatalogEntry& catalog, const std::string& unreadableReason,
                            const WrittenValues& writtenNow) const;
    SavePlan PlanSave() const;
    void WritePlan(SavePlan& plan);
    void TakeOtherWriter(SavePlan& plan);
    bool Save(Prompter* prompter);
    std::size_t CheckedIndex(int index) const;
    std::vector<std::string> FileNames() const;
    std::vector<ListedCatalog> ListedCatalogs() const;
    void SetListed(std::vector<ListedCatalog> list);

    void ApplyEdit(InsertCatalog& edit);
    void ApplyEdit(::RemoveCatalog& edit);
    void ApplyEdit(SetFileName& edit);
    void ApplyEdit(SetObjects& edit);
    void ApplyEdit(InsertObjects& edit);
    void ApplyEdit(EraseObjects& edit);
    void ApplyEdit(ReplaceList& edit);

    std::string folder_;
    std::vector<TCatalogEntry> catalogs_;
    // Why each catalog of the list could not be read; empty for a loaded one.
    std::vector<std::string> unreadable_;
    std::vector<Origin> origins_;
    // The catalog files of the list as loaded or saved, and every file the control file's
    // section listed then (also those not loaded, a missing file's among them).
    std::vector<std::string> savedList_;
    std::vector<std::string> listedOnDisk_;
    WrittenValues writtenAtLoad_;
    DiskRecord disk_;
    FolderLock lock_;
    std::uint64_t revision_ = 0;
    bool modified_ = false;
};
