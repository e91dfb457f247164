// The object commands: add the files and folders chosen with the object chooser to the
// selected catalog, and delete the selected objects from it. Both change the catalog in
// memory only and set the modified flag; nothing is written until the list is saved.

#include "app/CatalogForm.h"

#include "app/ObjectListModel.h"
#include "catalog/CatalogRoundTrip.h"
#include "catalog/CatalogStore.h"
#include "chooser/MessageText.h"
#include "support/core/Cp932.h"
#include "support/core/FileNames.h"
#include "support/core/MessageDlg.h"

#include <QApplication>
#include <QItemSelectionModel>
#include <QScopeGuard>
#include <QTableView>

#include <algorithm>

namespace {

// Folders first, then files, each still there as what it was chosen as.
std::vector<std::string> ExistingChoices(const ObjectChoice& choice)
{
    std::vector<std::string> paths;
    paths.reserve(choice.SelectedFolders.size() + choice.SelectedFiles.size());
    std::copy_if(choice.SelectedFolders.begin(), choice.SelectedFolders.end(), std::back_inserter(paths),
                 [](const std::string& path) { return DirExists(path); });
    std::copy_if(choice.SelectedFiles.begin(), choice.SelectedFiles.end(), std::back_inserter(paths),
                 [](const std::string& path) { return FileExistsQuiet(path); });
    return paths;
}

}  // namespace

void TCatalogForm::ActI_ItemFileAddExecute()
{
    const std::optional<int> catalog = CatalogToChange();
    if (!catalog)
        return;
    const std::optional<ObjectChoice> choice
        = services_.runObjectChooser(this, ObjectsToCompressSettings());
    if (choice)
        AddChosenObjects(*catalog, *choice);
}

void TCatalogForm::AddChosenObjects(int catalog, const ObjectChoice& choice)
{
    // The area under the closed chooser is repainted before the list is frozen.
    QCoreApplication::processEvents();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ObjectTable->setUpdatesEnabled(false);
    const auto restore = qScopeGuard([this] {
        ObjectTable->setUpdatesEnabled(true);
        QApplication::restoreOverrideCursor();
    });
    // The store skips a path the catalog already holds in any letter case, and so a path
    // chosen twice; each path it takes becomes a row at the end of the list.
    std::vector<std::string> paths = ExistingChoices(choice);
    const std::vector<std::string> refused = RemoveUnstorablePaths(paths);
    // A filter stays as it is: the new rows it hides are counted, and said so.
    const int shownBefore = model_->Count();
    const std::vector<std::string> added = store_->AddObjects(catalog, paths);
    for (const std::string& path : added)
        AddObjectRow(catalog, path);
    if (catalog == CurrentCatalogNode())
        ShowHiddenAdded(static_cast<int>(added.size()) - (model_->Count() - shownBefore));
    UpdateObjectCount();
    if (!refused.empty())
        prompter_->ShowMessageText(UnstorableNamesText(refused), MsgDlgType::mtWarning, mbOK, 0);
}

void TCatalogForm::ActI_ItemDeleteExecute()
{
    const int catalog = CurrentCatalogNode();
    QModelIndexList selected = ObjectTable->selectionModel()->selectedRows();
    if (catalog < 0 || selected.isEmpty())
        return;
    const QString question = selected.size() == 1
        ? ShownName(selected.front().data().toString()) + QStringLiteral(" を削除しますか？")
        : QStringLiteral("選択した %1 件のオブジェクトを削除しますか？").arg(selected.size());
    // The close box of a Yes/No question means No.
    if (prompter_->ShowMessageText(question, MsgDlgType::mtConfirmation, mbYesNo, 0) != mrYes)
        return;

    QApplication::setOverrideCursor(Qt::WaitCursor);
    const auto restore = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
    // Each row goes with the path it was made from: a path whose folder and name texts do
    // not put it back together (a path written with another delimiter) is removed too,
    // instead of staying in the catalog while its row disappears.
    std::vector<int> rows;
    std::vector<std::string> paths;
    for (const QModelIndex& index : selected) {
        rows.push_back(index.row());
        paths.push_back(model_->Item(index.row()).Path);
    }
    store_->RemoveObjects(catalog, paths);
    store_->SetModified(true);
    model_->RemoveRows(rows);
    UpdateObjectCount();
}
