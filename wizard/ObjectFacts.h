#pragma once

#include "wizard/WizardObjectRow.h"

#include <string>

// A row's size, date and attributes as the disk gives them for path: the first entry a
// file search finds for it (one lookup of the path itself when its last part has no
// wildcards), and the attributes of the path itself.
TWizardObjectRow ReadObjectFacts(const std::string& path);
