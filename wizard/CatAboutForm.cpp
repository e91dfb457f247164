#include "wizard/CatAboutForm.h"

#include "support/core/Beep.h"
#include "support/core/BuildInfo.h"
#include "support/ui/UIFonts.h"
#include "wizard/MoveFormNearOwner.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include <utility>

namespace {

const QString kMakerMail = QStringLiteral("tessna@example.com");
const QString kMakerPage = QStringLiteral("https://www.example.com/tessna/");
const QString kMailSubject = QStringLiteral("About Tessna.");

QLabel* FontLabel(const QString& text, const QString& family, int pixelSize, bool bold, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    QFont font = DesignFont(family, pixelSize);
    font.setBold(bold);
    label->setFont(font);
    return label;
}

}  // namespace

QString MailToTarget(const QString& address, const QString& subject)
{
    QString target = QStringLiteral("mailto:") + address;
    if (!subject.isEmpty())
        target += QStringLiteral("?subject=") + subject;
    return target;
}

bool OpenMailTo(const QString& address, const QString& subject, const ShellOpener& open)
{
    return open(MailToTarget(address, subject));
}

TCatAboutForm::TCatAboutForm(QWidget* owner, AboutDialogServices services)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                         | Qt::WindowCloseButtonHint)
    , owner_(owner)
    , services_(std::move(services))
{
    setObjectName(QStringLiteral("CatAboutForm"));
    setWindowTitle(QStringLiteral("About Tessna"));

    auto* picture = new QLabel(this);
    const QIcon icon = QApplication::windowIcon().isNull()
        ? style()->standardIcon(QStyle::SP_MessageBoxInformation)
        : QApplication::windowIcon();
    picture->setPixmap(icon.pixmap(32, 32));
    picture->setAlignment(Qt::AlignTop);

    auto* copyright = FontLabel(QStringLiteral("Copyright (C) 2026 Tessna project"),
                                QStringLiteral("MS Sans Serif"), 11, false, this);
    copyright->setObjectName(QStringLiteral("LblCopyright"));
    copyright->setStyleSheet(QStringLiteral("color: black;"));
    EdtMail = MakeLinkBox(QStringLiteral("EdtMail"), kMakerMail, QColor(0, 128, 0));
    EdtWebPage = MakeLinkBox(QStringLiteral("EdtWebPage"), kMakerPage, QColor(0, 0, 255));
    btnOK = new QPushButton(QStringLiteral("&OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);

    auto* texts = new QVBoxLayout;
    texts->addWidget(new QLabel(QStringLiteral("カタログ作成ツール"), this));
    auto* title = new QHBoxLayout;
    title->addWidget(FontLabel(QStringLiteral("Tessna"), QString::fromUtf8(UIGothicFamily), 19, true, this));
    title->addWidget(new QLabel(QStringLiteral("Version ") + QString::fromLatin1(TessnaVersion), this), 0, Qt::AlignBottom);
    title->addStretch();
    texts->addLayout(title);
    texts->addWidget(copyright);
    texts->addWidget(EdtMail);
    texts->addWidget(EdtWebPage);
    auto* grid = new QGridLayout(this);
    grid->addWidget(picture, 0, 0);
    grid->addLayout(texts, 0, 1);
    grid->addWidget(btnOK, 0, 2, Qt::AlignTop);
    grid->setColumnStretch(1, 1);
    resize(QSize(378, 131).expandedTo(sizeHint()));
    setFixedSize(size());
    btnOK->setFocus();
}

QLineEdit* TCatAboutForm::MakeLinkBox(const QString& objectName, const QString& target, const QColor& colour)
{
    auto* box = new QLineEdit(target, this);
    box->setObjectName(objectName);
    box->setReadOnly(true);
    box->setFrame(false);
    box->setFocusPolicy(Qt::NoFocus);
    box->setCursor(Qt::PointingHandCursor);
    box->setToolTip(target);
    box->setStyleSheet(QStringLiteral("QLineEdit { background: transparent; color: %1; }").arg(colour.name()));
    QFont font = box->font();
    font.setUnderline(true);
    box->setFont(font);
    box->installEventFilter(this);
    return box;
}

void TCatAboutForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (placed_)
        return;
    placed_ = true;
    MoveFormNearOwner(fpCentred, owner_, this);
    btnOK->setFocus();
}

// A click on a link is a press and a release of the left button on it, with no drag in
// between. The second press of a double click starts no click, so a double click opens
// the link once; a drag ends no click, wherever it ends.
bool TCatAboutForm::eventFilter(QObject* watched, QEvent* event)
{
    const auto* mouse = dynamic_cast<const QMouseEvent*>(event);
    if (!mouse || (watched != EdtMail && watched != EdtWebPage))
        return QDialog::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        if (mouse->button() == Qt::LeftButton) {
            pressedLink_ = watched;
            pressPos_ = mouse->position().toPoint();
        }
        break;
    case QEvent::MouseButtonDblClick:
        pressedLink_ = nullptr;
        break;
    case QEvent::MouseMove:
        if ((mouse->position().toPoint() - pressPos_).manhattanLength() >= QApplication::startDragDistance())
            pressedLink_ = nullptr;
        break;
    case QEvent::MouseButtonRelease: {
        const bool click = mouse->button() == Qt::LeftButton && std::exchange(pressedLink_, nullptr) == watched
            && static_cast<QWidget*>(watched)->rect().contains(mouse->position().toPoint());
        if (click && watched == EdtMail)
            EdtMailClick();
        else if (click)
            EdtWebPageClick();
        break;
    }
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

void TCatAboutForm::EdtMailClick()
{
    if (!OpenMailTo(EdtMail->text(), kMailSubject, services_.shellOpen))
        MessageBeep();
}

void TCatAboutForm::EdtWebPageClick()
{
    if (!services_.shellOpen(EdtWebPage->text()))
        MessageBeep();
}

void ShowAboutDialog(QWidget* owner)
{
    TCatAboutForm form(owner);
    form.exec();
}
