// The sizes of the shown catalog's objects: the index counts them on worker threads, the
// object list's size column and the status bar show what has arrived, and the counts follow
// the catalog shown, the edits made to it and the files on disk as they change.

#include "app/CatalogForm.h"

#include "app/ObjectListModel.h"
#include "app/SizeTexts.h"
#include "catalog/CatalogStore.h"
#include "support/core/SizeIndex.h"

#include <QItemSelectionModel>
#include <QLabel>
#include <QStatusBar>
#include <QStringList>
#include <QTableView>
#include <QTimer>
#include <QTreeWidget>

namespace {

// Counts that arrive together reach the list in one pass, and the progress text changes a
// few times a second at most.
constexpr int CountsDelayMs = 100;
constexpr int ProgressIntervalMs = 250;

} // namespace

void TCatalogForm::CreateSizes()
{
    sizes_ = new SizeIndex(services_.sizes, this);
    model_->SetSizes(sizes_);
    countsTimer_ = new QTimer(this);
    countsTimer_->setSingleShot(true);
    countsTimer_->setInterval(CountsDelayMs);
    connect(countsTimer_, &QTimer::timeout, this, &TCatalogForm::TakeCounts);
    progressTimer_ = new QTimer(this);
    progressTimer_->setInterval(ProgressIntervalMs);
    connect(progressTimer_, &QTimer::timeout, this, &TCatalogForm::ShowSizeTotal);
    connect(sizes_, &SizeIndex::Counted, this, [this](const std::string& path) {
        counted_.insert(path);
        if (!countsTimer_->isActive())
            countsTimer_->start();
    });
    connect(ObjectTable->selectionModel(), &QItemSelectionModel::currentChanged, this, &TCatalogForm::ShowSizeHint);
}

const std::vector<std::string>& TCatalogForm::ShownObjects() const
{
    static const std::vector<std::string> none;
    QTreeWidgetItem* node = TreeView->currentItem();
    const int catalog = node ? TreeView->indexOfTopLevelItem(node) : -1;
    return catalog >= 0 && store_->IsLoaded(catalog) ? store_->Catalog(catalog).Objects : none;
}

void TCatalogForm::FollowSizes()
{
    const std::vector<std::string>& objects = ShownObjects();
    sizes_->Focus(objects);
    sizes_->Request(objects);
    MarkNestedObjects();
    ShowSizeTotal();
}

void TCatalogForm::TakeCounts()
{
    model_->SizesCounted(counted_);
    counted_.clear();
    MarkNestedObjects();
    ShowSizeTotal();
}

void TCatalogForm::ShowSizeTotal()
{
    const std::vector<std::string>& objects = ShownObjects();
    const std::optional<SizeTotal> total = sizes_->Total(objects);
    if (total) {
        sparePanel_->setText(SizeTotalText(*total));
        sparePanel_->setToolTip(total->Partial() ? UnreadableSizeText(total->unreadable)
                                                 : QString());
        progressTimer_->stop();
    } else {
        sparePanel_->setText(objects.empty() ? QString() : CountingText(sizes_->FilesInProgress()));
        sparePanel_->setToolTip({});
        if (!objects.empty() && !progressTimer_->isActive())
            progressTimer_->start();
    }
    rescanning_ = sizes_->Rescanning(objects);
    ShowSizeHint();
}

// The hint tells how many added objects the filter hides, and names the folder that already
// holds the current object, or else says when the sizes are only checked now and then.
void TCatalogForm::ShowSizeHint()
{
    const QModelIndex current = ObjectTable->currentIndex();
    const bool held = current.isValid() && !model_->Holder(current.row()).empty();
    const QString sizeHint = held ? NestedObjectText(model_->Holder(current.row()))
                                  : rescanning_ ? RescanningText() : QString();
    QStringList parts{filterNote_, sizeHint};
    parts.removeAll(QString());
    const QString hint = parts.join(QStringLiteral("　"));
    // A narrow window cuts the hint: its tooltip holds it whole.
    hintPanel_->setText(hint);
    hintPanel_->setToolTip(hint);
}

// Which objects another listed object holds can be told once every object is counted.
void TCatalogForm::MarkNestedObjects()
{
    const std::vector<std::string>& objects = ShownObjects();
    std::vector<ObjectSize> sizes;
    sizes.reserve(objects.size());
    for (const std::string& path : objects) {
        const ObjectSize* size = sizes_->Find(path);
        if (!size)
            return model_->SetHolders({});
        sizes.push_back(*size);
    }
    const std::vector<int> holding = HoldingObjects(sizes);
    std::vector<std::string> holders(objects.size());
    for (std::size_t i = 0; i < holding.size(); ++i) {
        if (holding[i] >= 0)
            holders[i] = objects[std::size_t(holding[i])];
    }
    model_->SetHolders(std::move(holders));
}
