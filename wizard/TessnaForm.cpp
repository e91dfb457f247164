#include "wizard/TessnaForm.h"

#include "catalog/CatalogEntry.h"
#include "catalog/CatalogFile.h"
#include "catalog/CatalogStore.h"
#include "support/core/Cp932.h"
#include "support/core/FileFacts.h"
#include "support/core/FileNames.h"
#include "support/core/HostPath.h"
#include "support/core/ListSizes.h"
#include "support/core/Beep.h"
#include "support/core/MessageDlg.h"
#include "support/core/RegistryLayout.h"
#include "support/ui/FileLabel.h"
#include "support/ui/HelpViewer.h"
#include "support/ui/RunCommand.h"
#include "support/ui/ScreenFit.h"
#include "support/ui/WindowPlacement.h"
#include "wizard/WizardObjectList.h"
#include "wizard/WizardObjectModel.h"
#include "wizard/WizardPicture.h"

#include <QApplication>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStackedWidget>
#include <QStyle>
#include <QVBoxLayout>

namespace {

constexpr int HelpContextNew = 2101;
constexpr int HelpContextModify = 2102;
constexpr QSize ClientSize(579, 329);
constexpr QSize PicturePanelSize(117, 272);

QLabel* Heading(const QString& text, QWidget* parent)
{
    auto* heading = new QLabel(text, parent);
    QFont font = heading->font();
    font.setBold(true);
    heading->setFont(font);
    return heading;
}

QString LinesText(const std::vector<std::string>& lines)
{
    QStringList texts;
    texts.reserve(static_cast<int>(lines.size()));
    for (const std::string& line : lines)
        texts.append(Cp932ToDisplay(line));
    return texts.join(QLatin1Char('\n'));
}

}  // namespace

TTessnaForm::TTessnaForm(const TCatalogParam& param, CatalogWizardServices services, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint
                         | Qt::WindowMaximizeButtonHint)
    , param_(param)
    , services_(std::move(services))
    , prompter_(this, services_.prompter)
{
    setObjectName(QStringLiteral("TessnaForm"));
    setWindowTitle(QStringLiteral("カタログ作成ウィザード"));

    notebook_ = new QStackedWidget(this);
    notebook_->setObjectName(QStringLiteral("Notebook"));
    notebook_->addWidget(CreatePage01());
    notebook_->addWidget(CreatePage02());
    notebook_->addWidget(CreatePage03());

    auto* body = new QHBoxLayout;
    body->addWidget(CreatePicture(), 0, Qt::AlignTop);
    body->addWidget(notebook_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body, 1);
    layout->addWidget(CreateButtonBar());

    FormCreate();
}

TTessnaForm::~TTessnaForm()
{
    FormDestroy();
}

void TTessnaForm::FormDestroy()
{
    if (!shown_)
        return;
    // A destructor may not throw: a size that cannot be written is only a beep.
    try {
        SaveWindowPlacement(this, RegWizardSubKey);
    } catch (const std::exception&) {
        MessageBeep();
    }
}

QWidget* TTessnaForm::CreatePicture()
{
    auto* panel = new QLabel(this);
    panel->setObjectName(QStringLiteral("PnlPicture"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setFixedSize(PicturePanelSize);
    panel->setScaledContents(true);
    panel->setPixmap(WizardPicture(panel->contentsRect().size(), devicePixelRatio()));
    return panel;
}

QWidget* TTessnaForm::CreatePage01()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("Page01"));
    edtCatName_ = new QLineEdit(page);
    edtCatName_->setObjectName(QStringLiteral("EdtCatName"));
    edtCatName_->installEventFilter(this);
    connect(edtCatName_, &QLineEdit::textChanged, this, &TTessnaForm::EdtCatNameChange);
    auto* nameLabel = new QLabel(QStringLiteral("カタログ名:"), page);
    nameLabel->setBuddy(edtCatName_);
    // The path the catalog file will have; page 3 shows it.
    auto* fileNameLabel = new QLabel(QStringLiteral("ファイル名："), page);
    fileNameLabel->hide();
    fileLabel_ = new TFileLabel(page);
    fileLabel_->setObjectName(QStringLiteral("FileLabel"));
    fileLabel_->SetSeparator(std::string(1, PathDelim));
    fileLabel_->SetDirection(TDirection::drFromLeft);
    fileLabel_->hide();

    // Shown in modify mode only: what the name box does to the catalog being changed.
    lblNewName_ = new QLabel(QStringLiteral("名前を変えると新しいカタログになり、このカタログはそのまま残ります。"), page);
    lblNewName_->setObjectName(QStringLiteral("LblNewName"));
    lblNewName_->setWordWrap(true);
    lblNewName_->hide();

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(Heading(QStringLiteral("作成するカタログ名の指定"), page));
    layout->addSpacing(16);
    layout->addWidget(nameLabel);
    layout->addWidget(edtCatName_);
    layout->addWidget(lblNewName_);
    layout->addWidget(fileNameLabel);
    layout->addWidget(fileLabel_);
    layout->addStretch();
    return page;
}

