#include "app/CatalogForm.h"

#include "app/CatalogEditCommand.h"
#include "app/JournalKeeper.h"
#include "app/ObjectListModel.h"
#include "catalog/CatalogMessages.h"
#include "catalog/CatalogStore.h"
#include "support/core/Beep.h"
#include "support/core/BuildInfo.h"
#include "support/core/Cp932.h"
#include "support/core/FileNames.h"
#include "support/core/HostPath.h"
#include "support/core/ListSizes.h"
#include "support/core/Overloaded.h"
#include "support/core/ProgramFolder.h"
#include "support/core/RegistryLayout.h"
#include "support/core/TessnaError.h"
#include "support/core/WinReg.h"
#include "support/ui/ContextMenuKey.h"
#include "support/ui/FileDropTarget.h"
#include "support/ui/FilterBox.h"
#include "support/ui/HeldCloseRequests.h"
#include "support/ui/HelpViewer.h"
#include "support/ui/RunCommand.h"
#include "support/ui/ScreenFit.h"
#include "support/ui/SelectedRows.h"
#include "support/ui/StopBox.h"
#include "support/ui/UIFonts.h"
#include "support/ui/WindowPlacement.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QUndoStack>
#include <QVBoxLayout>

namespace {

const QString kCaption = QString::fromLatin1(ApplicationTitle) + u' ';
const QString kModifiedSuffix = QStringLiteral("- (更新)");
const QString kTreeTopCaption = QStringLiteral("カタログリスト");
const QString kViewFontFamily = QString::fromUtf8(UIGothicFamily);
constexpr int kViewFontPixels = 12;
// Steps of the undo history; a step holds only what its edit changed.
constexpr int kHistorySteps = 1000;

// Shows the hourglass while the list fills, also when the fill fails.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// Suspends the repainting of a view.
class FrozenView {
public:
    explicit FrozenView(QWidget* view) : view_(view) { view_->setUpdatesEnabled(false); }
    ~FrozenView() { view_->setUpdatesEnabled(true); }
    FrozenView(const FrozenView&) = delete;
    FrozenView& operator=(const FrozenView&) = delete;

private:
    QWidget* view_;
};

void UseViewFont(QWidget* view)
{
    view->setFont(DesignFont(kViewFontFamily, kViewFontPixels));
}

}  // namespace

TCatalogForm::TCatalogForm(const std::string& folder, CatalogFormServices services, QWidget* parent)
    : QMainWindow(parent)
    , services_(std::move(services))
    , prompter_(this, services_.prompter)
{
    setObjectName(QStringLiteral("CatalogForm"));
    setWindowTitle(kCaption);
    setWindowIcon(QIcon(QStringLiteral(":/app/catalog.svg")));
    resize(573, 343);
    move(1, 0);

    store_ = new CatalogStore(folder, this);
    model_ = new ObjectListModel(this);
    history_ = new QUndoStack(this);
    history_->setUndoLimit(kHistorySteps);
    CreateActions();
    CreateMenus();
    CreateToolBar();
    CreateViews();
    CreateStatusBar();
    BindListKeys();
    CreateSizes();
    NameControls();

    connect(store_, &CatalogStore::ListReset, this, [this] {
        history_->clear();
        RebuildTree();
    });
    connect(store_, &CatalogStore::Edited, this, &TCatalogForm::StoreEdited);
    connect(store_, &CatalogStore::ModifiedChanged, this, &TCatalogForm::ModifiedChanged);
    // The modified flag follows the history: back at the step last saved, nothing is to save.
    connect(store_, &CatalogStore::Saved, history_, &QUndoStack::setClean);
    connect(store_, &CatalogStore::OtherWriterMerged, history_, &QUndoStack::clear);
    connect(history_, &QUndoStack::cleanChanged, store_, [this](bool clean) { store_->SetModified(!clean); });
    connect(history_, &QUndoStack::indexChanged, this, &TCatalogForm::UpdateHistoryActions);
    UpdateHistoryActions();

    ModifiedChanged(store_->Modified());
    // The window opens with what could be read; what could not is told in one stop box.
    RunCommand(this, [this] { store_->LoadCatalogList(CmbKind->currentIndex()); });
    if (const auto unreadable = store_->UnreadableCatalogs(); !unreadable.empty())
        ShowStopBox(this, UnreadableCatalogsMessage(unreadable));
    UpdateObjectCount();
    // After the load: the journal an earlier run left is offered once the window shows.
    CreateJournal();
}

