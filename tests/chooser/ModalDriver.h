#pragma once

#include "chooser/OpenDialogWindow.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>

#include <functional>

// Acts on the open dialog once it is the active modal window: a short repeating timer
// looks for it while the test sits in RunChooser. Whatever the step leaves open is
// cancelled afterwards, so that a failed check never leaves the test waiting.
class ModalDriver {
public:
    explicit ModalDriver(std::function<void(OpenDialogWindow&)> step) : step_(std::move(step))
    {
        timer_.setInterval(20);
        QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
        timer_.start();
    }

    bool Ran() const { return ran_; }

private:
    void Poll()
    {
        auto* dialog = qobject_cast<OpenDialogWindow*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        timer_.stop();
        ran_ = true;
        QPointer<OpenDialogWindow> guard(dialog);
        step_(*dialog);
        if (guard && guard->isVisible())
            guard->reject();
    }

    std::function<void(OpenDialogWindow&)> step_;
    QTimer timer_;
    bool ran_ = false;
};
