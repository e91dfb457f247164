// The object commands: add the files and folders chosen with the object chooser to the
// selected catalog, and delete the selected objects from it. Each is one edit of the store
// and one step of the undo history; nothing is written until the list is saved.

#include "app/CatalogForm.h"

#include "app/ObjectListModel.h"
#include "catalog/CatalogEditRules.h"
#include "catalog/CatalogRoundTrip.h"
#include "catalog/CatalogStore.h"
#include "chooser/MessageText.h"
#include "support/core/Cp932.h"
#include "support/core/FileNames.h"
#include "support/core/MessageDlg.h"
#include "support/ui/SelectedRows.h"

#include <QApplication>
#include <QItemSelectionModel>
#include <QScopeGuard>
#include <QTableView>

#include <algorithm>

void TCatalogForm::ActI_ItemFileAddExecute()
{
    const std::optional<int> catalog = CatalogToChange();
    if (!catalog)
        return;
    const std::optional<ObjectChoice> choice
        = services_.runObjectChooser(this, ObjectsToCompressSettings());
    if (choice)
        AddChosenObjects(*catalog, *choice, QStringLiteral("オブジェクトの追加"));
}

void TCatalogForm::AddChosenObjects(int catalog, const ObjectChoice& choice, const QString& text)
{
    // The area under the closed chooser is repainted before the list is frozen; what the
    // user types meanwhile waits until the command is whole.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ObjectTable->setUpdatesEnabled(false);
    const auto restore = qScopeGuard([this] {
        ObjectTable->setUpdatesEnabled(true);
        QApplication::restoreOverrideCursor();
    });
    std::vector<std::string> paths = ExistingFoldersThenFiles(choice.SelectedFolders, choice.SelectedFiles);
    const std::vector<std::string> refused = RemoveUnstorablePaths(paths);
    if (auto edit = AddObjectsEdit(*store_, catalog, paths))
        Perform(std::move(*edit), text);
    UpdateObjectCount();
    if (!refused.empty())
        prompter_->ShowMessageText(UnstorableNamesText(refused), MsgDlgType::mtWarning, mbOK, 0);
}

void TCatalogForm::ActI_ItemDeleteExecute()
{
    const int catalog = CurrentCatalogNode();
    const std::vector<int> selected = SelectedRows(*ObjectTable->selectionModel());
    if (catalog < 0 || selected.empty())
        return;
    const QString question = selected.size() == 1
        ? ShownName(model_->index(selected.front(), ObjectListModel::ColName).data().toString())
            + QStringLiteral(" を削除しますか？")
        : QStringLiteral("選択した %1 件のオブジェクトを削除しますか？").arg(selected.size());
    // The close box of a Yes/No question means No.
    if (prompter_->ShowMessageText(question, MsgDlgType::mtConfirmation, mbYesNo, 0) != mrYes)
        return;

    QApplication::setOverrideCursor(Qt::WaitCursor);
    const auto restore = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
    // Each row takes its own object, by its position in the catalog: never another object
    // of the same path in another letter case.
    std::vector<std::size_t> positions;
    positions.reserve(selected.size());
    for (const int row : selected)
        positions.push_back(model_->Position(row));
    if (auto edit = EraseObjectsEdit(*store_, catalog, std::move(positions)))
        Perform(std::move(*edit), QStringLiteral("オブジェクトの削除"));
}