QWidget* TTessnaForm::CreatePage02()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("Page02"));
    objectList_ = new WizardObjectList(
        {&*prompter_, services_.runObjectChooser, services_.sizes, services_.sizeOptions}, page);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(Heading(QStringLiteral("圧縮するオブジェクトの指定"), page));
    layout->addWidget(objectList_, 1);
    return page;
}

QWidget* TTessnaForm::CreatePage03()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("Page03"));
    lblFinal_ = new QLabel(QStringLiteral("完了ボタンを押すとカタログリストに反映します。ファイルへは保存したときに書き込みます。"), page);
    lblFinal_->setObjectName(QStringLiteral("LblFinal"));
    lblCatFileName_ = new QLabel(page);
    lblCatFileName_->setObjectName(QStringLiteral("LblCatFileName"));
    lblCatFileName_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    memoFin_ = new QPlainTextEdit(page);
    memoFin_->setObjectName(QStringLiteral("MemoFin"));
    memoFin_->setReadOnly(true);
    memoFin_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    memoFin_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memoFin_->setLineWrapMode(QPlainTextEdit::NoWrap);
    memoFin_->setAccessibleName(QStringLiteral("カタログの内容"));
    memoFin_->setAccessibleDescription(QStringLiteral("保存されるカタログファイルの内容"));
    QPalette palette = memoFin_->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    memoFin_->setPalette(palette);
    lblCatTotal_ = new QLabel(page);
    lblCatTotal_->setObjectName(QStringLiteral("LblCatTotal"));
    lblCatTotal_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblCatTotal_->setAccessibleName(QStringLiteral("カタログの合計サイズ"));
    connect(&objectList_->Sizes(), &ListSizes::TotalChanged, this, &TTessnaForm::ShowCatalogTotal);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(new QLabel(QStringLiteral("カタログ定義操作は終了しました。"), page));
    layout->addWidget(lblFinal_);
    layout->addWidget(lblCatFileName_);
    layout->addWidget(memoFin_, 1);
    layout->addWidget(lblCatTotal_);
    return page;
}

QWidget* TTessnaForm::CreateButtonBar()
{
    auto* bar = new QWidget(this);
    auto* line = new QFrame(bar);
    line->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    line->setLineWidth(1);

    const auto button = [this, bar](const QString& text, const char* name, void (TTessnaForm::*click)()) {
        auto* btn = new QPushButton(text, bar);
        btn->setObjectName(QString::fromLatin1(name));
        btn->setAutoDefault(false);
        btn->setDefault(false);
        connect(btn, &QPushButton::clicked, this, [this, click] { RunCommand(this, [this, click] { (this->*click)(); }); });
        return btn;
    };
    btnBack_ = button(QStringLiteral("< 戻る(&B)"), "BtnBack", &TTessnaForm::BtnBackClick);
    btnNext_ = button(QStringLiteral("次へ(&N)"), "BtnNext", &TTessnaForm::BtnNextClick);
    btnCancel_ = button(QStringLiteral("キャンセル"), "BtnCancel", &TTessnaForm::BtnCancelClick);
    btnHelp_ = button(QStringLiteral("ヘルプ"), "BtnHelp", &TTessnaForm::BtnHelpClick);
    btnBack_->setAccessibleName(QStringLiteral("戻る"));
    btnCancel_->setToolTip(QStringLiteral("キャンセル (Esc)"));
    btnHelp_->setToolTip(QStringLiteral("ヘルプ (F1)"));
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, btnHelp_, &QPushButton::click);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnBack_);
    buttons->addWidget(btnNext_);
    buttons->addSpacing(8);
    buttons->addWidget(btnCancel_);
    buttons->addWidget(btnHelp_);
    auto* layout = new QVBoxLayout(bar);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(line);
    layout->addLayout(buttons);
    return bar;
}

