#pragma once

#include <QHeaderView>
#include <QTest>

// A left click on the heading of column, near its left edge, as a person sorts a list.
inline void ClickHeading(QHeaderView* header, int column)
{
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
}
