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
    const bool focused = (option.state & QStyle::State_HasFocus) != 0;
    const QIcon icon = images_.Icon(index.data(Qt::UserRole).toInt());
    const int iconLeft = (rect.left() + rect.right()) / 2 - images_.Width() / 2;
    // Drawn at the list's size even when the icon has only smaller pictures.
    painter->drawPixmap(QRect(QPoint(iconLeft, rect.top() + 6), images_.Size()),
                        icon.pixmap(images_.Size(), focused ? QIcon::Selected : QIcon::Normal));

    const QString caption = index.data(Qt::DisplayRole).toString();
    const QFontMetrics metrics(option.font);
    const int textLeft = (rect.left() + rect.right()) / 2 - metrics.horizontalAdvance(caption) / 2;
    painter->setFont(option.font);
    painter->setPen(option.palette.color(QPalette::WindowText));
    painter->drawText(QPoint(textLeft, rect.top() + images_.Height() + 12 + metrics.ascent()),
                      caption);
}

QSize SideListDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const
{
    const QFontMetrics metrics(option.font);
    return {option.rect.width(), metrics.height() + images_.Height() + 18};
}
