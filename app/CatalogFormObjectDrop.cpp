// Files and folders dropped from a file manager onto the object list, or pasted there with
// Ctrl+V, join the selected catalog as if they had been chosen with the add command: folders
// first, then files, nothing the catalog already holds.

#include "app/CatalogForm.h"

#include "support/core/FileNames.h"
#include "support/core/MessageDlg.h"
#include "wizard/PastedPaths.h"

#include <QClipboard>
#include <QGuiApplication>

void TCatalogForm::DropObjects(const QMimeData& data, const QString& text)
{
    const int catalog = CurrentCatalogNode();
    if (catalog < 0)
        return;
    const PastedPaths dropped = ReadPastedPaths(data);
    ObjectChoice choice;
    for (const std::string& path : dropped.Paths)
        (DirExists(path) ? choice.SelectedFolders : choice.SelectedFiles).push_back(path);
    AddChosenObjects(catalog, choice, text);
    if (const QString remarks = PasteRemarks(dropped); !remarks.isEmpty())
        prompter_->ShowMessageText(remarks, MsgDlgType::mtInformation, mbOK, 0);
}

void TCatalogForm::ActE_PasteExecute()
{
    if (const QMimeData* data = QGuiApplication::clipboard()->mimeData())
        DropObjects(*data, QStringLiteral("オブジェクトの貼り付け"));
}