TCatalogForm::~TCatalogForm()
{
    FormDestroy();
}

// ---- construction ------------------------------------------------------------------------

QAction* TCatalogForm::MakeAction(const char* name, const QString& caption, const QString& hint,
                                  const char* glyph)
{
    auto* action = new QAction(caption, this);
    action->setObjectName(QString::fromLatin1(name));
    action->setStatusTip(hint);
    action->setToolTip(hint.isEmpty() ? caption : hint);
    if (glyph)
        action->setIcon(QIcon(QStringLiteral(":/app/") + QString::fromLatin1(glyph)));
    return action;
}

void TCatalogForm::Bind(QAction* action, void (TCatalogForm::*command)())
{
    connect(action, &QAction::triggered, this, [this, command] { RunCommand(this, [this, command] { (this->*command)(); }); });
}

void TCatalogForm::CreateActions()
{
    ActF_CatNew = MakeAction("ActF_CatNew", QStringLiteral("新規ウィザード(&N)"),
                             QStringLiteral("カタログを新規作成するウィザードを起動します"), "cat-new.svg");
    ActF_CatNew->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    ActF_CatUpdate = MakeAction("ActF_CatUpdate", QStringLiteral("修正ウイザード(&U)"),
                                QStringLiteral("カタログの修正ウィザードを起動します"), "cat-update.svg");
    ActF_CatOpen = MakeAction("ActF_CatOpen", QStringLiteral("カタログを開く(&O)"),
                              QStringLiteral("カタログファイルを選んでカタログリストに加えます"));
    ActF_CatDelete = MakeAction("ActF_CatDelete", QStringLiteral("削除(&D)"),
                                QStringLiteral("カタログを削除します"), "cat-delete.svg");
    ActF_CatRename = MakeAction("ActF_CatRename", QStringLiteral("名称変更(&R)"),
                                QStringLiteral("カタログ名を変更します"), "cat-rename.svg");
    ActF_CatRename->setShortcut(QKeySequence(Qt::Key_F2));
    ActF_CatSave = MakeAction("ActF_CatSave", QStringLiteral("保存(&S)"),
                              QStringLiteral("カタログを保存します"), "cat-save.svg");
    ActF_CatSave->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    ActF_CatSaveAs = MakeAction("ActF_CatSaveAs", QStringLiteral("名前を付けて保存(&W)"),
                                QStringLiteral("カタログに別名を付けて保存します"));
    ActF_Close = MakeAction("ActF_Close", QStringLiteral("終了(&X)"), QStringLiteral("終了します"),
                            "close.svg");
    // Esc closes the window, with the close question, from wherever the focus is.
    ActF_Close->setShortcut(QKeySequence(Qt::Key_Escape));
    ActF_Property = MakeAction("ActF_Property", QStringLiteral("プロパティ(&P)"),
                               QStringLiteral("カタログのプロパティを表示します"));
    ActF_Property->setVisible(false);
    ActF_CatExecute = MakeAction("ActF_CatExecute", QStringLiteral("実行(&E)"),
                                 QStringLiteral("カタログを実行します"));
    ActF_CatExecute->setVisible(false);
    ActI = MakeAction("ActI", QStringLiteral("アイテム(&O)"));
    ActI_ItemFileAdd = MakeAction("ActI_ItemFileAdd", QStringLiteral("オブジェクトを追加(&A)"),
                                  QStringLiteral("カタログにファイルやフォルダを追加します"), "item-add.svg");
    ActI_ItemFileAdd->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    ActI_ItemDelete = MakeAction("ActI_ItemDelete", QStringLiteral("削除(&D)"),
                                 QStringLiteral("カタログからオブジェクトを削除します"), "item-delete.svg");
    ActE_Undo = MakeAction("ActE_Undo", QStringLiteral("元に戻す(&U)"));
    ActE_Undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    ActE_Redo = MakeAction("ActE_Redo", QStringLiteral("やり直し(&R)"));
    ActE_Redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    ActE_Copy = MakeAction("ActE_Copy", QStringLiteral("コピー(&C)"));
    ActE_Paste = MakeAction("ActE_Paste", QStringLiteral("貼り付け(&V)"),
                            QStringLiteral("クリップボードのファイルやフォルダをカタログに追加します"));
    // Ctrl+V belongs to the object list: elsewhere it stays with the focused control.
    ActE_Paste->setShortcuts(QKeySequence::Paste);
    ActE_Paste->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    ActE_Cut = MakeAction("ActE_Cut", QStringLiteral("切り取り(&T)"));
    ActH_Topic = MakeAction("ActH_Topic", QStringLiteral("トピックの検索"),
                            QStringLiteral("ヘルプを表示します"), "help.svg");
    ActH_Topic->setShortcut(QKeySequence(Qt::Key_F1));
    ActH_About = MakeAction("ActH_About", QStringLiteral("バージョン情報(&V)"),
                            QStringLiteral("バージョン情報を表示します"));

    Bind(ActF_CatNew, &TCatalogForm::ActF_CatNewExecute);
    Bind(ActF_CatOpen, &TCatalogForm::ActF_CatOpenExecute);
    Bind(ActF_CatUpdate, &TCatalogForm::ActF_CatUpdateExecute);
    Bind(ActF_CatDelete, &TCatalogForm::ActF_CatDeleteExecute);
    Bind(ActF_CatRename, &TCatalogForm::ActF_CatRenameExecute);
    Bind(ActF_CatSave, &TCatalogForm::ActF_CatSaveExecute);
    Bind(ActF_Close, &TCatalogForm::ActF_CloseExecute);
    Bind(ActH_Topic, &TCatalogForm::ActH_TopicExecute);
    Bind(ActH_About, &TCatalogForm::ActH_AboutExecute);
    Bind(ActI_ItemFileAdd, &TCatalogForm::ActI_ItemFileAddExecute);
    Bind(ActI_ItemDelete, &TCatalogForm::ActI_ItemDeleteExecute);
    Bind(ActE_Undo, &TCatalogForm::UndoExecute);
    Bind(ActE_Redo, &TCatalogForm::RedoExecute);
    Bind(ActE_Paste, &TCatalogForm::ActE_PasteExecute);
}

