#include "chooser/SideListDelegate.h"

#include "support/ui/ImageList.h"

#include <QApplication>
#include <QPainter>

SideListDelegate::SideListDelegate(const TImageList& images, QColor color, QObject* parent)
    : QStyledItemDelegate(parent), images_(images), color_(color)
{
}

void SideListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const
{
    const QRect rect = option.rect;
    painter->fillRect(rect, color_);
    const bool selected = (option.state & QStyle::State_Selected) != 0;
    // An item view clears State_Active while it does not have the focus.
    const bool listFocused = (option.state & QStyle::State_Active) != 0;
    const QIcon icon = images_.Icon(index.data(Qt::UserRole).toInt());
    const int iconLeft = (rect.left() + rect.right()) / 2 - images_.Width() / 2;
    // Drawn at the list's size even when the icon has only smaller pictures.
    painter->drawPixmap(QRect(QPoint(iconLeft, rect.top() + 6), images_.Size()),
                        icon.pixmap(images_.Size(), selected && listFocused ? QIcon::Selected : QIcon::Normal));

    const QString caption = index.data(Qt::DisplayRole).toString();
    const QFontMetrics metrics(option.font);
    const int textWidth = metrics.horizontalAdvance(caption);
    const QPoint baseline((rect.left() + rect.right()) / 2 - textWidth / 2,
                          rect.top() + images_.Height() + 12 + metrics.ascent());
    painter->setFont(option.font);
    QColor text = option.palette.color(QPalette::WindowText);
    if (selected) {
        const QPalette::ColorGroup group = listFocused ? QPalette::Active : QPalette::Inactive;
        const QRect captionRect(baseline.x() - 2, baseline.y() - metrics.ascent() - 1, textWidth + 4, metrics.height() + 2);
        painter->fillRect(captionRect, option.palette.color(group, QPalette::Highlight));
        text = option.palette.color(group, QPalette::HighlightedText);
    }
    painter->setPen(text);
    painter->drawText(baseline, caption);

    if (option.state & QStyle::State_HasFocus) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(option);
        focus.rect = rect.adjusted(2, 2, -2, -2);
        focus.backgroundColor = color_;
        const QStyle* style = option.widget ? option.widget->style() : QApplication::style();
        style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, option.widget);
    }
}

QSize SideListDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const
{
    const QFontMetrics metrics(option.font);
    return {option.rect.width(), metrics.height() + images_.Height() + 18};
}
