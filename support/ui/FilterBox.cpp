#include "support/ui/FilterBox.h"

#include <QAbstractItemView>
#include <QAction>
#include <QKeyEvent>
#include <QShortcut>

namespace {

const QString FilterText = QStringLiteral("フィルタ");

bool IsEnter(const QKeyEvent& event)
{
    return event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter;
}

}  // namespace

FilterBox::FilterBox(QAbstractItemView* list, QWidget* parent)
    : QLineEdit(parent)
    , list_(list)
{
    setObjectName(QStringLiteral("EdtFilter"));
    setPlaceholderText(FilterText);
    setAccessibleName(FilterText);
    setAccessibleDescription(QStringLiteral("名前かフォルダに、空白で区切った語をすべて含むオブジェクトだけを表示します"));
    setToolTip(QStringLiteral("フィルタ (Ctrl+E, F3)"));
    setClearButtonEnabled(true);
    // The glyphs in the box are buttons to a screen reader: each is named for what it does.
    if (auto* clearing = findChild<QAction*>(QStringLiteral("_q_qlineeditclearaction")))
        clearing->setText(QStringLiteral("フィルタを消去"));
    QAction* magnifier = addAction(QIcon(QStringLiteral(":/ui/filter.svg")), QLineEdit::LeadingPosition);
    magnifier->setText(FilterText);
    connect(magnifier, &QAction::triggered, this, [this] { setFocus(Qt::MouseFocusReason); });
    // Queued, so that it runs once the list's model has followed the text: the row the user
    // was on stays in sight, also when clearing the filter brings back rows above it.
    connect(this, &QLineEdit::textChanged, this, &FilterBox::ShowCurrentRow, Qt::QueuedConnection);
}

FilterBox::~FilterBox() = default;

void FilterBox::AddShortcuts(QWidget* scope, Qt::ShortcutContext context)
{
    for (const QKeySequence& keys : {QKeySequence(Qt::CTRL | Qt::Key_E), QKeySequence(Qt::Key_F3)}) {
        auto* shortcut = new QShortcut(keys, scope);
        shortcut->setContext(context);
        connect(shortcut, &QShortcut::activated, this, [this] {
            setFocus(Qt::ShortcutFocusReason);
            selectAll();
        });
    }
}

// Esc and Enter belong to the box before any shortcut of the window sees them.
bool FilterBox::event(QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier && (key->key() == Qt::Key_Escape || IsEnter(*key))) {
            event->accept();
            return true;
        }
    }
    return QLineEdit::event(event);
}

void FilterBox::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        if (text().isEmpty())
            list_->setFocus(Qt::OtherFocusReason);
        else
            clear();
        event->accept();
        return;
    }
    if (IsEnter(*event)) {
        GoToFirstRow();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void FilterBox::GoToFirstRow()
{
    list_->setFocus(Qt::OtherFocusReason);
    if (list_->model()->rowCount() > 0)
        list_->setCurrentIndex(list_->model()->index(0, 0));
}

void FilterBox::ShowCurrentRow()
{
    if (const QModelIndex current = list_->currentIndex(); current.isValid())
        list_->scrollTo(current);
}