// Delete deletes what the list with the focus shows: catalogs in the tree, objects in the
// object list; Shift+F10 opens the list's context menu.
void TCatalogForm::BindListKeys()
{
    const auto deleteIn = [](QAction* action, QAbstractItemView* view) {
        action->setShortcut(QKeySequence(Qt::Key_Delete));
        action->setShortcutContext(Qt::WidgetShortcut);
        view->addAction(action);
        OpenContextMenuByKey(view);
    };
    deleteIn(ActF_CatDelete, TreeView);
    deleteIn(ActI_ItemDelete, ObjectTable);
}

QMenu* TCatalogForm::AddMenu(const QString& caption, const QString& name, QAction*& menuAction)
{
    QMenu* menu = menuBar()->addMenu(caption);
    menuAction = menu->menuAction();
    menuAction->setObjectName(name);
    connect(menu, &QMenu::aboutToShow, this, &TCatalogForm::MenuOpened);
    connect(menu, &QMenu::aboutToHide, this, &TCatalogForm::MenuClosed);
    return menu;
}

void TCatalogForm::CreateMenus()
{
    QMenu* catalogMenu = AddMenu(QStringLiteral("カタログ(&F)"), QStringLiteral("ActF"), ActF);
    catalogMenu->addActions({ActF_CatNew, ActF_CatUpdate, ActF_CatOpen});
    catalogMenu->addSeparator();
    catalogMenu->addActions({ActF_CatDelete, ActF_CatRename});
    catalogMenu->addSeparator()->setVisible(false);
    catalogMenu->addAction(ActF_Property);
    catalogMenu->addSeparator()->setVisible(false);
    catalogMenu->addAction(ActF_CatExecute);
    catalogMenu->addSeparator();
    catalogMenu->addAction(ActF_CatSave);
    catalogMenu->addSeparator();
    catalogMenu->addAction(ActF_Close);

    QMenu* editMenu = AddMenu(QStringLiteral("編集(&E)"), QStringLiteral("ActE"), ActE);
    editMenu->addActions({ActE_Undo, ActE_Redo});
    editMenu->addSeparator();
    editMenu->addAction(ActI_ItemFileAdd);
    editMenu->addSeparator();
    editMenu->addAction(ActI_ItemDelete);

    QMenu* helpMenu = AddMenu(QStringLiteral("ヘルプ(&H)"), QStringLiteral("ActH"), ActH);
    helpMenu->addActions({ActH_Topic, ActH_About});

    PopTree = new QMenu(this);
    PopTree->setObjectName(QStringLiteral("PopTree"));
    PopTree->addActions({ActF_CatNew, ActF_CatUpdate});
    PopTree->addSeparator();
    PopTree->addActions({ActF_CatDelete, ActF_CatRename});
    PopTree->addSeparator();
    PopTree->addAction(ActF_CatSave);
    PopTree->addSeparator();
    PopTree->addAction(ActF_Close);

    PopView = new QMenu(this);
    PopView->setObjectName(QStringLiteral("PopView"));
    PopView->addAction(ActI_ItemFileAdd);
    PopView->addSeparator();
    PopView->addAction(ActI_ItemDelete);
}

