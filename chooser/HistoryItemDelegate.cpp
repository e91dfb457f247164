#include "chooser/HistoryItemDelegate.h"

#include <QIcon>
#include <QPainter>

void HistoryItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const
{
    const bool selected = (option.state & QStyle::State_Selected) != 0;
    const QRect rect = option.rect;
    painter->fillRect(rect, option.palette.color(selected ? QPalette::Highlight : QPalette::Base));
    const QIcon icon = index.data(Qt::DecorationRole).value<QIcon>();
    const int iconTop = rect.top() + (rect.height() - SmallIconSize) / 2;
    icon.paint(painter, QRect(rect.left() + 3, iconTop, SmallIconSize, SmallIconSize));

    const QString text = index.data(Qt::UserRole).toString();
    painter->setFont(option.font);
    painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    const QRect textRect(rect.left() + SmallIconSize + 8, rect.top(),
                         rect.width() - SmallIconSize - 8, rect.height());
    painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, text);
}

QSize HistoryItemDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const QFontMetrics metrics(option.font);
    const int width = SmallIconSize + 8 + metrics.horizontalAdvance(index.data(Qt::UserRole).toString()) + 8;
    return {width, std::max(SmallIconSize + 2, metrics.height() + 4)};
}
