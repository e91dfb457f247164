// Files and folders dropped from a file manager onto the object list join the selected
// catalog as if they had been chosen with the add command: folders first, then files,
// nothing the catalog already holds in any letter case.

#include "app/CatalogForm.h"

#include "support/core/FileNames.h"
#include "support/core/MessageDlg.h"
#include "wizard/PastedPaths.h"

void TCatalogForm::DropObjects(const QMimeData& data)
{
    const int catalog = CurrentCatalogNode();
    if (catalog < 0)
        return;
    const PastedPaths dropped = ReadPastedPaths(data);
    ObjectChoice choice;
    for (const std::string& path : dropped.Paths)
        (DirExists(path) ? choice.SelectedFolders : choice.SelectedFiles).push_back(path);
    QStringList remarks{PasteRemarks(dropped), AddChosenObjects(catalog, choice)};
    remarks.removeAll(QString());
    if (!remarks.isEmpty())
        prompter_->ShowMessageText(remarks.join(u"\n\n"), MsgDlgType::mtInformation, mbOK, 0);
}
