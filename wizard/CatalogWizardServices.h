#pragma once

#include "catalog/CatalogName.h"
#include "chooser/ObjectChooser.h"
#include "support/core/SizeIndex.h"

#include <functional>
#include <string>

class Prompter;

// What the catalog wizard needs from the window that runs it, besides the record.
struct CatalogWizardServices {
    // Where new catalog files live, with its trailing delimiter (code page 932).
    std::string programFolder;
    // The catalog-name rule for the name the wizard hands back (a new catalog's name); none:
    // the rule for programFolder with no other catalog listed.
    CatalogNameCheck checkName {};
    // Opens the application's help at a context number; none: the help viewer of the
    // wizard's owner.
    std::function<void(int helpContext)> showHelp {};
    ObjectChooserRunner runObjectChooser = RunObjectChooser;
    // Where the wizard's boxes go; null for boxes owned by the wizard itself.
    Prompter* prompter = nullptr;
    // Lists an existing catalog file that the list does not name, when the user takes it
    // instead of a new catalog of that name; none: the wizard does not offer it.
    std::function<void(const std::string& file)> listExistingFile {};
    // Where the objects' sizes are counted: the running window's index, which outlives the
    // wizard, so that what it counted costs no new walk; null for an index of the wizard's
    // own, made with sizeOptions.
    SizeIndex* sizes = nullptr;
    SizeIndexOptions sizeOptions {};
};
