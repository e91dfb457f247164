#pragma once

#include <QTest>
#include <QWidget>

// Shows window and waits until it is exposed and the active window, as a person's window
// is before they type; a window that never gets there fails the test.
inline void ShowActive(QWidget& window)
{
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.activateWindow();
    QTRY_VERIFY(window.isActiveWindow());
}
