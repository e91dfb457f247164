#pragma once

#include <QObject>
#include <QPointer>

class QWindow;
class QWidget;

// While it lives, requests to close a window from outside the program (its close box, the
// window manager's close command) do nothing. A window that asks whether it may close holds
// them while the question is open: a second request would otherwise end the window under
// the question, without an answer.
class HeldCloseRequests : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HeldCloseRequests)

public:
    explicit HeldCloseRequests(QWidget* window);
    ~HeldCloseRequests() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWindow> window_;
};
