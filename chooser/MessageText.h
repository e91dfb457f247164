#pragma once

#include "support/core/ShownName.h"

#include <QString>
#include <QStringList>

#include <string>
#include <vector>

// The message that names the objects (code page 932 paths) that were not added because a
// catalog cannot hold them (a line break in a name, blanks around a whole path).
QString UnstorableNamesText(const std::vector<std::string>& paths);

// The message that tells the user which chosen names were left out of the choice because
// the program cannot keep them. The names are screen texts (ShownName applies).
QString RefusedNamesText(const QStringList& names);

// Why chosen objects were not added, for NotAddedText.
enum class NotAddedReason {
    AlreadyInCatalog,   // the catalog holds exactly this path
    AlreadyInList,      // the wizard's list holds exactly this path
    NotFound,           // not there (any longer) as the folder or file it was offered as
};

// WithShownNames for a list that may be long: the first names, then how many more, so that
// the box fits on the screen.
QString WithFirstShownNames(const QString& heading, const QStringList& names);

// The message that names the objects (code page 932 paths) a confirmed choice, a paste or a
// drop did not add, and why.
QString NotAddedText(NotAddedReason reason, const std::vector<std::string>& paths);

// One line for each different reason why these names (screen texts) have no faithful code
// page 932 form, each naming the character (Cp932Problem).
QString Cp932ProblemsText(const QStringList& names);
