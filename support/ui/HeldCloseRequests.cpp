#include "support/ui/HeldCloseRequests.h"

#include <QEvent>
#include <QWidget>
#include <QWindow>

// The request reaches the platform window first, and a widget that is already closing
// accepts it there without asking again; so it is refused at the platform window.
HeldCloseRequests::HeldCloseRequests(QWidget* window)
    : window_(window->windowHandle())
{
    if (window_)
        window_->installEventFilter(this);
}

HeldCloseRequests::~HeldCloseRequests()
{
    if (window_)
        window_->removeEventFilter(this);
}

bool HeldCloseRequests::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != window_ || event->type() != QEvent::Close)
        return QObject::eventFilter(watched, event);
    event->ignore();
    return true;
}