void TCatalogForm::CreateToolBar()
{
    auto* band = addToolBar(QStringLiteral("ToolBar"));
    band->setObjectName(QStringLiteral("ToolBar"));
    band->setMovable(false);
    band->setFloatable(false);
    band->setToolButtonStyle(Qt::ToolButtonIconOnly);
    band->setIconSize(QSize(16, 16));
    band->toggleViewAction()->setVisible(false);
    setContextMenuPolicy(Qt::NoContextMenu);
    band->addActions({ActF_CatNew, ActF_CatUpdate});
    band->addSeparator();
    band->addAction(ActF_CatSave);
    band->addSeparator();
    band->addActions({ActF_CatDelete, ActF_CatRename});
    band->addSeparator();
    band->addAction(ActI_ItemFileAdd);
    band->addSeparator();
    band->addAction(ActI_ItemDelete);
    band->addSeparator();
    band->addAction(ActH_Topic);
    band->addSeparator();
    band->addAction(ActF_Close);
    for (QAction* action : band->actions()) {
        if (QWidget* button = band->widgetForAction(action); button && !action->isSeparator())
            button->setFixedSize(23, 22);
    }

    // The kind selector offers compress catalogs only: it stays hidden and disabled.
    auto* spacer = new QWidget(band);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    band->addWidget(spacer);
    LblKind = new QLabel(QStringLiteral("種類："), band);
    LblKind->setObjectName(QStringLiteral("LblKind"));
    CmbKind = new QComboBox(band);
    CmbKind->setObjectName(QStringLiteral("CmbKind"));
    CmbKind->addItems({QStringLiteral("圧縮カタログ"), QStringLiteral("解凍カタログ")});
    CmbKind->setCurrentIndex(0);
    for (QWidget* widget : {static_cast<QWidget*>(LblKind), static_cast<QWidget*>(CmbKind)}) {
        widget->setEnabled(false);
        band->addWidget(widget)->setVisible(false);
    }
}

