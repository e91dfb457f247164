#pragma once

#include "catalog/CatalogParam.h"
#include "chooser/ObjectChooser.h"
#include "wizard/CatalogWizardServices.h"

#include <functional>
#include <string>
#include <vector>

class Prompter;
class QWidget;

// What the main window asks of the dialogs it opens. The program uses the real dialogs;
// tests put answers in their place.

// Runs the rename dialog with the catalog-name rule for the renamed catalog: mrOk with
// newName set, or mrCancel.
using RenameDialogRunner = std::function<int(QWidget* owner, const std::string& oldName,
                                             std::string& newName, const CatalogNameCheck& check)>;
// Runs the catalog wizard on data with what the window gives it: mrOk when the user
// finished it (data's out fields are then filled), mrCancel otherwise.
using CatalogWizardRunner = std::function<int(QWidget* owner, TCatalogParam& data,
                                              const CatalogWizardServices& services)>;
using AboutDialogRunner = std::function<void(QWidget* owner)>;

// The dialogs the main window runs unless it is given others.
CatalogWizardRunner DefaultCatalogWizardRunner();
RenameDialogRunner DefaultRenameDialogRunner();
AboutDialogRunner DefaultAboutDialogRunner();

struct CatalogFormServices {
    // Where the window's question and error boxes go; null for the window's own boxes.
    Prompter* prompter = nullptr;
    RenameDialogRunner runRenameDialog = DefaultRenameDialogRunner();
    CatalogWizardRunner runCatalogWizard = DefaultCatalogWizardRunner();
    ObjectChooserRunner runObjectChooser = RunObjectChooser;
    AboutDialogRunner showAboutDialog = DefaultAboutDialogRunner();
    // Whether the program was asked to start maximised: then the saved placement is not
    // applied at the first showing.
    bool startedMaximized = false;
};
