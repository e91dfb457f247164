#include "wizard/MoveFormNearOwner.h"

#include "support/ui/DialogPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

QPoint FormPositionNearOwner(int mode, const QRect& owner, const QSize& form, const QRect& screen)
{
    if (mode == fpScreenCorner) {
        const QPoint corner(screen.right() + 1 - form.width(), screen.bottom() + 1 - form.height());
        return ClampToScreen(corner, form, screen);
    }
    // The first three modes are those of the message boxes; any other starts at the
    // screen's top-left corner.
    return CalcDialogPos(mode, owner, form, screen, screen.topLeft());
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
