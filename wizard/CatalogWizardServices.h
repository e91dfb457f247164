#pragma once

#include "chooser/ObjectChooser.h"

#include <functional>
#include <string>

class Prompter;

// What the catalog wizard needs from the window that runs it, besides the record.
struct CatalogWizardServices {
    // Where new catalog files live, with its trailing delimiter (code page 932).
    std::string ProgramFolder;
    // Whether a catalog with this file name is already listed. A new catalog may not take
    // such a file name, or two list entries would write one file at the next save.
    std::function<bool(const std::string& fileName)> IsCatalogListed;
    // Opens the application's help at a context number; none: the help viewer of the
    // wizard's owner.
    std::function<void(int helpContext)> ShowHelp;
    // Picks objects for the list; none: the real chooser.
    ObjectChooserRunner Chooser;
    // Answers the wizard's boxes in place of boxes over the wizard (tests); none: real boxes.
    Prompter* Boxes = nullptr;
};
