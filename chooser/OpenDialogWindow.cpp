#include "chooser/OpenDialogWindow.h"

#include "chooser/FolderModel.h"
#include "chooser/KnownFolders.h"
#include "chooser/MessageText.h"
#include "chooser/TypedNames.h"
#include "support/core/MessageDlg.h"
#include "support/ui/UIFonts.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

const QString ComputerCaption = QStringLiteral("コンピュータ");

bool IsAllFilesPattern(const QString& pattern)
{
    return pattern == u"*" || pattern == u"*.*";
}

QString QuotedNames(const QStringList& names)
{
    if (names.size() == 1)
        return names.front();
    QStringList quoted;
    for (const QString& name : names)
        quoted.append(u'"' + name + u'"');
    return quoted.join(u' ');
}

QPushButton* MakeButton(const QString& caption, const QString& name, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    // Enter is the dialog's own business (it presses OK), never a button's default.
    button->setAutoDefault(false);
    return button;
}

// The folder a dialog given no folder of its own starts in. It starts as the user's home
// (the process's current folder is wherever the program happened to be started, often the
// folder of its executables) and then follows the folder each dialog closed in, or the
// folder of the object a confirmed dialog chose, so the next chooser of the run opens
// where the last one was left.
QString& CurrentDirectory()
{
    static QString folder = QDir::homePath();
    return folder;
}

// Whether the file lists show hidden entries; Ctrl+H switches it for the rest of the run.
bool& ShowHiddenEntries()
{
    static bool show = false;
    return show;
}

}  // namespace

OpenDialogWindow::OpenDialogWindow(QWidget* parent, const OpenDialogServices& services)
    : QDialog(parent)
    , prompter_(this, services.prompter, BoxOwner::Window)
{
    setObjectName(QStringLiteral("OpenDialog"));
    setModal(true);
    BuildControls();
    resize(900, 560);
}

OpenDialogWindow::~OpenDialogWindow() = default;