void TCatalogForm::CreateViews()
{
    PnlTree = new QWidget(this);
    PnlTree->setObjectName(QStringLiteral("PnlTree"));
    PnlTreeTop = new QLabel(kTreeTopCaption, PnlTree);
    PnlTreeTop->setObjectName(QStringLiteral("PnlTreeTop"));
    PnlTreeTop->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    PnlTreeTop->setFixedHeight(PnlTreeTop->fontMetrics().height() + 2);
    PnlTreeTop->setMinimumWidth(0);
    PnlTreeTop->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    PnlTreeTop->setFrameShape(QFrame::Panel);
    PnlTreeTop->setFrameShadow(QFrame::Raised);

    TreeView = new QTreeWidget(PnlTree);
    TreeView->setObjectName(QStringLiteral("TreeView"));
    TreeView->setHeaderHidden(true);
    TreeView->setRootIsDecorated(false);
    TreeView->setItemsExpandable(false);
    TreeView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TreeView->setSelectionMode(QAbstractItemView::SingleSelection);
    TreeView->setContextMenuPolicy(Qt::CustomContextMenu);
    UseViewFont(TreeView);
    connect(TreeView, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* node) { RunCommand(this, [this, node] { TreeViewChange(node); }); });
    connect(TreeView, &QWidget::customContextMenuRequested, this, &TCatalogForm::TreeViewContextPopup);

    auto* treeLayout = new QVBoxLayout(PnlTree);
    treeLayout->setContentsMargins(0, 0, 0, 0);
    treeLayout->setSpacing(0);
    treeLayout->addWidget(PnlTreeTop);
    treeLayout->addWidget(TreeView);

    // The object list: rows of name and folder columns. Tests find it by its object name.
    ObjectTable = new QTableView(this);
    ObjectTable->setObjectName(QStringLiteral("ListView"));
    ObjectTable->setModel(model_);
    ObjectTable->setShowGrid(true);
    ObjectTable->setWordWrap(false);
    ObjectTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    ObjectTable->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ObjectTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ObjectTable->setContextMenuPolicy(Qt::CustomContextMenu);
    ObjectTable->setTextElideMode(Qt::ElideRight);
    new FileDropTarget(ObjectTable->viewport(), [this](const QMimeData& data) {
        DropObjects(data, QStringLiteral("オブジェクトのドロップ"));
    });
    ObjectTable->addAction(ActE_Paste);
    UseViewFont(ObjectTable);
    ObjectTable->verticalHeader()->hide();
    ObjectTable->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    ObjectTable->verticalHeader()->setDefaultSectionSize(ObjectTable->fontMetrics().height() + 4);
    QHeaderView* header = ObjectTable->horizontalHeader();
    header->setHighlightSections(false);
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(true);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // The name column's design width suits a 12-pixel face and grows with the font at hand;
    // the folder column takes whatever width the window leaves (its design width, 300, is
    // what the window leaves it at the design size), so a narrow window needs no scrolling.
    header->resizeSection(ObjectListModel::ColName, ScaledWidth(120, ObjectTable->fontMetrics()));
    // The size stands between the name and the folder, so that the folder still comes last.
    header->moveSection(header->visualIndex(ObjectListModel::ColSize), 1);
    header->resizeSection(ObjectListModel::ColSize, ScaledWidth(90, ObjectTable->fontMetrics()));
    header->setStretchLastSection(true);
    connect(header, &QHeaderView::sectionClicked, this,
            [this](int column) { RunCommand(this, [this, column] { SortObjectList(column); }); });
    connect(ObjectTable->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TCatalogForm::UpdateObjectCount);
    connect(ObjectTable, &QWidget::customContextMenuRequested, this, &TCatalogForm::ObjectTableContextPopup);

    // The filter box above the object list; nothing of it is kept between runs.
    auto* objectPane = new QWidget(this);
    objectPane->setObjectName(QStringLiteral("PnlObjects"));
    filterBox_ = new FilterBox(ObjectTable, objectPane);
    filterBox_->AddShortcuts(this, Qt::WindowShortcut);
    connect(filterBox_, &QLineEdit::textChanged, this, &TCatalogForm::FilterChanged);
    auto* objectLayout = new QVBoxLayout(objectPane);
    objectLayout->setContentsMargins(0, 0, 0, 0);
    objectLayout->setSpacing(2);
    objectLayout->addWidget(filterBox_);
    objectLayout->addWidget(ObjectTable);

    splitter_ = new QSplitter(Qt::Horizontal, this);
    splitter_->setObjectName(QStringLiteral("Splitter"));
    splitter_->setHandleWidth(5);
    splitter_->setChildrenCollapsible(false);
    splitter_->addWidget(PnlTree);
    splitter_->addWidget(objectPane);
    splitter_->setStretchFactor(0, 0);
    splitter_->setStretchFactor(1, 1);
    setCentralWidget(splitter_);
    // Tab goes from the tree to the filter box, the object list and back, never from cell
    // to cell.
    TreeView->setTabKeyNavigation(false);
    ObjectTable->setTabKeyNavigation(false);
    setTabOrder(TreeView, filterBox_);
    setTabOrder(filterBox_, ObjectTable);
    TreeView->setFocus();
}

void TCatalogForm::CreateStatusBar()
{
    statusBar()->setObjectName(QStringLiteral("StatusBar"));
    countPanel_ = new QLabel(statusBar());
    countPanel_->setObjectName(QStringLiteral("StatusPanel0"));
    sparePanel_ = new QLabel(statusBar());
    sparePanel_->setObjectName(QStringLiteral("StatusPanel1"));
    // The total keeps the width its text needs; the hint takes what is left and is cut.
    sparePanel_->setMinimumWidth(200);
    sparePanel_->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Preferred);
    hintPanel_ = new QLabel(statusBar());
    hintPanel_->setObjectName(QStringLiteral("StatusPanel2"));
    hintPanel_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    statusBar()->addWidget(countPanel_);
    statusBar()->addWidget(sparePanel_);
    statusBar()->addWidget(hintPanel_, 1);
}

// ---- the catalog tree --------------------------------------------------------------------

std::string TCatalogForm::CatalogName(int index) const
{
    return DisplayedName(store_->Catalog(index).FileName);
}

// A catalog that could not be read is shown greyed, with a crossed-out glyph and why in its
// tooltip: it can be selected and deleted, and nothing else.
QTreeWidgetItem* TCatalogForm::MakeNode(int index) const
{
    auto* node = new QTreeWidgetItem({Cp932ToDisplay(CatalogName(index))});
    if (store_->IsLoaded(index)) {
        node->setIcon(0, QIcon(QStringLiteral(":/app/catalog.svg")));
        return node;
    }
    node->setIcon(0, QIcon(QStringLiteral(":/app/catalog-unreadable.svg")));
    node->setForeground(0, TreeView->palette().brush(QPalette::Disabled, QPalette::Text));
    node->setToolTip(0, Cp932ToDisplay(NotLoadedMessage(CatalogName(index), store_->UnreadableReason(index))));
    return node;
}

