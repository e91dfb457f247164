#pragma once

#include <QObject>
#include <QTest>
#include <QWidget>

// The child of parent with the object name name and the type T. A missing child ends the
// test program with its name, so that a renamed widget fails loudly instead of crashing on
// a null pointer.
template <typename T = QWidget>
T* Named(const QObject& parent, const char* name)
{
    T* child = parent.findChild<T*>(QString::fromLatin1(name));
    if (!child)
        qFatal("no %s named %s", T::staticMetaObject.className(), name);
    return child;
}

// A left click on the widget named name below parent; a missing widget fails the test.
inline void ClickNamed(const QObject& parent, const char* name)
{
    auto* widget = parent.findChild<QWidget*>(QString::fromLatin1(name));
    QVERIFY2(widget, name);
    QTest::mouseClick(widget, Qt::LeftButton);
}
