#include "support/ui/DialogPlacement.h"

#include <QApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace {

// Exclusive right and bottom edges, as the placement rules count them.
int RightOf(const QRect& r)
{
    return r.x() + r.width();
}

int BottomOf(const QRect& r)
{
    return r.y() + r.height();
}

QScreen* ScreenAt(const QRect& rect)
{
    if (QScreen* screen = QGuiApplication::screenAt(rect.center()))
        return screen;
    return QGuiApplication::primaryScreen();
}

QMargins FrameMargins(const QWidget* window)
{
    const QWindow* handle = window ? window->windowHandle() : nullptr;
    return handle && window->isVisible() ? handle->frameMargins() : QMargins();
}

}  // namespace

QPoint ClampToScreen(QPoint pos, const QSize& dialog, const QRect& screen)
{
    if (pos.x() < screen.x())
        pos.setX(screen.x() + 2);
    if (pos.x() + dialog.width() > RightOf(screen))
        pos.setX(RightOf(screen) - dialog.width() - 2);
    if (pos.y() < screen.y())
        pos.setY(screen.y() + 2);
    if (pos.y() + dialog.height() > BottomOf(screen))
        pos.setY(BottomOf(screen) - dialog.height() - 2);
    return pos;
}

QPoint CalcDialogPos(int mode, const QRect& owner, const QSize& dialog, const QRect& screen,
                     QPoint pos)
{
    switch (mode) {
    case dpBelowRight:
        pos = owner.topLeft() + QPoint(20, 20);
        break;
    case dpCentred:
        pos = QPoint(owner.x() + owner.width() / 2 - dialog.width() / 2,
                     owner.y() + owner.height() / 2 - dialog.height() / 2);
        break;
    case dpAboveLeft:
        pos = owner.topLeft() - QPoint(20, 20);
        break;
    default:
        break;
    }
    return ClampToScreen(pos, dialog, screen);
}

std::optional<QRect> TaskbarRect(const QRect& screen, const QRect& available)
{
    if (BottomOf(available) < BottomOf(screen))
        return QRect(screen.x(), BottomOf(available), screen.width(),
                     BottomOf(screen) - BottomOf(available));
    if (available.y() > screen.y())
        return QRect(screen.x(), screen.y(), screen.width(), available.y() - screen.y());
    if (RightOf(available) < RightOf(screen))
        return QRect(RightOf(available), screen.y(), RightOf(screen) - RightOf(available),
                     screen.height());
    if (available.x() > screen.x())
        return QRect(screen.x(), screen.y(), available.x() - screen.x(), screen.height());
    return std::nullopt;
}

QRect KeepOffTaskbar(const QRect& form, const QRect& desktop, const std::optional<QRect>& taskbar)
{
    QRect f = form;
    if (f.x() < desktop.x())
        f.moveLeft(desktop.x());
    if (RightOf(f) > RightOf(desktop))
        f.moveLeft(RightOf(desktop) - f.width());
    if (f.y() < desktop.y())
        f.moveTop(desktop.y());
    if (BottomOf(f) > BottomOf(desktop))
        f.moveTop(BottomOf(desktop) - f.height());
    if (!taskbar)
        return f;

    const QRect& t = *taskbar;
    const bool spansWidth = t.x() <= desktop.x() && RightOf(t) >= RightOf(desktop);
    const bool spansHeight = t.y() <= desktop.y() && BottomOf(t) >= BottomOf(desktop);
    if (BottomOf(t) >= BottomOf(desktop) && spansWidth) {
        if (BottomOf(f) > t.y())
            f.translate(0, -(BottomOf(f) - t.y()));
    } else if (t.y() <= desktop.y() && spansWidth) {
        if (BottomOf(t) > f.y())
            f.translate(0, BottomOf(t) - f.y());
    } else if (RightOf(t) >= RightOf(desktop) && spansHeight) {
        if (RightOf(f) > t.x())
            f.translate(-(RightOf(f) - t.x()), 0);
    } else if (t.x() <= desktop.x() && spansHeight) {
        if (RightOf(t) > f.x())
            f.translate(RightOf(t) - f.x(), 0);
    }
    return f;
}

// A window that has not shown yet has no frame: its frame is taken to be as wide as the
// frame of its parent window or of the active window.
QRect WindowFrameRect(const QWidget* widget)
{
    const QWidget* window = widget->window();
    if (window->isVisible())
        return window->frameGeometry();
    const QWidget* parent = window->parentWidget();
    QMargins margins = FrameMargins(parent ? parent->window() : nullptr);
    if (margins.isNull())
        margins = FrameMargins(QApplication::activeWindow());
    return QRect(window->pos(), window->size().grownBy(margins));
}

QRect ScreenRectAt(const QRect& rect)
{
    QScreen* screen = ScreenAt(rect);
    return screen ? screen->geometry() : QRect();
}

QRect AvailableRectAt(const QRect& rect)
{
    QScreen* screen = ScreenAt(rect);
    return screen ? screen->availableGeometry() : QRect();
}

void CalcDialogPos(int mode, const QWidget* owner, const QWidget* dialog, int& x, int& y)
{
    if (!owner || !dialog)
        return;
    const QRect ownerRect = WindowFrameRect(owner);
    const QPoint pos = CalcDialogPos(mode, ownerRect, WindowFrameRect(dialog).size(),
                                     ScreenRectAt(ownerRect), QPoint(x, y));
    x = pos.x();
    y = pos.y();
}

void KeepOffTaskbar(QWidget* form)
{
    QWidget* window = form->window();
    const QRect frame = WindowFrameRect(window);
    const QRect desktop = ScreenRectAt(frame);
    if (desktop.isEmpty())
        return;
    const QRect placed = KeepOffTaskbar(frame, desktop, TaskbarRect(desktop, AvailableRectAt(frame)));
    window->move(placed.topLeft());
}
