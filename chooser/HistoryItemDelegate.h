#pragma once

#include <QStyledItemDelegate>

// Draws one folder of the history list: its small icon, then its text, centred vertically,
// in the selection colours when selected. The text shown is the item's Qt::UserRole data
// (full path or folder name), the icon its Qt::DecorationRole.
class HistoryItemDelegate : public QStyledItemDelegate {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HistoryItemDelegate)

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    static constexpr int SmallIconSize = 16;
};
