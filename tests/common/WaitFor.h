#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

#include <functional>

// Runs the event loop until the condition holds; a generous limit only ends a broken test.
// The loop sleeps between events (a tick wakes it), leaving the cores to the workers.
inline bool WaitFor(const std::function<bool()>& condition)
{
    QTimer tick;
    tick.start(10);
    const QDeadlineTimer limit(20000);
    while (!condition() && !limit.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return condition();
}
