#include "chooser/CabOpenDialogEx.h"

#include "chooser/DialogTemplates.h"
#include "chooser/FolderMarker.h"
#include "chooser/MessageText.h"
#include "chooser/OpenDialogWindow.h"
#include "support/core/Cp932.h"
#include "support/core/HostPath.h"
#include "support/core/MessageDlg.h"
#include "support/ui/UIFonts.h"

#include <QAbstractButton>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QToolTip>

namespace {

const char* ExTemplateName(TDialogType type, bool uiGothic)
{
    if (type == TDialogType::dtSearchfiles)
        return uiGothic ? "CABINET_SEARCH_OPEN_DIALOGEX" : "CABINET_SEARCH_OPEN_DIALOGEX2";
    return uiGothic ? "CABINET_OPEN_DIALOGEX" : "CABINET_OPEN_DIALOGEX2";
}

}  // namespace

TCabOpenDialogEx::TCabOpenDialogEx(QWidget* owner, OpenDialogServices services)
    : TCabOpenDialog(owner, services)
{
}

bool TCabOpenDialogEx::RunChooser()
{
    SelectedFolders.clear();
    refused_.clear();
    TemplateName = ExTemplateName(DialogType, UsesUIGothicFont());
    const bool confirmed = TCabOpenDialog::RunChooser();
    if (!confirmed || (Options & ofAllowMultiSelect) == 0)
        return confirmed;
    std::vector<std::string> missing;
    SelectedFiles = ReworkSelectedFiles(SelectedFiles, SelectedFolders, &missing);
    if (!missing.empty())
        TellMissing(missing);
    // A confirmed run that comes back with nothing has chosen nothing; the user has been told
    // which names were left out.
    return !SelectedFolders.empty() || !SelectedFiles.empty();
}

void TCabOpenDialogEx::TellMissing(const std::vector<std::string>& paths)
{
    QString text = QStringLiteral("次のファイルは見つからないため、選択から外しました。");
    for (const std::string& path : paths)
        text += u'\n' + ShownName(Cp932ToDisplay(path));
    TellAfterRun(text);
}

void TCabOpenDialogEx::DoShow()
{
    TCabOpenDialog::DoShow();
    Window()->HideOkButton();
    if ((Options & ofAllowMultiSelect) != 0)
        Window()->SetResultCheck([this](const QStringList& paths) { return ChoosesSomething(paths); });
    if (DialogType != TDialogType::dtSearchfiles)
        return;
    if (auto* label = qobject_cast<QLabel*>(Window()->DlgItem(stc2)))
        label->setText(QStringLiteral("書庫の種類(&T):"));
    if (auto* label = qobject_cast<QLabel*>(Window()->DlgItem(stc3)))
        label->setText(QStringLiteral("圧縮するﾌｧｲﾙ(&N):"));
    if (auto* check = qobject_cast<QAbstractButton*>(Window()->DlgItem(IdSubPath)))
        check->setChecked(SubPath);
}

void TCabOpenDialogEx::DoClose()
{
    for (const QString& name : refused_)
        Refuse(name);
    TCabOpenDialog::DoClose();
    QToolTip::hideText();
}

void TCabOpenDialogEx::DoSelectionChange()
{
    TCabOpenDialog::DoSelectionChange();
    SelectedFolders.clear();
    refused_.clear();
    const std::string folder = GetCurrentFolder();
    if (folder.empty()) {
        Window()->FileNameBox()->clear();
        return;
    }
    const QList<OpenDialogWindow::Entry> entries = Window()->SelectedEntries();
    if (entries.isEmpty())
        return;
    // A name without a code page 932 form is left out of the box and named to the user when
    // the choice is confirmed.
    std::vector<ChosenName> names;
    QStringList marked;
    for (const OpenDialogWindow::Entry& entry : entries) {
        if (const auto name = QStringToCp932(entry.name)) {
            names.push_back({*name, entry.isFolder});
            marked.append(entry.isFolder ? u'+' + entry.name : entry.name);
        } else {
            refused_.append(QDir::toNativeSeparators(Window()->CurrentFolder() + u'/' + entry.name));
        }
    }
    const MarkedSelection selection = MarkSelection(folder, names);
    SelectedFolders = selection.Folders;
    Window()->SetChosenText(Cp932ToDisplay(selection.Text), marked);
    selectionShown_ = true;
}

void TCabOpenDialogEx::DoFolderChange()
{
    TCabOpenDialog::DoFolderChange();
    // The names the selection put into the box belong to the folder left behind: the box
    // keeps only what the user typed.
    SelectedFolders.clear();
    refused_.clear();
    if (selectionShown_ && Window()->ShowsChosenText())
        Window()->FileNameBox()->clear();
    selectionShown_ = false;
}

// A confirm that would end the dialog with neither a folder nor an existing file says so
// and keeps the dialog open. Names without a code page 932 form are told when the dialog
// closes, so they pass here.
bool TCabOpenDialogEx::ChoosesSomething(const QStringList& paths)
{
    if (!SelectedFolders.empty())
        return true;
    std::vector<std::string> files;
    for (const QString& path : paths) {
        const auto file = FromQtPath(path);
        if (!file)
            return true;
        files.push_back(*file);
    }
    if (!ReworkSelectedFiles(files, {}).empty())
        return true;
    const QString names = Window()->FileNameBox()->text();
    DialogBoxes().ShowMessageText(names + QStringLiteral("\n追加するファイルやフォルダが見つかりません。\n"
                                                         "一覧でファイルやフォルダを選択してください。"),
                                  MsgDlgType::mtWarning, mbOK, 0);
    return false;
}

void TCabOpenDialogEx::WndCommand(int id)
{
    TCabOpenDialog::WndCommand(id);
    if (id == IdConfirm)
        ConfirmClick();
    else if (id == IdSubPath && DialogType == TDialogType::dtSearchfiles) {
        if (auto* check = qobject_cast<QAbstractButton*>(Window()->DlgItem(IdSubPath)))
            SubPath = check->isChecked();
    }
    if (OnCommandEx && Window())
        OnCommandEx(*this, Window()->TemplateDialog(), Window(), id);
}

void TCabOpenDialogEx::ConfirmClick()
{
    if (ApplyDir && SelectedFolders.empty()) {
        DialogBoxes().ShowMessageDlg(Cp932Text("フォルダを選択して下さい"), MsgDlgType::mtError, mbOK, 0);
        return;
    }
    if (Window()->FileNameBox()->text().isEmpty() && !refused_.isEmpty()) {
        DialogBoxes().ShowMessageText(RefusedNamesText(refused_), MsgDlgType::mtWarning, mbOK, 0);
        return;
    }
    Window()->PressOk();
}
