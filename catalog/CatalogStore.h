#pragma once

#include "catalog/CatalogEntry.h"
#include "catalog/CatalogParam.h"

#include <QObject>

#include <string>
#include <vector>

class Prompter;

// The user's list of catalogs: the control file "VrCatCtl.ini" in one folder, the catalog
// files it names, the ordered list in memory and whether that list holds unsaved changes.
// Files change only in SaveCatalogList, which replaces each file whole (a temporary file in
// the same folder, flushed, then renamed over the old one): a failed save leaves every file
// either wholly old or wholly new and the list still modified.
//
// Indexes are positions in the list, 0 first; an index out of range is a fault of the caller.
class TCatalogStore : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TCatalogStore)

public:
    // folder holds the control file and the catalogs the store creates; a delimiter is
    // added when it has none.
    explicit TCatalogStore(std::string folder, QObject* parent = nullptr);
    ~TCatalogStore() override;

    // The folder with its trailing delimiter.
    const std::string& ProgramFolder() const { return folder_; }
    // Full path of "VrCatCtl.ini" in the folder.
    std::string GetCatalogControlFile() const;

    // Replaces the list with the catalogs named in the control file's section Compress
    // (kind 0) or Extract (kind 1), in the order of their keys. Missing, empty and non-text
    // files are dropped silently, and a file listed twice is taken once. A catalog file that
    // exists but cannot be read throws TessnaError ("ファイル %s は開けません") and leaves the
    // catalogs read before it in the list. Does not touch Modified; emits ListReset.
    void LoadCatalogList(int kind = 0);

    // Writes every catalog file of the list, then the control file with section Compress
    // naming them in list order (every other section kept byte for byte). With an empty list
    // only the section is erased and Modified stays as it was; otherwise Modified becomes
    // false. Throws TessnaError on failure, with nothing half written and Modified unchanged.
    void SaveCatalogList();

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

    // Whether a catalog with this file name is already listed. File names compare as the
    // host file system compares them (byte for byte on Linux).
    bool IsListed(const std::string& fileName) const;
    // The file a new catalog of this title gets: "<folder><title>.VrCat".
    std::string NewCatalogFileName(const std::string& title) const;
    // The file the catalog at index gets from RenameCatalog(index, newName).
    std::string RenamedFileName(int index, const std::string& newName) const;
    // The index of the first catalog listed under this displayed name, or -1.
    int IndexOfDisplayedName(const std::string& name) const;

    // The list edits of the main window's commands. Each sets Modified.
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
    // (Yes, No) and saves unless the answer is No. Errors of the save propagate.
    void SaveCommand(Prompter& prompter);
    // The question before the main window closes. Returns whether it may close: true when
    // nothing is modified, on No, and on Yes after a successful save; false on Cancel. A
    // failed save is reported through prompter as an error box and keeps the window open.
    bool CloseQuery(Prompter& prompter);

signals:
    void ModifiedChanged(bool modified);
    // The whole list was replaced (after a load).
    void ListReset();
    void CatalogAppended(int index);
    void CatalogRemoved(int index);
    // The catalog's file name or objects changed as a whole.
    void CatalogChanged(int index);

private:
    void ReadCatalogList(int kind);
    std::size_t CheckedIndex(int index) const;

    std::string folder_;
    std::vector<TCatalogEntry> catalogs_;
    bool modified_ = false;
};