void OpenDialogWindow::BuildControls()
{
    model_ = new FolderModel(this);

    auto* outer = new QVBoxLayout(this);
    templateDialog_ = new QWidget(this);
    templateDialog_->setObjectName(QStringLiteral("TemplateDialog"));
    outer->addWidget(templateDialog_);
    auto* columns = new QHBoxLayout(templateDialog_);
    columns->setContentsMargins(0, 0, 0, 0);
    sideArea_ = new QVBoxLayout;
    columns->addLayout(sideArea_);
    grid_ = new QGridLayout;
    columns->addLayout(grid_, 1);

    auto* folderLabel = new QLabel(QStringLiteral("ファイルの場所(&I):"), templateDialog_);
    folderBar_ = new QLineEdit(templateDialog_);
    folderBar_->setObjectName(QStringLiteral("FolderBar"));
    folderLabel->setBuddy(folderBar_);
    upButton_ = new QToolButton(templateDialog_);
    upButton_->setObjectName(QStringLiteral("UpButton"));
    upButton_->setArrowType(Qt::UpArrow);
    upButton_->setToolTip(QStringLiteral("1 つ上のフォルダへ (BackSpace)"));
    upButton_->setAccessibleName(QStringLiteral("1 つ上のフォルダへ"));
    grid_->addWidget(folderLabel, 0, 0);
    grid_->addWidget(folderBar_, 0, 1);
    grid_->addWidget(upButton_, 0, 2, Qt::AlignLeft);

    fileList_ = new QTreeView(templateDialog_);
    fileList_->setObjectName(QStringLiteral("FileList"));
    fileList_->setModel(model_);
    fileList_->setRootIsDecorated(false);
    fileList_->setItemsExpandable(false);
    fileList_->setUniformRowHeights(true);   // a huge folder is laid out without measuring rows
    fileList_->setSortingEnabled(true);
    fileList_->sortByColumn(0, Qt::AscendingOrder);
    fileList_->setSelectionBehavior(QAbstractItemView::SelectRows);
    fileList_->setSelectionMode(QAbstractItemView::SingleSelection);
    fileList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // The widths grow with the font at hand; the size column holds a size of 10 GB.
    const QFontMetrics metrics = fileList_->fontMetrics();
    fileList_->header()->resizeSection(0, ScaledWidth(280, metrics));
    fileList_->header()->resizeSection(
        1, std::max(ScaledWidth(90, metrics), metrics.horizontalAdvance(QStringLiteral("99,999,999 KB")) + 16));
    fileList_->header()->resizeSection(2, ScaledWidth(170, metrics));
    fileList_->installEventFilter(this);
    fileList_->setTabKeyNavigation(false);
    fileList_->setAccessibleName(QStringLiteral("ファイル一覧"));
    fileList_->setAccessibleDescription(QStringLiteral("表示しているフォルダのファイルとフォルダ。Ctrl+H で隠しファイルを表示または非表示にします"));
    loading_ = new QLabel(QStringLiteral("フォルダを読み込んでいます..."), fileList_->viewport());
    loading_->setObjectName(QStringLiteral("LoadingLabel"));
    loading_->move(8, 8);
    loading_->hide();
    connect(model_, &FolderModel::loaded, this, [this] { ShowLoading(false); });
    grid_->addWidget(fileList_, 1, 0, 1, 3);
    grid_->setRowStretch(1, 1);
    grid_->setColumnStretch(1, 1);

    fileNameLabel_ = new QLabel(QStringLiteral("ファイル名(&N):"), templateDialog_);
    fileNameLabel_->setObjectName(QStringLiteral("stc3"));
    fileName_ = new QLineEdit(templateDialog_);
    fileName_->setObjectName(QStringLiteral("edt1"));
    fileNameLabel_->setBuddy(fileName_);
    okButton_ = MakeButton(QStringLiteral("開く(&O)"), QStringLiteral("IDOK"), templateDialog_);
    grid_->addWidget(fileNameLabel_, 2, 0);
    grid_->addWidget(fileName_, 2, 1);
    grid_->addWidget(okButton_, 2, 2);

    fileTypeLabel_ = new QLabel(QStringLiteral("ファイルの種類(&T):"), templateDialog_);
    fileTypeLabel_->setObjectName(QStringLiteral("stc2"));
    fileTypes_ = new QComboBox(templateDialog_);
    fileTypes_->setObjectName(QStringLiteral("cmb1"));
    fileTypeLabel_->setBuddy(fileTypes_);
    // A combo box is read by its current item unless it is named.
    fileTypes_->setAccessibleName(QStringLiteral("ファイルの種類"));
    cancelButton_ = MakeButton(QStringLiteral("キャンセル"), QStringLiteral("IDCANCEL"), templateDialog_);
    grid_->addWidget(fileTypeLabel_, 3, 0);
    grid_->addWidget(fileTypes_, 3, 1);
    grid_->addWidget(cancelButton_, 3, 2);
    firstTemplateRow_ = 4;

    items_ = {{IDOK, okButton_}, {IDCANCEL, cancelButton_}, {stc2, fileTypeLabel_},
              {stc3, fileNameLabel_}, {cmb1, fileTypes_}, {edt1, fileName_}};

    model_->SetShowHidden(ShowHiddenEntries());
    auto* hiddenShortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_H), this);
    hiddenShortcut->setObjectName(QStringLiteral("ShowHiddenShortcut"));
    connect(hiddenShortcut, &QShortcut::activated, this, &OpenDialogWindow::ToggleHiddenEntries);

    connect(folderBar_, &QLineEdit::returnPressed, this, &OpenDialogWindow::OnFolderBarEntered);
    connect(upButton_, &QToolButton::clicked, this, &OpenDialogWindow::GoUp);
    connect(fileList_, &QTreeView::doubleClicked, this, &OpenDialogWindow::OnDoubleClicked);
    connect(fileList_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &OpenDialogWindow::OnSelectionChanged);
    connect(okButton_, &QPushButton::clicked, this, &OpenDialogWindow::PressOk);
    connect(cancelButton_, &QPushButton::clicked, this, &OpenDialogWindow::reject);
    connect(fileTypes_, &QComboBox::activated, this, [this](int index) {
        ApplyFileType(index);
        emit typeChanged();
    });
    fileName_->setFocus();
}

