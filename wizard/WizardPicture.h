#pragma once

#include <QPixmap>
#include <QSize>

// The picture on the left of the catalog wizard, drawn for a panel of the given size.
QPixmap WizardPicture(const QSize& size, qreal devicePixelRatio);
