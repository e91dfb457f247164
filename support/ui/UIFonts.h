#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QStringList>

// The fonts the program's windows are designed for ("MS UI Gothic", "ＭＳ Ｐゴシック") are
// used where they are installed; elsewhere the system's user-interface font stands in.

// Their family names, as the layouts ask for them.
inline constexpr char UIGothicFamily[] = "MS UI Gothic";
inline constexpr char PGothicFamily[] = "ＭＳ Ｐゴシック";

// True when a font named "MS UI Gothic" is installed (name compared without case) and the
// system's user-interface font is exactly "MS UI Gothic".
bool UsesUIGothicFont();
bool UsesUIGothicFont(const QStringList& installedFamilies, const QString& systemFamily);

// family at pixelSize when it is installed, else the system's user-interface font at
// pixelSize.
QFont DesignFont(const QString& family, int pixelSize);

// The windows were laid out for a 12-pixel face whose full-width characters are 12 pixels
// and whose digits and Latin letters are about 6 pixels wide. DesignScale is how much wider
// the font of metrics draws than that face (never less than 1); ScaledWidth applies it to a
// width in pixels of the design.
double DesignScale(const QFontMetrics& metrics);
int ScaledWidth(int designWidth, const QFontMetrics& metrics);
