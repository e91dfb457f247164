#pragma once

#include <QString>
#include <QStringList>

#include <string>
#include <vector>

// A name as the message boxes show it: as the host shows it, with line breaks, tabs and
// other control characters written out (<LF>, <CR>, <TAB>, <0x01>) so that a name holding
// them stays on one line and can be told from others.
QString ShownName(const QString& name);

// The message that names the objects (code page 932 paths) that were not added because a
// catalog cannot hold them (a line break in a name, blanks around a whole path).
QString UnstorableNamesText(const std::vector<std::string>& paths);

// The message that tells the user which chosen names were left out of the choice because
// the program cannot keep them. The names are screen texts (ShownName applies).
QString RefusedNamesText(const QStringList& names);
