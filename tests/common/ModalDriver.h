#pragma once

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <utility>

// Acts on the next modal window as soon as it shows: call this first, then the code that
// runs the modal window (its exec() returns once act has closed it). The timer it gives
// back watches until then; delete it when the window is not expected after all.
inline QPointer<QTimer> OnNextModal(std::function<void(QWidget* modal)> act)
{
    auto* timer = new QTimer(QCoreApplication::instance());
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, act = std::move(act)] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        act(modal);
    });
    timer->start();
    return timer;
}
