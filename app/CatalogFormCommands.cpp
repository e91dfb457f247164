// The catalog commands of the main window that need no wizard: delete, rename, save,
// close, help and about.

#include "app/CatalogForm.h"

#include "catalog/CatalogEditRules.h"
#include "catalog/CatalogStore.h"
#include "support/core/Cp932.h"
#include "support/core/MessageDlg.h"
#include "support/ui/HelpViewer.h"

#include <QAction>

void TCatalogForm::ActF_CatDeleteExecute()
{
    const int catalog = CurrentCatalogNode();
    if (catalog < 0)
        return;
    const std::string question = CatalogName(catalog) + Cp932Text(" を削除しますか？");
    // The close box of a Yes/No question means No.
    if (prompter_->ShowMessageDlg(question, MsgDlgType::mtConfirmation, mbYesNo, 0) != mrYes)
        return;
    Perform(RemoveCatalogEdit(*store_, catalog), QStringLiteral("カタログの削除"));
}

void TCatalogForm::ActF_CatRenameExecute()
{
    const std::optional<int> catalog = CatalogToChange();
    if (!catalog)
        return;
    std::string newName;
    const RenameDialogServices services{services_.prompter, CatalogNameCheckOf(*store_, *catalog)};
    if (services_.runRenameDialog(this, CatalogName(*catalog), newName, services) != QDialog::Accepted)
        return;
    Perform(RenameCatalogEdit(*store_, *catalog, newName), QStringLiteral("カタログの名称変更"));
}

void TCatalogForm::ActF_CatSaveExecute()
{
    store_->SaveCommand(*prompter_);
}

void TCatalogForm::ActF_CloseExecute()
{
    close();
}

void TCatalogForm::ActH_TopicExecute()
{
    HelpViewer* viewer = HelpViewer::Of(this);
    if (!helpFile_.isEmpty())
        viewer->SetHelpFile(helpFile_);
    viewer->ShowContents();
}

void TCatalogForm::ActH_AboutExecute()
{
    services_.showAboutDialog(this);
}
