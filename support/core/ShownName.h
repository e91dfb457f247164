#pragma once

#include <QString>
#include <QStringList>

#include <string>

// A name as messages show it: as the host shows it, with line breaks, tabs and other control
// characters written out (<LF>, <CR>, <TAB>, <0x01>) so that a name holding them stays on one
// line and can be told from others.
QString ShownName(const QString& name);

// A message that names objects: heading, then each name on a line of its own as ShownName
// shows it.
QString WithShownNames(const QString& heading, const QStringList& names);

// The same for a code page 932 name (bytes that are no code page 932 text stay as they are).
std::string ShownName(const std::string& cp932);
