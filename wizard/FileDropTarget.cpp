#include "wizard/FileDropTarget.h"

#include "support/ui/RunCommand.h"

#include <QDropEvent>
#include <QMimeData>
#include <QWidget>

TFileDropTarget::TFileDropTarget(QWidget* widget, Handler handler)
    : QObject(widget)
    , widget_(widget)
    , handler_(std::move(handler))
{
    widget_->setAcceptDrops(true);
    widget_->installEventFilter(this);
}

bool TFileDropTarget::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != widget_)
        return false;
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDropEvent*>(event);
        if (!drag->mimeData()->hasUrls())
            return false;
        drag->setDropAction(Qt::CopyAction);
        drag->accept();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        RunCommand(widget_, [this, drop] { handler_(*drop->mimeData()); });
        return true;
    }
    default:
        return false;
    }
}
