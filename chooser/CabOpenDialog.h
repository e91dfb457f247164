#pragma once

#include "chooser/CabinetItems.h"
#include "chooser/OpenDialog.h"

#include <QColor>
#include <QPointer>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class QComboBox;
class QListWidget;
class QPushButton;
class TImageList;

// The registry root under which a chooser's history key lies. The settings store here is
// the current user's; a history under any other root is neither loaded nor saved.
enum class TRootKey : std::uint8_t {
    hkClassesRoot = 0,
    hkCurrentConfig = 1,
    hkCurrentUser = 2,
    hkDynData = 3,
    hkLocalMachine = 4,
    hkUsers = 5,
};

// The object chooser: the open dialog with a side list of places along its left edge, a
// history of recently saved folders under its standard controls (a drop-down list that
// jumps to a folder, and a button that saves the folder shown), kept in the registry
// between runs, and a command event for the controls of its template.
class TCabOpenDialog : public OpenDialog {
public:
    // Sender, the template area, the dialog, the control's identifier.
    using TCommandNotifyEvent
        = std::function<void(TCabOpenDialog& sender, QWidget* wnd, QWidget* parent, int cmd)>;

    explicit TCabOpenDialog(QWidget* owner, OpenDialogServices services = {});

    bool AutoFocusChange = false;          // focus the file name box after a jump from a place
    QColor Color = QColor(171, 171, 171);  // background of the side list (the workspace grey)
    const TImageList* ImageList = nullptr; // icons of the places; null: the system icons
    TCabinetItems Items;
    std::string Key;                       // registry key of the history; empty: not stored
    TRootKey RootKey = TRootKey::hkCurrentUser;
    bool SetInitDirFrom1st = false;        // start in the first history folder
    bool ShowFullPath = true;              // the history shows paths, not folder names
    int MaxCount = 10;                     // most folders the history keeps; at least 1
    std::string TemplateName;              // empty: chosen by RunChooser
    TCommandNotifyEvent OnCommandEx;

    // Another chooser whose history follows this one's; the chooser itself, or the value
    // already held, is ignored. The other chooser must outlive this one's use of it.
    TCabOpenDialog* Associated() const { return associated_; }
    void SetAssociated(TCabOpenDialog* other);

    // The folder history, most recent first.
    const std::vector<std::string>& Favorites() const { return history_; }
    void SetFavorites(const std::vector<std::string>& folders) { AssignHistory(1, folders); }

    bool RunChooser() override;

    // The folder the dialog shows, without a trailing delimiter except at the root; empty
    // when it shows a folder without a file-system path, or when no dialog is open.
    std::string GetCurrentFolder() const;
    void JumpToFolder(const std::string& path);
    void JumpToItem(const TCabinetItem& item) { JumpToFolder(GetItemPath(item)); }

    // Puts path into list (first or last), replacing an entry naming the same folder and
    // keeping fewer than MaxCount entries before it goes in.
    void AddToHistory(std::vector<std::string>& list, const std::string& path, bool atTop) const;
    // The history := the first MaxCount folders of source; index 1 passes it on to Associated.
    void AssignHistory(int index, const std::vector<std::string>& source);
    void LoadHistory();
    void SaveHistory();

    const TImageList& GetImages() const;
    // The folder path a place stands for.
    std::string GetItemPath(const TCabinetItem& item) const;
    // The icon the side list draws for a place.
    int GetItemImageIndex(const TCabinetItem& item) const;

protected:
    void DoShow() override;
    void DoClose() override;
    void DoFolderChange() override;
    void WndCommand(int id) override;

private:
    QComboBox* HistoryList() const;
    QPushButton* SaveButton() const;
    void FillHistoryCombo();
    void CreateSideList();
    void SideListClick(int row);
    void HistorySelChange();
    void SaveButtonClick();

    std::vector<std::string> history_;
    TCabOpenDialog* associated_ = nullptr;
    QPointer<QWidget> sidePanel_;
};