void TCatalogForm::RebuildTree()
{
    const int shown = TreeView->currentItem() ? TreeView->indexOfTopLevelItem(TreeView->currentItem()) : -1;
    const QSignalBlocker blocker(TreeView);
    TreeView->clear();
    for (int i = 0; i < store_->Count(); ++i)
        TreeView->addTopLevelItem(MakeNode(i));
    if (store_->Count() > 0)
        SelectCatalog(shown >= 0 && shown < store_->Count() ? shown : store_->Count() - 1);
    else
        CatalogRemoved(-1);
}

void TCatalogForm::SelectCatalog(int index)
{
    QTreeWidgetItem* node = TreeView->topLevelItem(index);
    {
        const QSignalBlocker blocker(TreeView);
        TreeView->setCurrentItem(node);
    }
    TreeViewChange(node);
}

void TCatalogForm::StoreEdited(const CatalogEdit& edit)
{
    std::visit(Overloaded{
                   [this](const InsertCatalog& e) { CatalogInserted(e.index); },
                   [this](const RemoveCatalog& e) { CatalogRemoved(e.index); },
                   [this](const SetFileName& e) { CatalogRenamed(e.catalog); },
                   [this](const SetObjects& e) { SelectCatalog(e.catalog); },
                   [this](const InsertObjects& e) { ObjectsInserted(e); },
                   [this](const EraseObjects& e) { ObjectsErased(e); },
                   [this](const ReplaceList&) { RebuildTree(); },
               },
               edit);
}

void TCatalogForm::CatalogInserted(int index)
{
    TreeView->insertTopLevelItem(index, MakeNode(index));
    SelectCatalog(index);
}

// index: the catalog removed, -1 when the list was emptied another way.
void TCatalogForm::CatalogRemoved(int index)
{
    if (index >= 0) {
        const QSignalBlocker blocker(TreeView);
        delete TreeView->takeTopLevelItem(index);
    }
    if (rightClickedCatalog_ == index)
        rightClickedCatalog_ = -1;
    if (store_->IsEmpty()) {
        TreeView->setCurrentItem(nullptr);
        PnlTreeTop->setText(kTreeTopCaption);
        model_->SetObjects({});
        UpdateObjectCount();
        FollowSizes();
        return;
    }
    // The neighbour that takes the removed catalog's place: the next one, or the new last.
    SelectCatalog(std::min(index, store_->Count() - 1));
}

void TCatalogForm::CatalogRenamed(int index)
{
    QTreeWidgetItem* node = TreeView->topLevelItem(index);
    node->setText(0, Cp932ToDisplay(CatalogName(index)));
    if (TreeView->currentItem() == node)
        PnlTreeTop->setText(node->text(0));
    else
        SelectCatalog(index);
}

// The objects that entered are selected; a catalog not shown is shown first. A filter stays
// as it is: the objects it hides are counted, and said so.
void TCatalogForm::ObjectsInserted(const InsertObjects& edit)
{
    if (TreeView->currentItem() != TreeView->topLevelItem(edit.catalog)) {
        SelectCatalog(edit.catalog);
    } else {
        model_->InsertObjects(edit.positions, edit.paths);
        listSizes_->Insert(edit.positions, edit.paths);
        model_->SetHolders(listSizes_->Holders());
    }
    QItemSelection selection;
    const std::vector<int> rows = model_->RowsOf(edit.positions);
    for (std::size_t i = 0; i < rows.size();) {
        std::size_t last = i;
        while (last + 1 < rows.size() && rows[last + 1] == rows[last] + 1)
            ++last;
        selection.select(model_->index(rows[i], 0), model_->index(rows[last], ObjectListModel::ColumnCount - 1));
        i = last + 1;
    }
    ObjectTable->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    ShowHiddenAdded(static_cast<int>(edit.positions.size() - rows.size()));
    if (!rows.empty()) {
        ObjectTable->selectionModel()->setCurrentIndex(model_->index(rows.front(), 0), QItemSelectionModel::NoUpdate);
        ObjectTable->scrollTo(model_->index(rows.front(), 0));
    }
    UpdateObjectCount();
}

