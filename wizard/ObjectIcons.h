#pragma once

#include "wizard/WizardObjectRow.h"

#include <QFileIconProvider>
#include <QIcon>

#include <string>
#include <unordered_map>

// Small icons of the object lists, chosen by the object's kind and name ending only, as the
// shell does when it is told the attributes: an object is never opened for its icon. A
// missing object shows the generic file icon faded.
class ObjectIcons {
public:
    QIcon Icon(const TWizardObjectRow& row);

private:
    QIcon FileIcon(const std::string& path);

    QFileIconProvider provider_;
    std::unordered_map<std::string, QIcon> byExtension_;
    QIcon folder_;
    QIcon missing_;
};
