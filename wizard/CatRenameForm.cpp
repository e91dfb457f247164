#include "wizard/CatRenameForm.h"

#include "support/core/Cp932.h"
#include "support/core/FileNames.h"
#include "support/core/MessageDlg.h"
#include "wizard/MoveFormNearOwner.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// What stays of a name without its leading and trailing blanks and control characters.
bool IsBlankName(const QString& text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() <= 0x20; });
}

QLabel* RightAlignedLabel(const QString& caption, QWidget* buddy, QWidget* parent)
{
    auto* label = new QLabel(caption, parent);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setBuddy(buddy);
    return label;
}

}  // namespace

TCatRenameForm::TCatRenameForm(QWidget* owner, RenameDialogServices services)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                         | Qt::WindowCloseButtonHint)
    , owner_(owner)
    , services_(std::move(services))
    , prompter_(this, services_.prompter)
{
    setObjectName(QStringLiteral("CatRenameForm"));
    setWindowTitle(QStringLiteral("カタログ名の名前変更"));

    TxtOld = new QLineEdit(this);
    TxtOld->setObjectName(QStringLiteral("TxtOld"));
    TxtOld->setReadOnly(true);
    TxtOld->setFocusPolicy(Qt::ClickFocus);
    TxtOld->setStyleSheet(QStringLiteral("QLineEdit { background: palette(button); }"));
    TxtNew = new QLineEdit(this);
    TxtNew->setObjectName(QStringLiteral("TxtNew"));
    TxtNew->installEventFilter(this);
    btnOK = new QPushButton(QStringLiteral("&OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setEnabled(false);
    btnCancel = new QPushButton(QStringLiteral("キャンセル(&C)"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    auto* picture = new QLabel(this);
    picture->setPixmap(style()->standardIcon(QStyle::SP_FileDialogDetailedView).pixmap(32, 32));
    picture->setAlignment(Qt::AlignTop);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    buttons->addStretch();
    auto* grid = new QGridLayout(this);
    grid->addWidget(picture, 0, 0, 2, 1);
    grid->addWidget(RightAlignedLabel(QStringLiteral("変更前(&O)："), TxtOld, this), 0, 1);
    grid->addWidget(TxtOld, 0, 2);
    grid->addWidget(RightAlignedLabel(QStringLiteral("変更後(&N)："), TxtNew, this), 1, 1);
    grid->addWidget(TxtNew, 1, 2);
    grid->addLayout(buttons, 0, 3, 3, 1);
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(2, 1);
    resize(QSize(359, 117).expandedTo(sizeHint()));
    setFixedSize(size());

    connect(TxtNew, &QLineEdit::textChanged, this, &TCatRenameForm::TxtNewChange);
    connect(btnOK, &QPushButton::clicked, this, &TCatRenameForm::btnOKClick);
    connect(btnCancel, &QPushButton::clicked, this, &TCatRenameForm::reject);
}

TCatRenameForm::~TCatRenameForm() = default;

void TCatRenameForm::SetOldName(const std::string& oldName)
{
    oldName_ = oldName;
    TxtOld->setText(Cp932ToDisplay(oldName));
}

void TCatRenameForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (placed_)
        return;
    placed_ = true;
    FormShow();
}

void TCatRenameForm::FormShow()
{
    MoveFormNearOwner(fpBelowRight, owner_, this);
    TxtNew->setFocus();
}

bool TCatRenameForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == TxtNew && event->type() == QEvent::KeyPress)
        return TxtNewKeyPress(static_cast<const QKeyEvent&>(*event));
    return QDialog::eventFilter(watched, event);
}

bool TCatRenameForm::TxtNewKeyPress(const QKeyEvent& key)
{
    if (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) {
        if (btnOK->isEnabled())
            btnOKClick();
        return true;
    }
    const QString text = key.text();
    if (text.size() != 1 || text[0].unicode() >= 0x80)
        return false;
    return FilterNameChar(static_cast<char>(text[0].unicode()), false) == '\0';
}

void TCatRenameForm::TxtNewChange()
{
    btnOK->setEnabled(!IsBlankName(TxtNew->text()));
}

void TCatRenameForm::btnOKClick()
{
    const auto newName = QStringToCp932(TxtNew->text());
    if (!newName) {
        Refuse(Cp932Text("変更後の名前には Shift-JIS で表せない文字が含まれています。") + Cp932Problem(TxtNew->text()));
        return;
    }
    if (const std::string unchanged = UnchangedNameProblem(oldName_, *newName); !unchanged.empty()) {
        Refuse(unchanged);
        return;
    }
    const std::string problem = services_.checkName
        ? services_.checkName(*newName)
        : CatalogNameProblem(*newName, ".", {}, NameUse::nuRename);
    if (!problem.empty()) {
        Refuse(problem);
        return;
    }
    newName_ = *newName;
    accept();
}

void TCatRenameForm::Refuse(const std::string& message)
{
    prompter_->ShowMessageDlg(message, MsgDlgType::mtError, mbOK, 0);
    TxtNew->setFocus();
}

QDialog::DialogCode RunRenameDialog(QWidget* owner, const std::string& oldName, std::string& newName,
                                    const RenameDialogServices& services)
{
    TCatRenameForm form(owner, services);
    form.SetOldName(oldName);
    if (form.exec() != QDialog::Accepted)
        return QDialog::Rejected;
    newName = form.NewName();
    return QDialog::Accepted;
}
