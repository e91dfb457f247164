#include "wizard/MoveFormNearOwner.h"

#include "support/ui/DialogPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

QPoint FormPositionNearOwner(int mode, const QRect& owner, const QSize& form, const QRect& screen)
{
    QPoint pos = screen.topLeft();
    switch (mode) {
    case fpBelowRight:
        pos = owner.topLeft() + QPoint(20, 20);
        break;
    case fpCentred:
        pos = QPoint(owner.left() + owner.width() / 2 - form.width() / 2,
                     owner.top() + owner.height() / 2 - form.height() / 2);
        break;
    case fpAboveLeft:
        pos = owner.topLeft() - QPoint(20, 20);
        break;
    case fpScreenCorner:
        pos = QPoint(screen.right() + 1 - form.width(), screen.bottom() + 1 - form.height());
        break;
    default:
        break;
    }
    return ClampToScreen(pos, form, screen);
}

void MoveFormNearOwner(int mode, QWidget* owner, QWidget* form)
{
    const QSize size = form->frameGeometry().size();
    if (!owner) {
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        form->move(screen.center() - QPoint(size.width() / 2, size.height() / 2));
        form->showNormal();
        return;
    }
    const QRect ownerRect = owner->window()->frameGeometry();
    const QRect screen = ScreenRectAt(ownerRect);
    form->move(FormPositionNearOwner(mode, ownerRect, size, screen));
    KeepOffTaskbar(form);
    form->showNormal();
}
