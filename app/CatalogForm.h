#pragma once

#include "app/CatalogFormServices.h"
#include "catalog/CatalogEdit.h"
#include "catalog/ObjectList.h"
#include "support/ui/FormBoxes.h"

#include <QMainWindow>

#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

class Prompter;
class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QMimeData;
class QSplitter;
class QTableView;
class QTreeWidget;
class QTreeWidgetItem;
class QUndoStack;
class CatalogStore;
class FilterBox;
class JournalKeeper;
class ListSizes;
class SizeIndex;
class ObjectListModel;

// The main window: the catalogs of the list on the left, the objects of the selected
// catalog on the right, and the commands on catalogs and objects as actions reached from
// the menu, the toolbar, two context menus and the keyboard. The window shows the catalog
// store of its folder and is the only place that changes it: each command gives the store
// one edit (Perform), which becomes one step of the undo history, and the views follow the
// store's Edited signal, for a command, an undo or a redo alike.
class TCatalogForm : public QMainWindow {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TCatalogForm)

public:
    // folder: the program folder (code page 932) holding the control file and catalogs.
    explicit TCatalogForm(const std::string& folder, CatalogFormServices services = {},
                          QWidget* parent = nullptr);
    ~TCatalogForm() override;

    CatalogStore& Store() const { return *store_; }
    ObjectListModel& ObjectList() const { return *model_; }
    QUndoStack& History() const { return *history_; }
    const SizeIndex& Sizes() const { return *sizes_; }
    JournalKeeper& Journal() const { return *journal_; }

    // The index of the catalog the commands act on: the one marked by a right click while
    // its context menu is open, else the selected one; -1 when there is none.
    int CurrentCatalogNode() const;
    // The catalog a command is about to change: CurrentCatalogNode once the store has made
    // sure it was read (CheckLoaded throws the reason it was not); none without a catalog.
    std::optional<int> CatalogToChange() const;
    void UpdateActions();
    void UpdateObjectCount();
    // Shows the objects of the catalog at this index, sorted as the list was last sorted.
    void FillObjectList(int catalog);
    // The column click: the object list's SortByColumn, with the hourglass; the header's
    // sort mark follows.
    void SortObjectList(int column);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private:
    void CreateActions();
    // Adds a menu to the menu bar; its menu action gets the object name and is kept in
    // menuAction.
    QMenu* AddMenu(const QString& caption, const QString& name, QAction*& menuAction);
    void CreateMenus();
    void CreateToolBar();
    void CreateViews();
    void CreateStatusBar();
    void BindListKeys();
    // Names and descriptions that a screen reader reads for the controls.
    void NameControls();
    QAction* MakeAction(const char* name, const QString& caption, const QString& hint = {},
                        const char* glyph = nullptr);
    void Bind(QAction* action, void (TCatalogForm::*command)());

    // Applies edit through the store and keeps it as one step of the undo history, named
    // text; an edit the store refuses leaves both as they were.
    void Perform(CatalogEdit edit, const QString& text);
    void UndoExecute();
    void RedoExecute();
    // The undo and redo captions and hints name the step they will take.
    void UpdateHistoryActions();

    // What the window does when the store changes: the views follow each edit, and show
    // what it changed, the catalog selected and the objects that entered selected.
    void RebuildTree();
    void StoreEdited(const CatalogEdit& edit);
    void CatalogInserted(int index);
    void CatalogRemoved(int index);
    void CatalogRenamed(int index);
    void ObjectsInserted(const InsertObjects& edit);
    void ObjectsErased(const EraseObjects& edit);
    void ModifiedChanged(bool modified);

    void TreeViewChange(QTreeWidgetItem* node);
    void TreeViewContextPopup(const QPoint& pos);
    void ObjectTableContextPopup(const QPoint& pos);
    void MenuOpened();
    void MenuClosed();
    void FitCountPanel();
    // The header's sort mark shows the object list's sort column and order.
    void ShowSortIndicator();
    // The filter box's text changed: the list shows what it lets through.
    void FilterChanged(const QString& text);
    // Tells in the status bar how many rows just added the filter hides.
    void ShowHiddenAdded(int hidden);
    // The sizes of the shown catalog: counted in the background, the object list and the
    // status bar told as counts arrive.
    void CreateSizes();
    const ::ObjectList& ShownObjects() const;
    // The index counts the objects of the shown catalog and drops the walks of any other.
    void FollowSizes();
    void TakeCounts(const std::unordered_set<std::string>& paths);
    void ShowSizeTotal();
    void ShowSizeHint();
    // The journal of unsaved changes (app/CatalogFormJournal.cpp).
    void CreateJournal();
    void JournalFailed(const std::string& message);
    void OfferJournalBack();
    void FormShow();
    void FormDestroy();
    void SelectCatalog(int index);

    // The commands, each the execute handler of its action.
    void ActF_CatNewExecute();
    void ActF_CatOpenExecute();
    void ActF_CatUpdateExecute();
    void ActF_CatDeleteExecute();
    void ActF_CatRenameExecute();
    void ActF_CatSaveExecute();
    void ActF_CloseExecute();
    void ActH_TopicExecute();
    void ActH_AboutExecute();
    void ActI_ItemFileAddExecute();
    void ActI_ItemDeleteExecute();
    // Adds to the catalog at this index the folders, then the files of a choice that still
    // exist as such; text names the step in the undo history. Gives the text that names
    // what was not added and why, or "".
    QString AddChosenObjects(int catalog, const ObjectChoice& choice, const QString& text);
    // Files and folders dropped onto the object list from a file manager, or pasted.
    void DropObjects(const QMimeData& data, const QString& text);
    // Ctrl+V on the object list: the paths on the clipboard join the catalog as a drop.
    void ActE_PasteExecute();
    // Appends existing catalog files to the list and tells which it could not.
    void OpenCatalogFiles(const std::vector<std::string>& files);
    // Runs the catalog wizard over the window on data; Accepted when the user finished it.
    QDialog::DialogCode RunWizard(TCatalogParam& data);

    std::string CatalogName(int index) const;
    QTreeWidgetItem* MakeNode(int index) const;

    CatalogFormServices services_;
    FormBoxes prompter_;
    CatalogStore* store_ = nullptr;
    ObjectListModel* model_ = nullptr;
    QUndoStack* history_ = nullptr;

    QAction* ActF = nullptr;
    QAction* ActF_CatNew = nullptr;
    QAction* ActF_CatUpdate = nullptr;
    QAction* ActF_CatOpen = nullptr;
    QAction* ActF_CatDelete = nullptr;
    QAction* ActF_CatRename = nullptr;
    QAction* ActF_CatSave = nullptr;
    QAction* ActF_CatSaveAs = nullptr;
    QAction* ActF_Close = nullptr;
    QAction* ActF_Property = nullptr;
    QAction* ActF_CatExecute = nullptr;
    QAction* ActI = nullptr;
    QAction* ActI_ItemFileAdd = nullptr;
    QAction* ActI_ItemDelete = nullptr;
    QAction* ActE = nullptr;
    QAction* ActE_Undo = nullptr;
    QAction* ActE_Redo = nullptr;
    QAction* ActE_Copy = nullptr;
    QAction* ActE_Paste = nullptr;
    QAction* ActE_Cut = nullptr;
    QAction* ActH = nullptr;
    QAction* ActH_Topic = nullptr;
    QAction* ActH_About = nullptr;

    QMenu* PopTree = nullptr;
    QMenu* PopView = nullptr;
    QSplitter* splitter_ = nullptr;
    QWidget* PnlTree = nullptr;
    QLabel* PnlTreeTop = nullptr;
    QTreeWidget* TreeView = nullptr;
    QTableView* ObjectTable = nullptr;
    FilterBox* filterBox_ = nullptr;
    QLabel* LblKind = nullptr;
    QComboBox* CmbKind = nullptr;
    QLabel* countPanel_ = nullptr;
    QLabel* sparePanel_ = nullptr;
    QLabel* hintPanel_ = nullptr;
    // How many objects just added the filter hides, told in the hint panel.
    QString filterNote_;
    SizeIndex* sizes_ = nullptr;
    ListSizes* listSizes_ = nullptr;
    JournalKeeper* journal_ = nullptr;
    bool journalFailureTold_ = false;

    int rightClickedCatalog_ = -1;
    bool shown_ = false;
    bool menuHints_ = false;
    int openMenus_ = 0;
    QString helpFile_;
};
