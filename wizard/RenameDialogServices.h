#pragma once

#include "catalog/CatalogName.h"

class Prompter;

// What the rename dialog needs from the window that runs it, besides the old name.
struct RenameDialogServices {
    // Where the error boxes go; null for boxes owned by the dialog itself.
    Prompter* prompter = nullptr;
    // The catalog-name rule for the renamed catalog; none: the rule for the current folder
    // with no other catalog listed.
    CatalogNameCheck checkName {};
};
