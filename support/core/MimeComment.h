#pragma once

#include <QString>

// The description of a file type in one language, as the shared MIME database of the desktop
// holds it (the type's own file under mime/ of the data folders, <comment xml:lang="...">).
// The program's interface is Japanese whatever the user's locale, so its type names are the
// Japanese ones, not those of the locale the database would pick.

// The comment of mimeName (a type's canonical name, "text/plain") in language ("ja"),
// trimmed; "" when the database has none in that language.
QString MimeComment(const QString& mimeName, const QString& language);
