#include "support/ui/ScreenFit.h"

#include "support/ui/DialogPlacement.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace {

QMargins FrameMarginsOf(const QWidget* window)
{
    const QWindow* handle = window ? window->windowHandle() : nullptr;
    return handle ? handle->frameMargins() : QMargins();
}

// The frame a window has, or is about to get: while it shows for the first time the window
// system has not framed it yet (and it already counts as visible), so it is taken to get the
// frame of its parent window or of the active window.
QRect ExpectedFrame(const QWidget* window)
{
    QMargins margins = FrameMarginsOf(window);
    if (margins.isNull())
        margins = FrameMarginsOf(window->parentWidget() ? window->parentWidget()->window() : nullptr);
    if (margins.isNull())
        margins = FrameMarginsOf(QApplication::activeWindow());
    return QRect(window->pos(), window->size().grownBy(margins));
}

// Watches the show events of the application's windows.
class ScreenFitFilter : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && watched->isWidgetType()) {
            auto* widget = static_cast<QWidget*>(watched);
            const Qt::WindowType type = widget->windowType();
            if (widget->isWindow() && (type == Qt::Window || type == Qt::Dialog))
                FitOnScreen(widget);
        }
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace

QRect FitInside(const QRect& frame, const QRect& available)
{
    QRect fitted = frame;
    if (fitted.right() > available.right())
        fitted.moveRight(available.right());
    if (fitted.bottom() > available.bottom())
        fitted.moveBottom(available.bottom());
    if (fitted.left() < available.left())
        fitted.moveLeft(available.left());
    if (fitted.top() < available.top())
        fitted.moveTop(available.top());
    return fitted;
}

QSize FittedFrameSize(const QSize& frame, const QSize& available, const QSize& minimum)
{
    return frame.boundedTo(available).expandedTo(minimum);
}

void FitOnScreen(QWidget* window)
{
    if (window->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized))
        return;
    const QRect available = AvailableRectAt(ExpectedFrame(window));
    if (!available.isEmpty())
        FitInto(window, available);
}

void FitInto(QWidget* window, const QRect& available)
{
    const QSize frameExtra = ExpectedFrame(window).size() - window->size();
    const QSize room = available.size() - frameExtra;
    if (window->minimumSize() != window->minimumSize().boundedTo(room))
        window->setMinimumSize(window->minimumSize().boundedTo(room));
    const QSize frame = FittedFrameSize(window->size() + frameExtra, available.size(),
                                        window->minimumSize() + frameExtra);
    if (frame != window->size() + frameExtra)
        window->resize(frame - frameExtra);
    const QRect placed = ExpectedFrame(window);
    const QRect fitted = FitInside(placed, available);
    if (fitted.topLeft() != placed.topLeft())
        window->move(fitted.topLeft());
}

void KeepWindowsOnScreen()
{
    qApp->installEventFilter(new ScreenFitFilter(qApp));
}
