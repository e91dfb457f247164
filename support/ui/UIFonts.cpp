#include "support/ui/UIFonts.h"

#include <QFontDatabase>

namespace {

const QString kUIGothic = QStringLiteral("MS UI Gothic");

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