void OpenDialogWindow::SetFileTypes(const QList<FileType>& types, int index)
{
    types_ = types;
    fileTypes_->clear();
    for (const FileType& type : types)
        fileTypes_->addItem(type.caption);
    const int current = types.isEmpty() ? -1 : std::clamp(index - 1, 0, int(types.size()) - 1);
    fileTypes_->setCurrentIndex(current);
    ApplyFileType(current);
}

void OpenDialogWindow::SetMultiSelect(bool multiSelect)
{
    multiSelect_ = multiSelect;
    fileList_->setSelectionMode(multiSelect ? QAbstractItemView::ExtendedSelection
                                            : QAbstractItemView::SingleSelection);
}

void OpenDialogWindow::SetSizing(bool sizing)
{
    setSizeGripEnabled(sizing);
    if (!sizing)
        setFixedSize(size());
}

void OpenDialogWindow::StartIn(const QString& folder)
{
    if (!folder.isEmpty() && ShowFolder(folder))
        return;
    if (!ShowFolder(CurrentDirectory()))
        ShowFolder(QDir::homePath());
}

void OpenDialogWindow::ToggleHiddenEntries()
{
    ShowHiddenEntries() = !ShowHiddenEntries();
    model_->SetShowHidden(ShowHiddenEntries());
}

bool OpenDialogWindow::ShowFolder(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isDir())
        return false;
    SetRoot(QDir::cleanPath(info.absoluteFilePath()));
    return true;
}

void OpenDialogWindow::ShowComputer()
{
    SetRoot(QString());
}

void OpenDialogWindow::GoUp()
{
    if (folder_.isEmpty())
        return;
    if (folder_ == u"/") {
        ShowComputer();
        return;
    }
    ShowFolder(QFileInfo(folder_).path());
}

void OpenDialogWindow::SetRoot(const QString& folder)
{
    fileList_->selectionModel()->clear();
    chosenNames_.clear();
    folder_ = folder;
    model_->Load(folder);
    ShowLoading(true);
    fileList_->scrollToTop();
    folderBar_->setText(folder.isEmpty() ? ComputerCaption : QDir::toNativeSeparators(folder));
    upButton_->setEnabled(!folder.isEmpty());
    emit folderChanged();
}

// A large folder takes a moment to read; the list says so instead of looking empty.
void OpenDialogWindow::ShowLoading(bool loading)
{
    loading_->setVisible(loading && model_->IsLoading());
    loading_->adjustSize();
    if (loading)
        fileList_->viewport()->setCursor(Qt::BusyCursor);
    else
        fileList_->viewport()->unsetCursor();
}

void OpenDialogWindow::ApplyFileType(int index)
{
    if (index < 0 || index >= types_.size()) {
        model_->SetNameFilters({});
        return;
    }
    const QStringList& patterns = types_[index].patterns;
    const bool all = patterns.isEmpty() || std::any_of(patterns.begin(), patterns.end(), IsAllFilesPattern);
    model_->SetNameFilters(all ? QStringList() : patterns);
}

int OpenDialogWindow::FileTypeIndex() const
{
    return fileTypes_->currentIndex() + 1;
}

QModelIndex OpenDialogWindow::ListIndexOf(const QString& path) const
{
    return model_->IndexOf(path);
}

