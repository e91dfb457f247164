#pragma once

#include <QLineEdit>

// The filter box over an object list: a magnifier glyph, the placeholder and accessible
// name "フィルタ", and the keys of a filter. Esc clears the text, and in an empty box hands
// the focus back to the list; either way the key ends here, so no window or dialog closes
// on it. Enter asks for the list's first row. The list follows textChanged.
class FilterBox : public QLineEdit {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FilterBox)

public:
    explicit FilterBox(QWidget* parent = nullptr);
    ~FilterBox() override;

    // Ctrl+E and F3 put the focus into the box, with its text selected, while the focus is
    // anywhere in scope (context: Qt::WindowShortcut for a whole window, Qt::WidgetWithChildrenShortcut
    // for a part of one).
    void AddShortcuts(QWidget* scope, Qt::ShortcutContext context);

signals:
    // Esc in an empty box.
    void LeaveRequested();
    // Enter.
    void FirstRowRequested();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};
