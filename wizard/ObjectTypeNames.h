#pragma once

#include "wizard/WizardObjectRow.h"

#include <QString>

#include <string>
#include <unordered_map>

// The type-column text of an object, by its name only (the object is never opened): the
// MIME database's description in the user-interface language, or the program's own
// "EXT ファイル" text when the database knows nothing better. Answers are kept per name
// ending, because a large chooser result is mostly a few kinds of files.
class ObjectTypeNames {
public:
    // The text for a row's kind and path; empty for a missing object.
    QString TypeName(const TWizardObjectRow& row);

private:
    QString FileTypeName(const std::string& path);

    std::unordered_map<std::string, QString> byEnding_;
    QString folderName_;
};
