#include "support/ui/MessageForm.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>
#include <array>
#include <optional>
#include <utility>

namespace {

struct ButtonKind {
    MsgDlgButtons flag;
    const char* objectName;
    const char* caption;  // UTF-8, with its access key
    int result;           // mrNone: the help button
};

constexpr std::array<ButtonKind, 11> kButtonKinds{{
    {mbYes, "Yes", "はい(&Y)", mrYes},
    {mbNo, "No", "いいえ(&N)", mrNo},
    {mbOK, "OK", "OK", mrOk},
    {mbCancel, "Cancel", "キャンセル", mrCancel},
    {mbAbort, "Abort", "中止(&A)", mrAbort},
    {mbRetry, "Retry", "再試行(&R)", mrRetry},
    {mbIgnore, "Ignore", "無視(&I)", mrIgnore},
    {mbAll, "All", "すべて(&A)", mrAll},
    {mbNoToAll, "NoToAll", "すべていいえ(&O)", mrNoToAll},
    {mbYesToAll, "YesToAll", "すべてはい(&A)", mrYesToAll},
    {mbHelp, "Help", "ヘルプ(&H)", mrNone},
}};

constexpr std::array<MsgDlgButtons, 3> kDefaultOrder{mbOK, mbYes, mbRetry};
constexpr std::array<MsgDlgButtons, 3> kCancelOrder{mbCancel, mbNo, mbOK};

MessageHelpHandler& HelpHandler()
{
    static MessageHelpHandler handler;
    return handler;
}

QString Title(MsgDlgType dlgType)
{
    switch (dlgType) {
    case MsgDlgType::mtWarning:
        return QStringLiteral("警告");
    case MsgDlgType::mtError:
        return QStringLiteral("エラー");
    case MsgDlgType::mtInformation:
        return QStringLiteral("情報");
    case MsgDlgType::mtConfirmation:
        return QStringLiteral("確認");
    case MsgDlgType::mtCustom:
        break;
    }
    return QGuiApplication::applicationDisplayName();
}

std::optional<QStyle::StandardPixmap> IconOf(MsgDlgType dlgType)
{
    switch (dlgType) {
    case MsgDlgType::mtWarning:
        return QStyle::SP_MessageBoxWarning;
    case MsgDlgType::mtError:
        return QStyle::SP_MessageBoxCritical;
    case MsgDlgType::mtInformation:
        return QStyle::SP_MessageBoxInformation;
    case MsgDlgType::mtConfirmation:
        return QStyle::SP_MessageBoxQuestion;
    case MsgDlgType::mtCustom:
        break;
    }
    return std::nullopt;
}

// The box measures itself in dialog units of its font, so that it scales with the font.
struct DialogUnits {
    explicit DialogUnits(const QFontMetrics& fm)
        : charWidth(std::max(1, fm.horizontalAdvance(QStringLiteral(
                                    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"))
                                    / 52))
        , charHeight(fm.height())
    {
    }

    int X(int units) const { return units * charWidth / 4; }
    int Y(int units) const { return units * charHeight / 8; }

    int charWidth;
    int charHeight;
};

// Screen readers present the box as an alert, whose description is its text, so that the
// text is read as soon as the box opens.
QAccessibleInterface* AlertInterface(const QString& className, QObject* object)
{
    if (className == QLatin1String("TMessageForm") && object && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::AlertMessage);
    return nullptr;
}

QScreen* ScreenFor(const QWidget* parent)
{
    if (parent && parent->screen())
        return parent->screen();
    return QGuiApplication::primaryScreen();
}

}  // namespace

TMessageForm::TMessageForm(const QString& msg, MsgDlgType dlgType, MsgDlgButtons buttons,
                           QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                          | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    static const bool presentedAsAlert = (QAccessible::installFactory(AlertInterface), true);
    Q_UNUSED(presentedAsAlert);
    setObjectName(QStringLiteral("TMessageForm"));
    setAccessibleDescription(msg);
    setFont(QApplication::font("QMessageBox"));
    setWindowTitle(Title(dlgType));
    const DialogUnits du(fontMetrics());

    auto* layout = new QGridLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->setContentsMargins(du.X(8), du.Y(8), du.X(8), du.Y(8));
    layout->setHorizontalSpacing(du.X(10));
    layout->setVerticalSpacing(du.Y(10));

    const bool hasImage = AddImage(layout, dlgType);
    AddMessage(layout, msg, hasImage);
    buttonRow_ = new QWidget(this);
    AddButtons(buttons);
    layout->addWidget(buttonRow_, 1, 0, 1, hasImage ? 2 : 1, Qt::AlignHCenter);

    if (defaultButton_) {
        defaultButton_->setDefault(true);
        defaultButton_->setFocus();
    }
    adjustSize();
}

bool TMessageForm::AddImage(QGridLayout* layout, MsgDlgType dlgType)
{
    const std::optional<QStyle::StandardPixmap> icon = IconOf(dlgType);
    if (!icon)
        return false;
    auto* image = new QLabel(this);
    image->setObjectName(QStringLiteral("Image"));
    image->setPixmap(style()->standardIcon(*icon, nullptr, this).pixmap(32, 32));
    image->setFixedSize(32, 32);
    layout->addWidget(image, 0, 0, Qt::AlignLeft | Qt::AlignTop);
    return true;
}

// The text keeps its own width up to half the screen and wraps beyond it; beside the image
// it is at least as high as the image. A text higher than two thirds of the screen's
// available height (a long list of names, a large scale factor) scrolls, so that the
// buttons below it stay on the screen.
void TMessageForm::AddMessage(QGridLayout* layout, const QString& msg, bool besideImage)
{
    const QScreen* screen = ScreenFor(parentWidget());
    const int maxWidth = screen ? screen->geometry().width() / 2 : 640;
    const int maxHeight = screen ? screen->availableGeometry().height() * 2 / 3 : 480;
    const QRect textRect = fontMetrics().boundingRect(
        QRect(0, 0, maxWidth, 0), Qt::TextWordWrap | Qt::TextExpandTabs, msg);
    auto* message = new QLabel(msg, this);
    message->setObjectName(QStringLiteral("Message"));
    message->setTextFormat(Qt::PlainText);
    message->setWordWrap(true);
    message->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    message->setTextInteractionFlags(Qt::TextSelectableByMouse);
    message->setFixedSize(textRect.width() + 1, std::max(textRect.height(), besideImage ? 32 : 0));
    const int column = besideImage ? 1 : 0;
    if (message->height() <= maxHeight) {
        layout->addWidget(message, 0, column, Qt::AlignLeft | Qt::AlignTop);
        return;
    }
    auto* scroller = new QScrollArea(this);
    scroller->setObjectName(QStringLiteral("MessageScroller"));
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroller->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    scroller->setWidget(message);
    scroller->setFixedSize(message->width() + scroller->verticalScrollBar()->sizeHint().width(), maxHeight);
    layout->addWidget(scroller, 0, column, Qt::AlignLeft | Qt::AlignTop);
}

void TMessageForm::AddButtons(MsgDlgButtons buttons)
{
    const DialogUnits du(fontMetrics());
    auto* row = new QHBoxLayout(buttonRow_);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(du.X(4));

    QList<QPushButton*> added;
    for (const ButtonKind& kind : kButtonKinds) {
        if (!(buttons & kind.flag))
            continue;
        auto* button = new QPushButton(QString::fromUtf8(kind.caption), buttonRow_);
        button->setObjectName(QString::fromLatin1(kind.objectName));
        if (kind.result == mrNone)
            connect(button, &QPushButton::clicked, this, &TMessageForm::ShowHelp);
        else
            connect(button, &QPushButton::clicked, this, [this, result = kind.result] { done(result); });
        row->addWidget(button);
        added.append(button);
    }

    int width = du.X(50);
    int height = du.Y(14);
    for (const QPushButton* button : added) {
        width = std::max(width, button->sizeHint().width());
        height = std::max(height, button->sizeHint().height());
    }
    for (QPushButton* button : added)
        button->setFixedSize(width, height);

    const auto first = [this](const auto& order) -> QPushButton* {
        for (MsgDlgButtons flag : order)
            if (QPushButton* button = Button(flag))
                return button;
        return nullptr;
    };
    defaultButton_ = (buttons & mbDefaultNo) && Button(mbNo) ? Button(mbNo) : first(kDefaultOrder);
    cancelButton_ = first(kCancelOrder);
}

QPushButton* TMessageForm::Button(MsgDlgButtons flag) const
{
    for (const ButtonKind& kind : kButtonKinds)
        if (kind.flag == flag)
            return buttonRow_->findChild<QPushButton*>(QString::fromLatin1(kind.objectName),
                                                       Qt::FindDirectChildrenOnly);
    return nullptr;
}

MessageHelpHandler TMessageForm::SetHelpHandler(MessageHelpHandler handler)
{
    return std::exchange(HelpHandler(), std::move(handler));
}

void TMessageForm::ShowHelp() const
{
    if (HelpHandler())
        HelpHandler()(helpContext_);
}

void TMessageForm::reject()
{
    done(mrCancel);
}

void TMessageForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    QAccessibleEvent alert(this, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
}

// The button whose access key is key: "いいえ(&N)" for N.
QPushButton* TMessageForm::ButtonForKey(int key) const
{
    for (QPushButton* button : buttonRow_->findChildren<QPushButton*>(Qt::FindDirectChildrenOnly)) {
        const QKeySequence accessKey = QKeySequence::mnemonic(button->text());
        if (!accessKey.isEmpty() && accessKey[0].key() == key)
            return button;
    }
    return nullptr;
}

void TMessageForm::keyPressEvent(QKeyEvent* event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::ShiftModifier;
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        if (cancelButton_)
            cancelButton_->click();
        return;
    }
    // As in the system's own boxes, a button's access key alone presses it: the box takes
    // no typed text.
    if (modifiers == Qt::NoModifier) {
        if (QPushButton* button = ButtonForKey(event->key())) {
            button->click();
            return;
        }
    }
    QDialog::keyPressEvent(event);
}
