#pragma once

#include "catalog/CatalogName.h"
#include "chooser/ObjectChooser.h"

#include <functional>
#include <string>

class Prompter;

// What the catalog wizard needs from the window that runs it, besides the record.
struct CatalogWizardServices {
    // Where new catalog files live, with its trailing delimiter (code page 932).
    std::string ProgramFolder;
    // The catalog-name rule for the name the wizard hands back (a new catalog's name); none:
    // the rule for ProgramFolder with no other catalog listed.
    CatalogNameCheck CheckName;
    // Opens the application's help at a context number; none: the help viewer of the
    // wizard's owner.
    std::function<void(int helpContext)> ShowHelp;
    // Picks objects for the list; none: the real chooser.
    ObjectChooserRunner Chooser;
    // Answers the wizard's boxes in place of boxes over the wizard (tests); none: real boxes.
    Prompter* Boxes = nullptr;
};
