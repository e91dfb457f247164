#pragma once

#include "chooser/CabOpenDialog.h"
#include "chooser/DialogType.h"

#include <QStringList>

#include <string>
#include <vector>

// The object chooser the program runs: folders as well as files can be picked in the file
// list, several at a time, and come back apart: the folders in SelectedFolders, the files
// in SelectedFiles. A confirm button "確定(&E)" takes the place of OK. Selected folders reach
// the file name box with a "+" in front of their names, which ends the dialog instead of
// opening the folder; the result is cleaned of those names afterwards.
class TCabOpenDialogEx : public TCabOpenDialog {
public:
    explicit TCabOpenDialogEx(QWidget* owner, OpenDialogServices services = {});

    bool ApplyDir = false;   // confirm only with at least one folder selected
    TDialogType DialogType = TDialogType::dtNormal;
    bool SubPath = true;     // search mode: the include-subfolders check box
    // The extended chooser's own command event; the base chooser's still fires first.
    TCommandNotifyEvent OnCommandEx;

    // Full paths of the folders selected in the file list, in list order, as of the last
    // selection change.
    std::vector<std::string> SelectedFolders;

    bool RunChooser() override;

protected:
    void DoShow() override;
    void DoClose() override;
    void DoSelectionChange() override;
    void DoFolderChange() override;
    void WndCommand(int id) override;

private:
    void ConfirmClick();
    void TellMissing(const std::vector<std::string>& paths);
    bool ChoosesSomething(const QStringList& paths);

    // Selected names without a code page 932 form.
    QStringList refused_;
    // The file name box was given the names of the last selection.
    bool selectionShown_ = false;
};
