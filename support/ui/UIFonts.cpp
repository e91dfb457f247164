#include "support/ui/UIFonts.h"

#include <QFontDatabase>

#include <algorithm>
#include <cmath>

namespace {

const QString kUIGothic = QString::fromUtf8(UIGothicFamily);

QString SystemFamily()
{
    return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
}

}  // namespace

bool UsesUIGothicFont(const QStringList& installedFamilies, const QString& systemFamily)
{
    return installedFamilies.contains(kUIGothic, Qt::CaseInsensitive) && systemFamily == kUIGothic;
}

bool UsesUIGothicFont()
{
    return UsesUIGothicFont(QFontDatabase::families(), SystemFamily());
}

QFont DesignFont(const QString& family, int pixelSize)
{
    QFont font = QFontDatabase::families().contains(family, Qt::CaseInsensitive)
                     ? QFont(family)
                     : QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPixelSize(pixelSize);
    return font;
}

double DesignScale(const QFontMetrics& metrics)
{
    constexpr double DesignFullWidth = 12.0;
    constexpr double DesignHalfWidth = 6.0;
    const QString halfWidth = QStringLiteral("0123456789abcdefghijklmnopqrstuvwxyz");
    const double fullWidthScale = metrics.horizontalAdvance(QChar(0x3042)) / DesignFullWidth;
    const double halfWidthScale
        = metrics.horizontalAdvance(halfWidth) / (DesignHalfWidth * static_cast<double>(halfWidth.size()));
    return std::max({1.0, fullWidthScale, halfWidthScale});
}

int ScaledWidth(int designWidth, const QFontMetrics& metrics)
{
    return static_cast<int>(std::ceil(designWidth * DesignScale(metrics)));
}
