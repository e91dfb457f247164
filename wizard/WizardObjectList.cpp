#include "wizard/WizardObjectList.h"

#include "catalog/CatalogRoundTrip.h"
#include "chooser/MessageText.h"
#include "support/core/Cp932.h"
#include "support/core/DateTime.h"
#include "support/core/FileNames.h"
#include "support/core/HostPath.h"
#include "support/core/ListSizes.h"
#include "support/core/MessageDlg.h"
#include "support/core/SizeTexts.h"
#include "support/ui/ContextMenuKey.h"
#include "support/ui/FileDropTarget.h"
#include "support/ui/FilterBox.h"
#include "support/ui/RunCommand.h"
#include "support/ui/UIFonts.h"
#include "wizard/PastedPaths.h"
#include "wizard/WizardObjectModel.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <numeric>

namespace {

constexpr int StatusPanelWidth = 220;
constexpr int ColumnWidths[WizardObjectModel::ColumnCount] = {120, 55, 100, 105, 110};

// The hourglass and a list that does not redraw while a batch of rows goes in; both come
// back however the work ends.
class BusyList {
public:
    explicit BusyList(QWidget* list)
        : list_(list)
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        list_->setUpdatesEnabled(false);
    }
    ~BusyList()
    {
        list_->setUpdatesEnabled(true);
        QApplication::restoreOverrideCursor();
    }
    BusyList(const BusyList&) = delete;
    BusyList& operator=(const BusyList&) = delete;

private:
    QWidget* list_;
};

QPushButton* ActionButton(QAction* action, QWidget* parent, const QString& objectName)
{
    auto* button = new QPushButton(action->text(), parent);
    button->setObjectName(objectName);
    button->setAutoDefault(false);
    button->setEnabled(action->isEnabled());
    QObject::connect(button, &QPushButton::clicked, action, &QAction::trigger);
    QObject::connect(action, &QAction::changed, button, [button, action] { button->setEnabled(action->isEnabled()); });
    return button;
}

}  // namespace

WizardObjectList::WizardObjectList(WizardObjectListServices services, QWidget* parent)
    : QWidget(parent)
    , services_(std::move(services))
    , prompter_(this, services_.prompter)
    , model_(new WizardObjectModel(this))
{
    if (!services_.sizes)
        ownSizes_ = std::make_unique<SizeIndex>(services_.sizeOptions);
    sizes_ = std::make_unique<ListSizes>(services_.sizes ? *services_.sizes : *ownSizes_);
    model_->SetSizes(sizes_.get());
    connect(sizes_.get(), &ListSizes::Counted, model_, &WizardObjectModel::SizesCounted);
    connect(sizes_.get(), &ListSizes::TotalChanged, this, &WizardObjectList::ShowSizeStatus);
    CreateActions();
    CreateLayout();
    UpdateListStatus();
}

// The model lets go of the sizes before they go.
WizardObjectList::~WizardObjectList()
{
    model_->SetSizes(nullptr);
}

void WizardObjectList::CreateActions()
{
    const auto command = [this](const QString& text, const char* name, void (WizardObjectList::*execute)()) {
        auto* action = new QAction(text, this);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        connect(action, &QAction::triggered, this, [this, execute] { RunCommand(this, [this, execute] { (this->*execute)(); }); });
        addAction(action);
        return action;
    };
    actAdd_ = command(QStringLiteral("オブジェクト追加(&F)"), "ActAddFile_File", &WizardObjectList::ActAddFile_FileExecute);
    actDelete_ = command(QStringLiteral("削除(&R)"), "ActAddFile_Del", &WizardObjectList::ActAddFile_DelExecute);
    actDeleteAll_ = command(QStringLiteral("すべて削除(&D)"), "ActAddFile_AllDel", &WizardObjectList::ActAddFile_AllDelExecute);
    actPaste_ = command(QStringLiteral("貼り付け(&V)"), "ActAddFile_Paste", &WizardObjectList::ActAddFile_PasteExecute);
    actPaste_->setShortcut(QKeySequence::Paste);
    actDelete_->setShortcut(QKeySequence(Qt::Key_Delete));

    popup_ = new QMenu(this);
    popup_->setObjectName(QStringLiteral("PopupAddFile"));
    popup_->addAction(actAdd_);
    popup_->addSeparator();
    popup_->addAction(actDelete_);
    popup_->addAction(actDeleteAll_);
    popup_->addSeparator();
    popup_->addAction(actPaste_);
}

