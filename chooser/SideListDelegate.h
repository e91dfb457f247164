#pragma once

#include <QColor>
#include <QStyledItemDelegate>

class TImageList;

// Draws one place of the side list: on the list's colour, the place's large icon centred
// near the top and its caption centred under it. The icon index is the item's
// Qt::UserRole data. A selected place shows its caption on the selection colour, the
// focused list's or the unfocused one's, and its icon in the selected mode while the list
// has the focus; the place the keys act on has the style's focus frame.
class SideListDelegate : public QStyledItemDelegate {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SideListDelegate)

public:
    SideListDelegate(const TImageList& images, QColor color, QObject* parent);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    const TImageList& images_;
    QColor color_;
};
