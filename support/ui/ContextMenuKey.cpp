#include "support/ui/ContextMenuKey.h"

#include <QAbstractItemView>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QShortcut>

namespace {

QPoint MenuPlace(const QAbstractItemView& view)
{
    const QRect current = view.visualRect(view.currentIndex());
    if (current.isValid() && view.viewport()->rect().intersects(current))
        return current.center();
    return {4, 4};
}

}  // namespace

void OpenContextMenuByKey(QAbstractItemView* view)
{
    auto* shortcut = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), view);
    shortcut->setContext(Qt::WidgetShortcut);
    QObject::connect(shortcut, &QShortcut::activated, view, [view] {
        const QPoint place = MenuPlace(*view);
        QContextMenuEvent event(QContextMenuEvent::Keyboard, place, view->viewport()->mapToGlobal(place));
        QCoreApplication::sendEvent(view->viewport(), &event);
    });
}