void TCatalogForm::ObjectsErased(const EraseObjects& edit)
{
    if (TreeView->currentItem() != TreeView->topLevelItem(edit.catalog)) {
        SelectCatalog(edit.catalog);
        return;
    }
    model_->EraseObjects(edit.positions);
    listSizes_->Erase(edit.positions);
    model_->SetHolders(listSizes_->Holders());
    UpdateObjectCount();
}

void TCatalogForm::Perform(CatalogEdit edit, const QString& text)
{
    history_->push(new CatalogEditCommand(*store_, store_->Apply(std::move(edit)), text));
}

void TCatalogForm::UndoExecute()
{
    history_->undo();
}

void TCatalogForm::RedoExecute()
{
    history_->redo();
}

void TCatalogForm::UpdateHistoryActions()
{
    const QString undo = history_->undoText();
    const QString redo = history_->redoText();
    ActE_Undo->setText(undo.isEmpty() ? QStringLiteral("元に戻す(&U)") : QStringLiteral("元に戻す(&U): %1").arg(undo));
    ActE_Undo->setStatusTip(undo.isEmpty() ? QString() : QStringLiteral("「%1」を元に戻します").arg(undo));
    ActE_Undo->setEnabled(history_->canUndo());
    ActE_Redo->setText(redo.isEmpty() ? QStringLiteral("やり直し(&R)") : QStringLiteral("やり直し(&R): %1").arg(redo));
    ActE_Redo->setStatusTip(redo.isEmpty() ? QString() : QStringLiteral("「%1」をやり直します").arg(redo));
    ActE_Redo->setEnabled(history_->canRedo());
}

void TCatalogForm::ModifiedChanged(bool modified)
{
    setWindowTitle(modified ? kCaption + kModifiedSuffix : kCaption);
    ActF_CatSave->setEnabled(modified);
}

void TCatalogForm::TreeViewChange(QTreeWidgetItem* node)
{
    if (!node)
        return;
    FillObjectList(TreeView->indexOfTopLevelItem(node));
    PnlTreeTop->setText(node->text(0));
}

void TCatalogForm::TreeViewContextPopup(const QPoint& pos)
{
    if (QTreeWidgetItem* node = TreeView->itemAt(pos)) {
        rightClickedCatalog_ = TreeView->indexOfTopLevelItem(node);
        TreeView->setCurrentItem(node);
    }
    UpdateActions();
    PopTree->exec(TreeView->viewport()->mapToGlobal(pos));
    rightClickedCatalog_ = -1;
}

void TCatalogForm::ObjectTableContextPopup(const QPoint& pos)
{
    UpdateActions();
    PopView->exec(ObjectTable->viewport()->mapToGlobal(pos));
}

int TCatalogForm::CurrentCatalogNode() const
{
    if (rightClickedCatalog_ >= 0 && rightClickedCatalog_ < store_->Count())
        return rightClickedCatalog_;
    QTreeWidgetItem* node = TreeView->currentItem();
    return node ? TreeView->indexOfTopLevelItem(node) : -1;
}

std::optional<int> TCatalogForm::CatalogToChange() const
{
    const int catalog = CurrentCatalogNode();
    if (catalog < 0)
        return std::nullopt;
    store_->CheckLoaded(catalog);
    return catalog;
}

// ---- the object list ---------------------------------------------------------------------

void TCatalogForm::FillObjectList(int catalog)
{
    const WaitCursor wait;
    {
        const FrozenView frozen(ObjectTable);
        const QSignalBlocker blocker(ObjectTable->selectionModel());
        model_->SetObjects(store_->Catalog(catalog).Objects);
        model_->Sort();
        ShowSortIndicator();
    }
    ShowHiddenAdded(0);
    UpdateObjectCount();
    FollowSizes();
}

void TCatalogForm::FilterChanged(const QString& text)
{
    model_->SetFilterText(text);
    ShowHiddenAdded(0);
    UpdateObjectCount();
}

// The note stays in the hint panel until the filter or the catalog changes.
void TCatalogForm::ShowHiddenAdded(int hidden)
{
    filterNote_ = Cp932ToDisplay(HiddenAddedText(hidden));
    ShowSizeHint();
}

void TCatalogForm::SortObjectList(int column)
{
    const WaitCursor wait;
    model_->SortByColumn(column);
    ShowSortIndicator();
}

void TCatalogForm::ShowSortIndicator()
{
    ObjectTable->horizontalHeader()->setSortIndicator(model_->Sorting().column, model_->Sorting().order);
}

