#pragma once

#include <QString>
#include <QStringList>

#include <string>

// A screen text as code page 932 for a message that names it. Characters without a code
// page 932 form show as "?", so that a name the program cannot keep can still be named.
std::string Cp932ForMessage(const QString& text);

// The message that tells the user which chosen names were left out of the choice because
// the program cannot keep them.
QString RefusedNamesText(const QStringList& names);