void WizardObjectList::CreateLayout()
{
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ActionButton(actAdd_, this, QStringLiteral("btnFile_AddFile")));
    buttons->addWidget(ActionButton(actDelete_, this, QStringLiteral("btnDel_AddFile")));
    buttons->addWidget(ActionButton(actDeleteAll_, this, QStringLiteral("btnDelAll_AddFile")));
    buttons->addStretch();

    table_ = new QTableView(this);
    table_->setObjectName(QStringLiteral("ListView_AddFile_List"));
    table_->setModel(model_);
    table_->setShowGrid(true);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setWordWrap(false);
    table_->setIconSize(QSize(16, 16));
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    table_->horizontalHeader()->setHighlightSections(false);
    table_->horizontalHeader()->setSectionsClickable(true);
    table_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    FitColumns();
    // Tab leaves the list for the next control instead of walking its cells.
    table_->setTabKeyNavigation(false);
    table_->setAccessibleName(QStringLiteral("オブジェクト一覧"));
    table_->setAccessibleDescription(
        QStringLiteral("圧縮するファイルとフォルダの名前、サイズ、種類、更新日時、フォルダ"));
    table_->setContextMenuPolicy(Qt::CustomContextMenu);
    new FileDropTarget(table_->viewport(), [this](const QMimeData& data) { AddPastedObjects(data); });

    connect(table_->horizontalHeader(), &QHeaderView::sectionClicked, this, &WizardObjectList::SortByColumn);
    connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &WizardObjectList::UpdateListStatus);
    connect(table_->selectionModel(), &QItemSelectionModel::currentChanged, this, &WizardObjectList::ShowSizeStatus);
    connect(table_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { popup_->popup(table_->viewport()->mapToGlobal(pos)); });
    filterBox_ = new FilterBox(table_, this);
    filterBox_->AddShortcuts(this, Qt::WindowShortcut);
    connect(filterBox_, &QLineEdit::textChanged, this, &WizardObjectList::FilterChanged);
    buttons->addWidget(filterBox_);
    setTabOrder(filterBox_, table_);
    OpenContextMenuByKey(table_);

    auto* statusBar = new QStatusBar(this);
    statusBar->setObjectName(QStringLiteral("StatusBar_AddFile"));
    statusBar->setSizeGripEnabled(false);
    countPanel_ = new QLabel(statusBar);
    sizePanel_ = new QLabel(statusBar);
    for (QLabel* panel : {countPanel_, sizePanel_}) {
        panel->setFixedWidth(StatusPanelWidth);
        statusBar->addWidget(panel);
    }
    notePanel_ = new QLabel(statusBar);
    statusBar->addWidget(notePanel_, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(buttons);
    layout->addWidget(table_, 1);
    layout->addWidget(statusBar);
}

// The design widths suit a 12-pixel face: each grows with the font at hand, the size
// column holds a size of 10 GB and more, the date column a whole date, and the folder
// column takes whatever width the list leaves.
void WizardObjectList::FitColumns()
{
    const QFontMetrics metrics = table_->fontMetrics();
    const int padding = 2 * table_->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, table_) + 8;
    for (int column = 0; column < WizardObjectModel::ColumnCount; ++column)
        table_->setColumnWidth(column, ScaledWidth(ColumnWidths[column], metrics));
    const auto atLeast = [&](int column, const QString& widest) {
        table_->setColumnWidth(column, std::max(table_->columnWidth(column),
                                                   metrics.horizontalAdvance(widest) + padding));
    };
    atLeast(WizardObjectModel::ColSize, QStringLiteral("99,999,999,999"));
    // The widest date of the locale's short format: two-digit day and month, late evening.
    const QDateTime widestDate(QDate(2000, 12, 28), QTime(23, 58));
    atLeast(WizardObjectModel::ColDate, Cp932ToDisplay(FormatDateTimeText(DateTimeFromQDateTime(widestDate))));
    table_->horizontalHeader()->setStretchLastSection(true);
}

int WizardObjectList::RowCount() const
{
    return model_->AllRowCount();
}

