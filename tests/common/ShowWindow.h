#pragma once

#include <QTest>
#include <QWidget>

// Shows window and waits until it is exposed; false when it never is. Check it at the call,
// QVERIFY(Shown(window)), so that the test stops there.
[[nodiscard]] inline bool Shown(QWidget& window)
{
    window.show();
    return QTest::qWaitForWindowExposed(&window);
}

// Shows window and waits until it is exposed and the active window, as a person's window
// is before they type; a window that never gets there fails the test.
inline void ShowActive(QWidget& window)
{
    QVERIFY(Shown(window));
    window.activateWindow();
    QTRY_VERIFY(window.isActiveWindow());
}
