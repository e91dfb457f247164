#include "support/ui/FileDropTarget.h"

#include "support/ui/RunCommand.h"

#include <QDropEvent>
#include <QMimeData>
#include <QWidget>

#include <memory>

FileDropTarget::FileDropTarget(QWidget* widget, Handler handler)
    : QObject(widget)
    , widget_(widget)
    , handler_(std::move(handler))
{
    widget_->setAcceptDrops(true);
    widget_->installEventFilter(this);
}

bool FileDropTarget::eventFilter(QObject* watched, QEvent* event)
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
        // The drop returns at once: the file manager's drag is never held while the objects
        // go in or while a box tells what was left out. Its data goes with the drag, so the
        // handler gets a copy.
        auto dropped = std::make_shared<QMimeData>();
        for (const QString& format : drop->mimeData()->formats())
            dropped->setData(format, drop->mimeData()->data(format));
        QMetaObject::invokeMethod(
            this, [this, dropped] { RunCommand(widget_, [this, dropped] { handler_(*dropped); }); },
            Qt::QueuedConnection);
        return true;
    }
    default:
        return false;
    }
}