std::vector<int> WizardObjectList::SelectedRows() const
{
    std::vector<int> rows;
    for (const QModelIndex& index : table_->selectionModel()->selectedRows())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void WizardObjectList::AddWizardRow(const std::string& path)
{
    const int shownBefore = model_->rowCount();
    if (!model_->AddWizardRow(path))
        return;
    ShowHiddenAdded(1, shownBefore);
    FollowSizes();
    UpdateListStatus();
}

void WizardObjectList::AddWizardRows(const std::vector<std::string>& paths)
{
    const int shownBefore = model_->rowCount();
    int added = 0;
    {
        const BusyList busy(table_);
        added = model_->AddWizardRows(paths);
    }
    ShowHiddenAdded(added, shownBefore);
    FollowSizes();
    UpdateListStatus();
}

void WizardObjectList::ShowHiddenAdded(int added, int shownBefore)
{
    const int hidden = added - (model_->rowCount() - shownBefore);
    hiddenNote_ = Cp932ToDisplay(HiddenAddedText(hidden));
}

void WizardObjectList::FollowSizes()
{
    sizes_->Follow(model_->Paths());
    model_->TakeKnownCounts();
}

void WizardObjectList::StopSizes()
{
    sizes_->Follow({});
}

void WizardObjectList::FilterChanged(const QString& text)
{
    model_->SetFilterText(text);
    hiddenNote_.clear();
    UpdateListStatus();
}

void WizardObjectList::SortByColumn(int column)
{
    model_->SortByColumn(column);
}

void WizardObjectList::UpdateListStatus()
{
    const std::vector<int> selected = SelectedRows();
    actDelete_->setEnabled(!selected.empty());
    actDeleteAll_->setEnabled(model_->rowCount() > 0);

    countPanel_->setText(Cp932ToDisplay(
        ObjectCountText(model_->rowCount(), static_cast<double>(selected.size()), model_->FilteredTotal())));
    ShowSizeStatus();
}

// Without a selection the total is every row's, those a filter hides included.
void WizardObjectList::ShowSizeStatus()
{
    std::vector<std::string> selected;
    for (const int row : SelectedRows())
        selected.push_back(model_->Row(row).Path);
    const std::optional<SizeTotal> total = selected.empty() ? sizes_->Total() : sizes_->TotalOf(selected);
    sizePanel_->setText(total ? ShortSizeTotalText(*total) : CountingText(sizes_->Index().FilesInProgress()));
    sizePanel_->setToolTip(!total ? QString()
                           : total->Partial() ? SizeTotalText(*total) + u'\n' + UnreadableSizeText(total->unreadable)
                                              : SizeTotalText(*total));
    static const std::string none;
    const QModelIndex current = table_->currentIndex();
    const QString hint = SizeHintText(
        hiddenNote_, current.isValid() ? sizes_->HolderOf(model_->Row(current.row()).Path) : none, sizes_->Rescanning());
    // A narrow wizard cuts the hint: its tooltip holds it whole.
    notePanel_->setText(hint);
    notePanel_->setToolTip(hint);
}

void WizardObjectList::ActAddFile_FileExecute()
{
    const std::optional<ObjectChoice> choice = services_.runObjectChooser(window(), ObjectsToCompressSettings());
    if (!choice)
        return;
    // The area under the closed chooser is repainted before the list is frozen.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    std::vector<std::string> paths = choice->SelectedFolders;
    paths.insert(paths.end(), choice->SelectedFiles.begin(), choice->SelectedFiles.end());
    if (const QString remarks = AddOffered(std::move(paths)); !remarks.isEmpty())
        prompter_->ShowMessageText(remarks, MsgDlgType::mtWarning, mbOK, 0);
}

QString WizardObjectList::AddOffered(std::vector<std::string> paths)
{
    const std::vector<std::string> refused = RemoveUnstorablePaths(paths);
    std::vector<std::string> listed;
    std::copy_if(paths.begin(), paths.end(), std::back_inserter(listed),
                 [this](const std::string& path) { return model_->Holds(path); });
    AddWizardRows(paths);
    QStringList remarks;
    if (!refused.empty())
        remarks.append(UnstorableNamesText(refused));
    if (!listed.empty())
        remarks.append(NotAddedText(NotAddedReason::AlreadyInList, listed));
    return remarks.join(u"\n\n");
}

void WizardObjectList::ActAddFile_DelExecute()
{
    const std::vector<int> selected = SelectedRows();
    if (selected.empty())
        return;
    const std::string subject = selected.size() == 1
        ? ExtractFileName(model_->Row(selected.front()).Path) + Cp932Text(" を削除します")
        : std::to_string(selected.size()) + Cp932Text(" 件のオブジェクトを削除します");
    const std::string question = subject + "\r\n" + Cp932Text("よろしいですか？");
    if (prompter_->ShowMessageDlg(question, MsgDlgType::mtConfirmation, mbYesNo, 0) != mrYes)
        return;
    model_->RemoveWizardRows(selected);
    FollowSizes();
    UpdateListStatus();
}

// While a filter hides rows, only the rows shown go, and the question says how many.
void WizardObjectList::ActAddFile_AllDelExecute()
{
    const int shown = model_->rowCount();
    const std::string question = model_->IsFiltered()
        ? Cp932Text("表示されている ") + std::to_string(shown) + Cp932Text(" 件のオブジェクトをすべて削除してもよろしいですか？")
        : Cp932Text("すべてのオブジェクトを削除してもよろしいですか？");
    if (prompter_->ShowMessageDlg(question, MsgDlgType::mtConfirmation, mbYesNo, 0) != mrYes)
        return;
    if (model_->IsFiltered()) {
        std::vector<int> rows(std::size_t(shown), 0);
        std::iota(rows.begin(), rows.end(), 0);
        model_->RemoveWizardRows(std::move(rows));
    } else {
        model_->RemoveAllRows();
    }
    FollowSizes();
    UpdateListStatus();
}

void WizardObjectList::ActAddFile_PasteExecute()
{
    if (const QMimeData* data = QApplication::clipboard()->mimeData())
        AddPastedObjects(*data);
}

void WizardObjectList::AddPastedObjects(const QMimeData& data)
{
    const PastedPaths pasted = ReadPastedPaths(data);
    QStringList remarks{PasteRemarks(pasted), AddOffered(pasted.Paths)};
    remarks.removeAll(QString());
    if (!remarks.isEmpty())
        prompter_->ShowMessageText(remarks.join(u"\n\n"), MsgDlgType::mtInformation, mbOK, 0);
}