void TTessnaForm::FormCreate()
{
    QFont font = this->font();
    font.setFamily(QFontDatabase::systemFont(QFontDatabase::GeneralFont).family());
    setFont(font);
    firstActivation_ = true;
    cancelled_ = true;
    notebook_->setCurrentIndex(Page01);
    UpdateButtons();
    // The designed size is the smallest; a larger wizard gives the room to the lists. It
    // gives page 3's closing words one line; a wizard narrowed to fit a small screen wraps
    // them instead of cutting them off.
    resize(ClientSize.expandedTo(sizeHint()));
    setMinimumSize(size());
    lblFinal_->setWordWrap(true);
    setSizeGripEnabled(true);
}

int TTessnaForm::CurrentPage() const
{
    return notebook_->currentIndex();
}

std::string TTessnaForm::CatalogFilePath() const
{
    return fileLabel_->FileName();
}

void TTessnaForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!shown_) {
        shown_ = true;
        RunCommand(this, [this] { FormShow(); });
    }
}

void TTessnaForm::FormShow()
{
    // The size (and the maximised state) the user left it in; it still opens centred.
    LoadWindowPlacement(this, RegWizardSubKey);
    if (QScreen* screen = QApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    FitOnScreen(this);
    activateWindow();
    modifyMode_ = !param_.FileName.empty();
    if (!modifyMode_)
        return;
    edtCatName_->setText(Cp932ToDisplay(DisplayedName(param_.FileName)));
    fileLabel_->SetFileName(param_.FileName);
    lblNewName_->show();
    objectList_->AddWizardRows(param_.InitialObjects);
}

bool TTessnaForm::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate)
        FormActivate();
    return QDialog::event(event);
}

void TTessnaForm::FormActivate()
{
    if (!firstActivation_)
        return;
    firstActivation_ = false;
    edtCatName_->setFocus();
}

void TTessnaForm::EdtCatNameChange()
{
    const std::string name = QStringToCp932(edtCatName_->text()).value_or(std::string());
    fileLabel_->SetFileName(CatalogStore::CatalogFileNameIn(services_.programFolder, name));
}

bool TTessnaForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == edtCatName_ && event->type() == QEvent::KeyPress)
        return EdtCatNameKeyPress(static_cast<QKeyEvent*>(event));
    return QDialog::eventFilter(watched, event);
}

bool TTessnaForm::EdtCatNameKeyPress(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        RunCommand(this, [this] { BtnNextClick(); });
        return true;
    }
    const QString text = event->text();
    return text.size() == 1 && text.front().unicode() < 0x80
        && FilterNameChar(static_cast<char>(text.front().unicode()), false) == '\0';
}

