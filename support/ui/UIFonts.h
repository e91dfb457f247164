#pragma once

#include <QFont>
#include <QStringList>

// The fonts the program's windows are designed for ("MS UI Gothic", "ＭＳ Ｐゴシック") are
// used where they are installed; elsewhere the system's user-interface font stands in.

// True when a font named "MS UI Gothic" is installed (name compared without case) and the
// system's user-interface font is exactly "MS UI Gothic".
bool UsesUIGothicFont();
bool UsesUIGothicFont(const QStringList& installedFamilies, const QString& systemFamily);

// family at pixelSize when it is installed, else the system's user-interface font at
// pixelSize.
QFont DesignFont(const QString& family, int pixelSize);