void TCatalogForm::UpdateObjectCount()
{
    const int catalog = CurrentCatalogNode();
    const int selected = static_cast<int>(SelectedRows(*ObjectTable->selectionModel()).size());
    // The panel is narrow: why the catalog could not be read is in its tooltip.
    const std::string text = catalog >= 0 && !store_->IsLoaded(catalog)
        ? Cp932Text("読み込めないカタログです")
        : ObjectCountText(model_->Count(), selected, model_->FilteredTotal());
    countPanel_->setText(Cp932ToDisplay(text));
    UpdateActions();
}

void TCatalogForm::UpdateActions()
{
    const int catalog = CurrentCatalogNode();
    const bool hasCatalog = catalog >= 0;
    const bool loaded = hasCatalog && store_->IsLoaded(catalog);
    ActF_CatNew->setEnabled(true);
    ActF_CatDelete->setEnabled(hasCatalog);
    for (QAction* action : {ActF_CatUpdate, ActF_CatRename, ActI_ItemFileAdd})
        action->setEnabled(loaded);
    ActF_CatSave->setEnabled(store_->Modified());
    ActI_ItemDelete->setEnabled(ObjectTable->selectionModel()->hasSelection());
}

// ---- the window's life -------------------------------------------------------------------

void TCatalogForm::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (shown_)
        return;
    shown_ = true;
    RunCommand(this, [this] { FormShow(); });
    FitCountPanel();
    QMetaObject::invokeMethod(
        this, [this] { RunCommand(this, [this] { OfferJournalBack(); }); }, Qt::QueuedConnection);
}

void TCatalogForm::FormShow()
{
    if (!services_.startedMaximized) {
        LoadWindowPlacement(this, RegCatalogSubKey);
        // A placement stored on a larger screen still opens within this one.
        FitOnScreen(this);
    }
    const int treeWidth = RegReadInteger(RegGrepSubKey, RegPlaceTreeWidth, RegPlaceTreeWidthDefault);
    splitter_->setSizes({treeWidth, std::max(1, splitter_->width() - treeWidth)});
}

void TCatalogForm::FormDestroy()
{
    if (auto* viewer = findChild<HelpViewer*>(QString(), Qt::FindDirectChildrenOnly))
        viewer->Quit();
    if (!shown_)
        return;
    // A destructor may not throw: a placement that cannot be written is only a beep.
    try {
        SaveWindowPlacement(this, RegCatalogSubKey);
        RegWriteInteger(RegGrepSubKey, RegPlaceTreeWidth, PnlTree->width());
    } catch (const std::exception&) {
        MessageBeep();
    }
}

void TCatalogForm::closeEvent(QCloseEvent* event)
{
    const HeldCloseRequests held(this);
    bool mayClose = false;
    RunCommand(this, [this, &mayClose] { mayClose = store_->CloseQuery(*prompter_); });
    event->setAccepted(mayClose);
    if (!mayClose)
        return;
    // Closed without a save (No) or after one: nothing is left to recover.
    journal_->Clean();
    // The walks of a closed window are of no use: they end at once.
    listSizes_->Follow({});
}

void TCatalogForm::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    if (isVisible())
        FitCountPanel();
}

// The count panel takes a third of the status bar, which spans the window.
void TCatalogForm::FitCountPanel()
{
    countPanel_->setFixedWidth(width() / 3);
}

void TCatalogForm::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::ActivationChange)
        return;
    if (isActiveWindow()) {
        const auto folder = ToQtPath(store_->ProgramFolder());
        helpFile_ = FindHelpFile(folder.value_or(QString()));
        HelpViewer::Of(this)->SetHelpFile(helpFile_);
    } else {
        rightClickedCatalog_ = -1;
    }
}

// Menu hints go to the status bar only while a menu of the main menu is open.
bool TCatalogForm::event(QEvent* event)
{
    if (event->type() == QEvent::StatusTip && !menuHints_)
        return true;
    return QMainWindow::event(event);
}

void TCatalogForm::MenuOpened()
{
    ++openMenus_;
    menuHints_ = true;
    UpdateActions();
}

// Moving from one menu of the main menu to the next closes the first after the next has
// opened, or just before: the hints stop only once the program is idle with no menu open.
void TCatalogForm::MenuClosed()
{
    --openMenus_;
    QTimer::singleShot(0, this, [this] {
        if (openMenus_ > 0)
            return;
        menuHints_ = false;
        statusBar()->clearMessage();
    });
}
