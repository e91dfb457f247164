#pragma once

#include "chooser/OpenDialogServices.h"
#include "support/ui/FormBoxes.h"

#include <QDialog>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class FolderModel;
class QAbstractButton;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class QTreeView;
class QVBoxLayout;

// Identifiers of the dialog's standard controls; the chooser addresses them by these.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int stc2 = 1089;   // label of the file type list
inline constexpr int stc3 = 1090;   // label of the file name box
inline constexpr int cmb1 = 1136;   // file type list
inline constexpr int edt1 = 1152;   // file name box

// The open dialog: a folder bar, the file list of the folder shown (details view, sortable,
// files and folders selectable), the file name box, the file type list, OK and Cancel, and
// a template area in which the chooser adds its own controls. Folders are read by a worker
// thread (FolderModel), so the dialog never waits for a huge folder. Symbolic links are
// listed and returned as themselves, never resolved.
//
// OK takes the text of the file name box: a folder path, or one of the shell's parsing
// names, changes the folder; a pattern filters the list; one name, or several in double
// quotes, ends the dialog with their full paths.
class OpenDialogWindow : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(OpenDialogWindow)

public:
    struct Entry {
        QString name;
        bool isFolder = false;
    };
    struct FileType {
        QString caption;
        QStringList patterns;
    };

    // Boxes go to the services' prompter, or to boxes centred over this dialog when it is
    // null.
    OpenDialogWindow(QWidget* parent, const OpenDialogServices& services);
    ~OpenDialogWindow() override;

    Prompter& Boxes() const { return *prompter_; }

    // Set-up before the dialog runs.
    void SetFileTypes(const QList<FileType>& types, int index);
    void SetMultiSelect(bool multiSelect);
    void SetPathMustExist(bool mustExist) { pathMustExist_ = mustExist; }
    void SetFileMustExist(bool mustExist) { fileMustExist_ = mustExist; }
    void SetDefaultExt(const QString& ext) { defaultExt_ = ext; }
    void SetSizing(bool sizing);
    // The folder shown first: folder when it exists, else the folder the last dialog of the
    // run left remembered, else the user's home.
    void StartIn(const QString& folder);

    // The folder shown (host syntax, no trailing "/" except the root); empty while the
    // dialog shows the computer folder, which has no file-system path.
    QString CurrentFolder() const { return folder_; }
    bool ShowFolder(const QString& path);
    void ShowComputer();
    void GoUp();
    // Ctrl+H: shows or hides the hidden entries of every file list for the rest of the run.
    void ToggleHiddenEntries();

    // Presses OK: the text of the file name box is taken as typed input, unless it is the
    // text a selection put there (SetChosenText), which stands for the chosen names whole.
    void PressOk();
    // Puts text into the file name box for the names chosen in the file list, so that OK
    // takes those names as they are, whatever characters they hold, as long as the text
    // is not edited.
    void SetChosenText(const QString& text, const QStringList& names);
    // Shows the folder a text names, without ever ending the dialog; tells the user when the
    // text names no folder.
    void JumpTo(const QString& text);

    // The selected entries of the file list in list order.
    QList<Entry> SelectedEntries() const;
    // The full paths OK ended the dialog with.
    QStringList ResultPaths() const { return resultPaths_; }
    int FileTypeIndex() const;   // 1-based

    QWidget* DlgItem(int id) const { return items_.value(id); }
    QLineEdit* FileNameBox() const { return fileName_; }
    QComboBox* FileTypeList() const { return fileTypes_; }
    QPushButton* OkButton() const { return okButton_; }
    QTreeView* FileList() const { return fileList_; }
    FolderModel* Model() const { return model_; }
    // The file list's index of a path of the folder shown (invalid until it has been read).
    QModelIndex ListIndexOf(const QString& path) const;

    // The template area: the strip left of the standard controls, and the grid that holds
    // the standard controls, to which a template adds its rows under them.
    QWidget* TemplateDialog() const { return templateDialog_; }
    QVBoxLayout* SideArea() const { return sideArea_; }
    QGridLayout* ControlsGrid() const { return grid_; }
    int FirstTemplateRow() const { return firstTemplateRow_; }
    // Adds a template control: it is found by id and its commands reach templateCommand.
    void AddTemplateControl(QWidget* control, int id);

    // The OK button leaves the dialog's layout; the file name box takes its place.
    void HideOkButton();

    // Asked with the full paths before OK ends the dialog with them; false keeps the
    // dialog open (the check tells the user why).
    void SetResultCheck(std::function<bool(const QStringList& paths)> check) { resultCheck_ = std::move(check); }

signals:
    void initDone();
    void folderChanged();
    void selectionChanged();
    void typeChanged();
    void closing();
    void templateCommand(int id);

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

public slots:
    void done(int result) override;

private:
    void BuildControls();
    void SetRoot(const QString& folder);
    void ShowLoading(bool loading);
    void ApplyFileType(int index);
    void OnSelectionChanged();
    void OnDoubleClicked(const QModelIndex& index);
    QList<QModelIndex> SelectedIndexes() const;
    void OnListEnter();
    void OnFolderBarEntered();
    bool NavigateTo(const QString& name);
    QString Resolve(const QString& name) const;
    bool NamesAnEntry(const QString& name) const;
    QStringList TypedNames(const QString& text) const;
    bool CheckResult(const QString& path);
    void Tell(const QString& text);
    // Tab and Shift+Tab go through the places, the folder bar, the file list, the standard
    // controls, the template's controls and Cancel last.
    void ChainTabs();

    FormBoxes prompter_;
    FolderModel* model_ = nullptr;
    QWidget* templateDialog_ = nullptr;
    QVBoxLayout* sideArea_ = nullptr;
    QGridLayout* grid_ = nullptr;
    QLineEdit* folderBar_ = nullptr;
    QToolButton* upButton_ = nullptr;
    QTreeView* fileList_ = nullptr;
    QLabel* loading_ = nullptr;
    QLabel* fileNameLabel_ = nullptr;
    QLineEdit* fileName_ = nullptr;
    QLabel* fileTypeLabel_ = nullptr;
    QComboBox* fileTypes_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QHash<int, QWidget*> items_;
    QList<QWidget*> templateControls_;
    std::function<bool(const QStringList&)> resultCheck_;
    int firstTemplateRow_ = 0;

    QList<FileType> types_;
    QString folder_;
    QString defaultExt_;
    QStringList resultPaths_;
    QString chosenText_;
    QStringList chosenNames_;
    bool multiSelect_ = false;
    bool pathMustExist_ = false;
    bool fileMustExist_ = false;
    bool initDone_ = false;
};
