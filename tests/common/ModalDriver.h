#pragma once

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <type_traits>
#include <utility>

// Acts on the next modal window or popup menu of type Dialog (any modal window by default) as
// soon as it shows: make the driver first, then run the code that shows the window (its
// exec() returns once the step has closed it). Whatever the step leaves open is rejected
// afterwards, so that a failed check (or an exception) inside the step never leaves the test
// waiting in exec(). The driver watches until it has acted or goes out of scope.
template <typename Dialog = QWidget>
class ModalDriver {
public:
    explicit ModalDriver(std::type_identity_t<std::function<void(Dialog&)>> step) : step_(std::move(step))
    {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
        timer_.start();
    }

    bool Ran() const { return ran_; }

private:
    void Poll()
    {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activePopupWidget());
        if (!dialog)
            dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        timer_.stop();
        ran_ = true;
        const QPointer<QWidget> guard(dialog);
        try {
            step_(*dialog);
        } catch (...) {
            QTest::qFail("the step on the modal window threw an exception", __FILE__, __LINE__);
        }
        if (guard && guard->isVisible())
            Close(guard);
    }

    static void Close(QWidget* modal)
    {
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
    }

    std::function<void(Dialog&)> step_;
    QTimer timer_;
    bool ran_ = false;
};
