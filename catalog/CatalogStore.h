#pragma once

#include "catalog/CatalogEntry.h"
#include "catalog/CatalogMessages.h"
#include "catalog/CatalogParam.h"
#include "catalog/DiskRecord.h"
#include "catalog/FolderLock.h"

#include <QObject>

#include <string>
#include <vector>

class Prompter;

// The extension every catalog file has.
inline constexpr char CatalogExtension[] = ".VrCat";

// The user's list of catalogs: the control file "VrCatCtl.ini" in one folder, the catalog
// files it names, the ordered list in memory and whether that list holds unsaved changes.
// Files change only in SaveCatalogList, which replaces each file whole (a temporary file in
// the same folder, flushed, then renamed over the old one): a failed save leaves every file
// either wholly old or wholly new and the list still modified. A save writes only the files
// whose bytes on disk differ from what it would write, and holds the folder's lock while it
// writes.
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
    // saves. Does not touch Modified; emits ListReset.
    void LoadCatalogList(int kind = 0);

    // Writes every loaded catalog whose file does not already hold its text, then the control
    // file with section Compress naming every catalog of the list in list order, each by its
    // path inside the folder as the control file gave it (every other section kept byte for
    // byte; a control file read from UTF-8 or UTF-16 is written in code page 932). With an empty list only the section is erased and Modified
    // stays as it was; otherwise Modified becomes false. Throws TessnaError on failure, with
    // nothing half written and Modified unchanged.
    void SaveCatalogList();

    // The folder's lock, for a caller that reads, changes and saves as one step; the store's
    // own saves take it too, inside such a hold or alone. Throws TessnaError when another
    // process keeps it too long.
    [[nodiscard]] FolderLock::Holding HoldFolder() { return lock_.Hold(); }

    // Appends the catalog the wizard made: its title from the Common lines, the file
    // "<folder><title>.VrCat", a copy of its object lines. Sets Modified and emits
    // CatalogAppended. Returns the new index.
    int AddCatalogFromWizard(const TCatalogParam& data);

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
    // Throws TessnaError naming the catalog and why it could not be read, unless it is loaded.
    void CheckLoaded(int index) const;
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

    // The list edits of the main window's commands. Each sets Modified; each but
    // RemoveCatalog refuses a catalog that is not loaded (CheckLoaded).
    // Removes the catalog from the list; its file stays on disk. Emits CatalogRemoved.
    void RemoveCatalog(int index);
    // The file becomes "<its folder><newName>.VrCat"; the title stays. Emits CatalogChanged.
    void RenameCatalog(int index, const std::string& newName);
    // Replaces the objects as a whole. Emits CatalogChanged.
    void ReplaceObjects(int index, std::vector<std::string> objects);

    // Appends each path the catalog does not yet hold, comparing without regard to letter
    // case; returns the paths appended, in order. Sets Modified when one was appended. No
    // signal: the caller adds the rows it is given back.
    std::vector<std::string> AddObjects(int index, const std::vector<std::string>& paths);
    // Removes the first occurrence of each path, comparing without regard to letter case;
    // returns how many were removed. Sets Modified when one was removed. No signal.
    int RemoveObjects(int index, const std::vector<std::string>& paths);

    // The Save command: with an empty list nothing; otherwise asks "カタログリストを保存しますか？"
    // (Yes, No) and saves only on Yes (SaveCheckingDisk). Errors of the save propagate.
    void SaveCommand(Prompter& prompter);
    // The question before the main window closes. Returns whether it may close: true when
    // nothing is modified, on No, and on Yes after a save; false on Cancel (or its close box)
    // and when the save was declined. A failed save throws and so keeps the window open.
    bool CloseQuery(Prompter& prompter);
    // Saves, but first, when a file the save would overwrite changed on disk since the store
    // read or wrote it (another program saved there), asks before overwriting, naming those
    // files, with No as the default. Returns false when the answer was not Yes: then nothing
    // is written and Modified stays.
    bool SaveCheckingDisk(Prompter& prompter);

signals:
    void ModifiedChanged(bool modified);
    // The whole list was replaced (after a load).
    void ListReset();
    void CatalogAppended(int index);
    void CatalogRemoved(int index);
    // The catalog's file name or objects changed as a whole.
    void CatalogChanged(int index);

private:
    // One file a save would leave on disk: its text, whether the file on disk holds something
    // else (then it is written) and whether that changed since the store saw it. A plan
    // leaves out the files that hold their text and are as the store saw them.
    struct SaveStep {
        const TCatalogEntry* catalog;  // null for the control file
        std::string fileName;
        std::string text;
        bool write;
        bool changedOnDisk;
    };

    void ReadCatalogList(int kind);
    std::vector<SaveStep> PlanSave() const;
    void WritePlan(const std::vector<SaveStep>& plan);
    std::size_t CheckedIndex(int index) const;

    std::string folder_;
    std::vector<TCatalogEntry> catalogs_;
    // Why each catalog of the list could not be read; empty for a loaded one.
    std::vector<std::string> unreadable_;
    // Each catalog's value in the control file, written back as it was read: its path inside
    // the folder, a subfolder part included.
    std::vector<std::string> listed_;
    DiskRecord disk_;
    FolderLock lock_;
    bool modified_ = false;
};
