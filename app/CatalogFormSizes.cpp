// The sizes of the shown catalog's objects: the index counts them on worker threads, the
// object list's size column and the status bar show what has arrived, and the counts follow
// the catalog shown, the edits made to it and the files on disk as they change.

#include "app/CatalogForm.h"

#include "app/ObjectListModel.h"
#include "catalog/CatalogStore.h"
#include "support/core/ListSizes.h"
#include "support/core/SizeIndex.h"
#include "support/core/SizeTexts.h"

#include <QItemSelectionModel>
#include <QLabel>
#include <QTableView>
#include <QTreeWidget>

void TCatalogForm::CreateSizes()
{
    sizes_ = new SizeIndex(services_.sizes, this);
    listSizes_ = new ListSizes(*sizes_, this);
    model_->SetSizes(sizes_);
    connect(listSizes_, &ListSizes::Counted, this, &TCatalogForm::TakeCounts);
    connect(listSizes_, &ListSizes::TotalChanged, this, &TCatalogForm::ShowSizeTotal);
    connect(ObjectTable->selectionModel(), &QItemSelectionModel::currentChanged, this, &TCatalogForm::ShowSizeHint);
}

const ::ObjectList& TCatalogForm::ShownObjects() const
{
    static const ::ObjectList none;
    QTreeWidgetItem* node = TreeView->currentItem();
    const int catalog = node ? TreeView->indexOfTopLevelItem(node) : -1;
    return catalog >= 0 && store_->IsLoaded(catalog) ? store_->Catalog(catalog).Objects : none;
}

void TCatalogForm::FollowSizes()
{
    listSizes_->Follow(ShownObjects().ToStrings());
    model_->SetHolders(listSizes_->Holders());
}

void TCatalogForm::TakeCounts(const std::unordered_set<std::string>& paths)
{
    model_->SizesCounted(paths);
    model_->SetHolders(listSizes_->Holders());
}

void TCatalogForm::ShowSizeTotal()
{
    sparePanel_->setText(listSizes_->TotalText());
    sparePanel_->setToolTip(listSizes_->TotalToolTip());
    ShowSizeHint();
}

// The hint tells how many added objects the filter hides, and names the folder that already
// holds the current object, or else says when the sizes are only checked now and then.
void TCatalogForm::ShowSizeHint()
{
    static const std::string none;
    const QModelIndex current = ObjectTable->currentIndex();
    const QString hint = SizeHintText(filterNote_, current.isValid() ? model_->Holder(current.row()) : none,
                                      listSizes_ && listSizes_->Rescanning());
    // A narrow window cuts the hint: its tooltip holds it whole.
    hintPanel_->setText(hint);
    hintPanel_->setToolTip(hint);
}
