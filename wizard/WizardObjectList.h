#pragma once

#include "chooser/ObjectChooser.h"
#include "support/core/SizeIndex.h"
#include "support/ui/FormBoxes.h"

#include <QWidget>

#include <memory>
#include <string>
#include <vector>

class FilterBox;
class ListSizes;
class QAction;
class QLabel;
class QMenu;
class QMimeData;
class QPushButton;
class QTableView;
class WizardObjectModel;

// What the wizard's object list asks of others; tests put answers in their place.
struct WizardObjectListServices {
    // Where questions and notices go, which must outlive the list; null for boxes of the
    // list's own.
    Prompter* prompter = nullptr;
    ObjectChooserRunner runObjectChooser = RunObjectChooser;
    // Where the objects' sizes are counted: the index of the window that runs the wizard,
    // which must outlive the list, so that what it counted already costs no new walk; null
    // for an index of the list's own, made with sizeOptions.
    SizeIndex* sizes = nullptr;
    SizeIndexOptions sizeOptions {};
};

// Page 2 of the catalog wizard without its heading: the object list with its three buttons
// and the filter box above, its status bar below, the commands add, delete, delete all and
// paste, and the context menu. Files and folders dropped from a file manager are added like
// pasted ones. The commands act on the rows the filter shows; the catalog gets every row.
// Sizes are counted in the background and followed as the files change: a folder's size
// column shows everything below it once counted, the status bar the total of every row (or
// of the selected rows) with nested objects counted once, or the progress while counting.
class WizardObjectList : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(WizardObjectList)

public:
    explicit WizardObjectList(WizardObjectListServices services, QWidget* parent = nullptr);
    ~WizardObjectList() override;

    WizardObjectModel& Model() const { return *model_; }
    QTableView* Table() const { return table_; }
    FilterBox* Filter() const { return filterBox_; }
    // Every object of the list, those the filter hides included.
    int RowCount() const;
    const ListSizes& Sizes() const { return *sizes_; }
    // Ends the walks of the list's objects at once (when the wizard closes); the sizes are no
    // longer followed.
    void StopSizes();

    // Adds one object with the list's rule (exact duplicates are skipped) and follows it
    // with the status texts.
    void AddWizardRow(const std::string& path);
    // Adds many objects at once, in order, with the hourglass shown and the list's drawing
    // suspended.
    void AddWizardRows(const std::vector<std::string>& paths);
    void SortByColumn(int column);
    void UpdateListStatus();

    // The commands.
    void ActAddFile_FileExecute();
    void ActAddFile_DelExecute();
    void ActAddFile_AllDelExecute();
    void ActAddFile_PasteExecute();

    // Adds the paths a paste or a drop offers and tells what it left out.
    void AddPastedObjects(const QMimeData& data);

private:
    void CreateActions();
    void CreateLayout();
    void FitColumns();
    // Adds the objects a choice or a paste offers; gives the text that names what was not
    // added and why, or "".
    QString AddOffered(std::vector<std::string> paths);
    std::vector<int> SelectedRows() const;
    void FilterChanged(const QString& text);
    // Tells in the status bar how many of the rows just added the filter hides: added rows
    // came while shownBefore rows were shown.
    void ShowHiddenAdded(int added, int shownBefore);
    // The objects' sizes are counted and followed for the rows the list holds now.
    void FollowSizes();
    // The size panel (the total of every row, or of the selected rows) and the hint.
    void ShowSizeStatus();

    WizardObjectListServices services_;
    FormBoxes prompter_;
    WizardObjectModel* model_ = nullptr;
    std::unique_ptr<SizeIndex> ownSizes_;
    std::unique_ptr<ListSizes> sizes_;
    // How many rows just added the filter hides, told in the note panel.
    QString hiddenNote_;
    QTableView* table_ = nullptr;
    FilterBox* filterBox_ = nullptr;
    QLabel* countPanel_ = nullptr;
    QLabel* sizePanel_ = nullptr;
    QLabel* notePanel_ = nullptr;
    QAction* actAdd_ = nullptr;
    QAction* actDelete_ = nullptr;
    QAction* actDeleteAll_ = nullptr;
    QAction* actPaste_ = nullptr;
    QMenu* popup_ = nullptr;
};
