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
#include <unordered_set>

namespace {

// What a choice leaves for the catalog: folders first, then files, each still there as
// what it was chosen as; the others have vanished since they were chosen.
struct SortedChoice {
    std::vector<std::string> existing;
    std::vector<std::string> vanished;
};

SortedChoice SortChoice(const ObjectChoice& choice)
{
    SortedChoice sorted;
    sorted.existing.reserve(choice.SelectedFolders.size() + choice.SelectedFiles.size());
    const auto take = [&sorted](const std::string& path, bool exists) {
        (exists ? sorted.existing : sorted.vanished).push_back(path);
    };
    for (const std::string& path : choice.SelectedFolders)
        take(path, DirExists(path));
    for (const std::string& path : choice.SelectedFiles)
        take(path, FileExistsQuiet(path));
    return sorted;
}

// The offered paths that are not among the added ones.
std::vector<std::string> NotAmong(const std::vector<std::string>& offered, const std::vector<std::string>& added)
{
    const std::unordered_set<std::string> taken(added.begin(), added.end());
    std::vector<std::string> left;
    std::copy_if(offered.begin(), offered.end(), std::back_inserter(left),
                 [&taken](const std::string& path) { return !taken.contains(path); });
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
    if (const QString remarks = AddChosenObjects(*catalog, *choice); !remarks.isEmpty())
        prompter_->ShowMessageText(remarks, MsgDlgType::mtWarning, mbOK, 0);
}

QString TCatalogForm::AddChosenObjects(int catalog, const ObjectChoice& choice)
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
    SortedChoice sorted = SortChoice(choice);
    const std::vector<std::string> refused = RemoveUnstorablePaths(sorted.existing);
    const std::vector<std::string> added = store_->AddObjects(catalog, sorted.existing);
    for (const std::string& path : added)
        AddObjectRow(catalog, path);
    UpdateObjectCount();

    QStringList remarks;
    if (!refused.empty())
        remarks.append(UnstorableNamesText(refused));
    if (const auto listed = NotAmong(sorted.existing, added); !listed.empty())
        remarks.append(NotAddedText(NotAddedReason::AlreadyInCatalog, listed));
    if (!sorted.vanished.empty())
        remarks.append(NotAddedText(NotAddedReason::NotFound, sorted.vanished));
    return remarks.join(u"\n\n");
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
