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
#include <unordered_set>

namespace {

// The offered paths that are not among the taken ones, in order.
std::vector<std::string> NotAmong(const std::vector<std::string>& offered, const std::vector<std::string>& taken)
{
    const std::unordered_set<std::string> among(taken.begin(), taken.end());
    std::vector<std::string> left;
    std::copy_if(offered.begin(), offered.end(), std::back_inserter(left),
                 [&among](const std::string& path) { return !among.contains(path); });
    return left;
}

}  // namespace

void TCatalogForm::ActI_ItemFileAddExecute()
{
    const std::optional<int> catalog = CatalogToChange();
    if (!catalog)
        return;
    const std::optional<ObjectChoice> choice
        = services_.runObjectChooser(this, ObjectsToCompressSettings());
    if (!choice)
        return;
    if (const QString remarks = AddChosenObjects(*catalog, *choice, QStringLiteral("オブジェクトの追加"));
        !remarks.isEmpty())
        prompter_->ShowMessageText(remarks, MsgDlgType::mtWarning, mbOK, 0);
}

QString TCatalogForm::AddChosenObjects(int catalog, const ObjectChoice& choice, const QString& text)
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
    std::vector<std::string> offered = choice.SelectedFolders;
    offered.insert(offered.end(), choice.SelectedFiles.begin(), choice.SelectedFiles.end());
    std::vector<std::string> paths = ExistingFoldersThenFiles(choice.SelectedFolders, choice.SelectedFiles);
    const std::vector<std::string> vanished = NotAmong(offered, paths);
    const std::vector<std::string> refused = RemoveUnstorablePaths(paths);
    std::vector<std::string> added;
    if (auto edit = AddObjectsEdit(*store_, catalog, paths)) {
        added = edit->paths;
        Perform(std::move(*edit), text);
    }
    UpdateObjectCount();

    // Whatever was offered and not added is named, with the reason.
    QStringList remarks;
    if (!refused.empty())
        remarks.append(UnstorableNamesText(refused));
    if (const auto listed = NotAmong(paths, added); !listed.empty())
        remarks.append(NotAddedText(NotAddedReason::AlreadyInCatalog, listed));
    if (!vanished.empty())
        remarks.append(NotAddedText(NotAddedReason::NotFound, vanished));
    return remarks.join(u"\n\n");
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
