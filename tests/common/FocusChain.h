#pragma once

#include <QAccessible>
#include <QApplication>
#include <QStringList>
#include <QTest>
#include <QWidget>

// What a test calls a widget: its object name, else its accessible name.
inline QString WidgetLabel(const QWidget* widget)
{
    if (!widget)
        return QStringLiteral("<none>");
    if (!widget->objectName().isEmpty())
        return widget->objectName();
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(const_cast<QWidget*>(widget));
    return face ? face->text(QAccessible::Name) : QString::fromLatin1(widget->metaObject()->className());
}

// The widgets that Tab (or Shift+Tab) visits from the focus widget, the start first, until
// the focus comes back to the start. A chain that never comes back within limit presses
// ends in "<trapped>".
inline QStringList TabChain(bool backwards = false, int limit = 30)
{
    QWidget* start = QApplication::focusWidget();
    QStringList chain{WidgetLabel(start)};
    for (int i = 0; i < limit; ++i) {
        QTest::keyClick(QApplication::focusWidget(), backwards ? Qt::Key_Backtab : Qt::Key_Tab,
                        backwards ? Qt::ShiftModifier : Qt::NoModifier);
        if (QApplication::focusWidget() == start)
            return chain;
        chain << WidgetLabel(QApplication::focusWidget());
    }
    chain << QStringLiteral("<trapped>");
    return chain;
}

// The chain that Shift+Tab walks when Tab walks chain: the same widgets in reverse.
inline QStringList Reversed(QStringList chain)
{
    std::reverse(chain.begin() + 1, chain.end());
    return chain;
}
