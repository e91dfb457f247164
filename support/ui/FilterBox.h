#pragma once

#include <QLineEdit>

class QAbstractItemView;

// The filter box over an object list: a magnifier glyph, the placeholder and accessible
// name "フィルタ", and the keys of a filter. Esc clears the text, and in an empty box hands
// the focus back to the list; either way the key ends here, so no window or dialog closes
// on it. Enter takes the focus to the list's first row. The list's model follows
// textChanged; the list's current row is then scrolled into sight.
class FilterBox : public QLineEdit {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FilterBox)

public:
    // list: the list the box filters, which must outlive the box.
    FilterBox(QAbstractItemView* list, QWidget* parent);
    ~FilterBox() override;

    // Ctrl+E and F3 put the focus into the box, with its text selected, while the focus is
    // anywhere in scope (context: Qt::WindowShortcut for a whole window, Qt::WidgetWithChildrenShortcut
    // for a part of one).
    void AddShortcuts(QWidget* scope, Qt::ShortcutContext context);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void GoToFirstRow();
    void ShowCurrentRow();

    QAbstractItemView* list_;
};