// The selected rows of the file list, in list order.
QList<QModelIndex> OpenDialogWindow::SelectedIndexes() const
{
    QModelIndexList rows = fileList_->selectionModel()->selectedRows(0);
    std::sort(rows.begin(), rows.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    return rows;
}

QList<OpenDialogWindow::Entry> OpenDialogWindow::SelectedEntries() const
{
    QList<Entry> entries;
    for (const QModelIndex& index : SelectedIndexes())
        entries.append({model_->FileName(index), model_->IsDir(index)});
    return entries;
}

void OpenDialogWindow::OnSelectionChanged()
{
    QStringList files;
    for (const Entry& entry : SelectedEntries()) {
        if (!entry.isFolder)
            files.append(entry.name);
    }
    if (!files.isEmpty())
        SetChosenText(QuotedNames(files), files);
    emit selectionChanged();
}

void OpenDialogWindow::OnDoubleClicked(const QModelIndex& index)
{
    if (model_->IsDir(index)) {
        ShowFolder(model_->FilePath(index));
        return;
    }
    PressOk();
}

void OpenDialogWindow::OnListEnter()
{
    const QList<QModelIndex> selected = SelectedIndexes();
    if (selected.size() == 1 && model_->IsDir(selected.front())) {
        ShowFolder(model_->FilePath(selected.front()));
        return;
    }
    PressOk();
}

void OpenDialogWindow::OnFolderBarEntered()
{
    const QString text = folderBar_->text().trimmed();
    if (text == ComputerCaption || NavigateTo(text))
        return;
    Tell(text + QStringLiteral("\nフォルダが見つかりません。"));
    folderBar_->setText(folder_.isEmpty() ? ComputerCaption : QDir::toNativeSeparators(folder_));
}

void OpenDialogWindow::SetChosenText(const QString& text, const QStringList& names)
{
    chosenText_ = text;
    chosenNames_ = names;
    fileName_->setText(text);
}

void OpenDialogWindow::PressOk()
{
    const bool chosen = !chosenNames_.isEmpty() && fileName_->text() == chosenText_;
    const QStringList names = chosen ? chosenNames_ : TypedNames(fileName_->text());
    if (names.isEmpty()) {
        const QList<Entry> entries = SelectedEntries();
        if (entries.size() == 1 && entries.front().isFolder)
            OnListEnter();
        return;
    }
    // A name chosen in the list is never taken for a folder to show or a pattern.
    if (names.size() == 1 && !chosen && NavigateTo(names.front())) {
        fileName_->clear();
        return;
    }
    if (names.size() > 1 && !multiSelect_) {
        Tell(QStringLiteral("複数のファイルを選択することはできません。"));
        return;
    }
    QStringList paths;
    for (const QString& name : names) {
        QString path = Resolve(name);
        if (path.isEmpty()) {
            Tell(name + QStringLiteral("\nパスが見つかりません。"));
            return;
        }
        if (!defaultExt_.isEmpty() && !QFileInfo(path).fileName().contains(u'.')
            && !QFileInfo::exists(path))
            path += u'.' + defaultExt_;
        if (!CheckResult(path))
            return;
        paths.append(path);
    }
    if (resultCheck_ && !resultCheck_(paths))
        return;
    resultPaths_ = paths;
    accept();
}

void OpenDialogWindow::JumpTo(const QString& text)
{
    if (text.isEmpty() || NavigateTo(text))
        return;
    Tell(text + QStringLiteral("\nフォルダが見つかりません。"));
}

bool OpenDialogWindow::NavigateTo(const QString& name)
{
    const QString computer = QString::fromLatin1(ComputerFolderName);
    if (name.startsWith(computer, Qt::CaseInsensitive)) {
        // The computer folder's children are the volumes mounted under the root.
        const QString rest = name.mid(computer.size());
        if (rest.isEmpty() || rest == u"/") {
            ShowComputer();
            return true;
        }
        return ShowFolder(rest.startsWith(u'/') ? rest : u'/' + rest);
    }
    const QString path = Resolve(name);
    if (path.isEmpty())
        return false;
    if (IsNamePattern(name) && !NamesAnEntry(name)) {
        const QFileInfo info(path);
        if (!QFileInfo(info.path()).isDir())
            return false;
        if (info.path() != folder_)
            ShowFolder(info.path());
        model_->SetNameFilters({info.fileName()});
        return true;
    }
    return ShowFolder(path);
}

QString OpenDialogWindow::Resolve(const QString& name) const
{
    if (QDir::isAbsolutePath(name))
        return QDir::cleanPath(name);
    if (folder_.isEmpty())
        return {};
    return QDir::cleanPath(folder_ + u'/' + name);
}

// Something, also a link that leads nowhere, is there under this name.
bool OpenDialogWindow::NamesAnEntry(const QString& name) const
{
    const QString path = Resolve(name);
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// A typed text that names an entry as it stands (also with quotes, "*" or "?" in it) is that
// one name; otherwise it is split into names (SplitTypedNames).
QStringList OpenDialogWindow::TypedNames(const QString& text) const
{
    if (!text.isEmpty() && NamesAnEntry(text))
        return {text};
    const QString trimmed = text.trimmed();
    if (!trimmed.isEmpty() && NamesAnEntry(trimmed))
        return {trimmed};
    return SplitTypedNames(text);
}

bool OpenDialogWindow::CheckResult(const QString& path)
{
    const QFileInfo info(path);
    if (pathMustExist_ && !QFileInfo(info.path()).isDir()) {
        Tell(path + QStringLiteral("\nパスが見つかりません。\nパス名が正しいか確認してください。"));
        return false;
    }
    if (fileMustExist_ && !info.exists()) {
        Tell(path + QStringLiteral("\nファイルが見つかりません。\nファイル名が正しいか確認してください。"));
        return false;
    }
    return true;
}

void OpenDialogWindow::Tell(const QString& text)
{
    prompter_->ShowMessageText(text, MsgDlgType::mtWarning, mbOK, 0);
}

void OpenDialogWindow::AddTemplateControl(QWidget* control, int id)
{
    items_.insert(id, control);
    templateControls_.append(control);
    if (auto* button = qobject_cast<QAbstractButton*>(control))
        connect(button, &QAbstractButton::clicked, this, [this, id] { emit templateCommand(id); });
    else if (auto* combo = qobject_cast<QComboBox*>(control))
        connect(combo, &QComboBox::activated, this, [this, id] { emit templateCommand(id); });
}

void OpenDialogWindow::HideOkButton()
{
    grid_->removeWidget(okButton_);
    okButton_->hide();
    grid_->removeWidget(fileName_);
    grid_->addWidget(fileName_, 2, 1, 1, 2);
}

void OpenDialogWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (initDone_)
        return;
    initDone_ = true;
    emit initDone();
    ChainTabs();
    // The folder shown first is announced once the dialog is set up, like every later one.
    emit folderChanged();
}

void OpenDialogWindow::ChainTabs()
{
    QList<QWidget*> chain;
    for (int i = 0; i < sideArea_->count(); ++i) {
        if (QWidget* side = sideArea_->itemAt(i)->widget())
            chain += side->findChildren<QWidget*>();
    }
    chain += {folderBar_, upButton_, fileList_, fileName_, okButton_, fileTypes_};
    QList<QWidget*> added = templateControls_;
    const auto cell = [this](QWidget* control) {
        int row = 0;
        int column = 0;
        int rowSpan = 0;
        int columnSpan = 0;
        if (const int index = grid_->indexOf(control); index >= 0)
            grid_->getItemPosition(index, &row, &column, &rowSpan, &columnSpan);
        return std::pair(row, column);
    };
    std::stable_sort(added.begin(), added.end(), [&](QWidget* a, QWidget* b) { return cell(a) < cell(b); });
    chain += added;
    chain.append(cancelButton_);
    chain.removeIf([](const QWidget* widget) { return !(widget->focusPolicy() & Qt::TabFocus); });
    for (qsizetype i = 1; i < chain.size(); ++i)
        setTabOrder(chain[i - 1], chain[i]);
}

void OpenDialogWindow::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (!enter) {
        QDialog::keyPressEvent(event);
        return;
    }
    // The folder bar and the lists (the places) act on Enter themselves.
    QWidget* focus = focusWidget();
    if (focus == folderBar_ || qobject_cast<QAbstractItemView*>(focus))
        return;
    if (auto* button = qobject_cast<QAbstractButton*>(focus)) {
        button->click();
        return;
    }
    PressOk();
}

bool OpenDialogWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != fileList_ || event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        OnListEnter();
        return true;
    }
    if (key == Qt::Key_Backspace) {
        GoUp();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void OpenDialogWindow::done(int result)
{
    // A chosen path typed in full names its own folder; the computer folder has no path,
    // and closing there leaves the folder remembered as it was.
    const QString chosenFolder
        = result == Accepted && !resultPaths_.isEmpty() ? QFileInfo(resultPaths_.front()).path() : folder_;
    if (!chosenFolder.isEmpty() && QFileInfo(chosenFolder).isDir())
        CurrentDirectory() = chosenFolder;
    emit closing();
    QDialog::done(result);
}
