// The command that lists catalog files already on disk: a catalog removed from the list, or
// one written by the command-line tool, comes back as the load would read it, one undoable
// step per file.

#include "app/CatalogForm.h"

#include "catalog/CatalogStore.h"
#include "support/core/Cp932.h"
#include "support/core/MessageDlg.h"

namespace {

// The chooser over the program folder, showing catalog files; several at once.
ObjectChooserSettings CatalogFilesSettings(const std::string& folder)
{
    ObjectChooserSettings settings;
    settings.Title = Cp932Text("カタログを開く");
    settings.Filter = Cp932Text("カタログファイル (*.VrCat)|*.VrCat");
    settings.FilterIndex = 1;
    settings.InitialDir = folder;
    settings.Options = ofHideReadOnly | ofAllowMultiSelect | ofPathMustExist | ofFileMustExist
        | ofNoDereferenceLinks | ofEnableSizing;
    return settings;
}

}  // namespace

void TCatalogForm::ActF_CatOpenExecute()
{
    const std::optional<ObjectChoice> choice
        = services_.runObjectChooser(this, CatalogFilesSettings(store_->ProgramFolder()));
    if (!choice)
        return;
    std::vector<std::string> files = choice->SelectedFolders;
    files.insert(files.end(), choice->SelectedFiles.begin(), choice->SelectedFiles.end());
    OpenCatalogFiles(files);
}

void TCatalogForm::OpenCatalogFiles(const std::vector<std::string>& files)
{
    QStringList problems;
    for (const std::string& file : files) {
        auto opened = store_->OpenCatalogEdit(file);
        if (auto* problem = std::get_if<std::string>(&opened))
            problems.append(Cp932ToDisplay(*problem));
        else
            Perform(std::get<InsertCatalog>(std::move(opened)), QStringLiteral("カタログを開く"));
    }
    if (!problems.isEmpty())
        prompter_->ShowMessageText(problems.join(u"\n\n"), MsgDlgType::mtWarning, mbOK, 0);
}