void TTessnaForm::keyPressEvent(QKeyEvent* event)
{
    // No button of the wizard is the default: Enter presses the button that has the focus
    // and nothing else. Esc is the cancel button, with its question.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter) {
        if (auto* button = qobject_cast<QPushButton*>(focusWidget()); button && button->isEnabled())
            button->click();
    }
    if (event->key() == Qt::Key_Escape)
        RunCommand(this, [this] { BtnCancelClick(); });
    if (enter || event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TTessnaForm::UpdateButtons()
{
    btnBack_->setEnabled(CurrentPage() != Page01);
    btnNext_->setText(CurrentPage() == Page03 ? QStringLiteral("完了(&F)") : QStringLiteral("次へ(&N)"));
}

void TTessnaForm::GoToPage(Page page)
{
    notebook_->setCurrentIndex(page);
    UpdateButtons();
    if (page == Page03)
        ShowSummary();
}

void TTessnaForm::BtnNextClick()
{
    switch (CurrentPage()) {
    case Page01:
        if (AcceptName())
            GoToPage(Page02);
        return;
    case Page02:
        if (objectList_->RowCount() == 0) {
            prompter_->ShowMessageDlg(Cp932Text("圧縮するオブジェクトを指定してください。"), MsgDlgType::mtInformation,
                                   mbOK, 0);
            return;
        }
        GoToPage(Page03);
        return;
    default:
        Finish();
        return;
    }
}

// The name must pass the catalog-name rule, unless it is the name of the catalog being
// changed. Whatever the user entered stays as it was when a name is refused.
bool TTessnaForm::AcceptName()
{
    const std::optional<std::string> name = QStringToCp932(edtCatName_->text());
    const auto refuse = [this](const std::string& message) {
        prompter_->ShowMessageDlg(message, MsgDlgType::mtError, mbOK, 0);
        edtCatName_->setFocus();
        return false;
    };
    if (edtCatName_->text().isEmpty())
        return refuse(Cp932Text("カタログ名を指定してください。"));
    if (!name)
        return refuse(Cp932Text("カタログ名に Shift-JIS で表せない文字が含まれています。")
                      + Cp932Problem(edtCatName_->text()));
    if (modifyMode_ && *name == DisplayedName(param_.FileName))
        return true;
    const std::string problem = services_.checkName
        ? services_.checkName(*name)
        : CatalogNameProblem(*name, services_.programFolder, {});
    if (problem.empty())
        return true;
    if (!OfferExistingFile(problem))
        return refuse(problem);
    return false;
}

// A name refused because its file is on disk but not listed may list that file instead,
// while the wizard holds no objects that would be lost with it. Yes ends the wizard.
bool TTessnaForm::OfferExistingFile(const std::string& problem)
{
    const std::string file = fileLabel_->FileName();
    if (!services_.listExistingFile || objectList_->RowCount() > 0 || problem != UnlistedFileMessage(file)
        || !IsExistingFile(file))
        return false;
    if (prompter_->ShowMessageDlg(UnlistedFileOffer(file), MsgDlgType::mtConfirmation, mbYesNo, 0) != mrYes) {
        edtCatName_->setFocus();
        return true;
    }
    services_.listExistingFile(file);
    reject();
    return true;
}

void TTessnaForm::BtnBackClick()
{
    if (CurrentPage() != Page01)
        notebook_->setCurrentIndex(CurrentPage() - 1);
    UpdateButtons();
}

void TTessnaForm::BtnCancelClick()
{
    if (!edtCatName_->text().isEmpty() || objectList_->RowCount() > 0) {
        if (prompter_->ShowMessageDlg(Cp932Text("終了しますか？"), MsgDlgType::mtConfirmation, mbYesNo, 0) != mrYes)
            return;
    }
    reject();
}

void TTessnaForm::BtnHelpClick()
{
    const int context = modifyMode_ ? HelpContextModify : HelpContextNew;
    if (services_.showHelp)
        services_.showHelp(context);
    else
        HelpViewer::Of(this)->ShowContext(context);
}

void TTessnaForm::BuildCommonLines()
{
    commonLines_ = CatalogCommonLines(QStringToCp932(edtCatName_->text()).value_or(std::string()));
}

void TTessnaForm::BuildOptionsLines()
{
    optionsLines_.clear();
}

void TTessnaForm::BuildObjectLines()
{
    objectLines_ = objectList_->Model().Paths();
}

void TTessnaForm::ShowSummary()
{
    lblCatFileName_->setText(Cp932ToDisplay(CatalogFilePath()));
    BuildCommonLines();
    BuildOptionsLines();
    BuildObjectLines();
    memoFin_->setPlainText(LinesText(ComposeCatalogText(commonLines_, optionsLines_, objectLines_)));
    ShowCatalogTotal();
}

void TTessnaForm::ShowCatalogTotal()
{
    const ListSizes& sizes = objectList_->Sizes();
    lblCatTotal_->setText(sizes.TotalText());
    lblCatTotal_->setToolTip(sizes.TotalToolTip());
}

void TTessnaForm::done(int result)
{
    objectList_->StopSizes();
    QDialog::done(result);
}

void TTessnaForm::Finish()
{
    cancelled_ = false;
    BuildCommonLines();
    BuildOptionsLines();
    BuildObjectLines();
    param_.Common = commonLines_;
    param_.Options = optionsLines_;
    param_.Objects = objectLines_;
    accept();
}

QDialog::DialogCode RunCatalogWizard(QWidget* owner, TCatalogParam& param,
                                     const CatalogWizardServices& services)
{
    TTessnaForm wizard(param, services, owner);
    wizard.exec();
    if (wizard.Cancelled())
        return QDialog::Rejected;
    param = wizard.Param();
    return QDialog::Accepted;
}
