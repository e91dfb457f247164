#pragma once

#include "catalog/CatalogParam.h"
#include "chooser/ObjectChooser.h"

#include <functional>
#include <string>
#include <vector>

class Prompter;
class QWidget;

// What the main window asks of the dialogs it opens. The program uses the real dialogs;
// tests put answers in their place.

// Runs the rename dialog: mrOk with newName set, or mrCancel.
using RenameDialogRunner = std::function<int(QWidget* owner, const std::string& oldName,
                                             std::string& newName,
                                             const std::vector<std::string>& otherNames)>;
// Runs the catalog wizard on data: mrOk when the user finished it (data's out fields are
// then filled), mrCancel otherwise.
using CatalogWizardRunner = std::function<int(QWidget* owner, TCatalogParam& data)>;
using AboutDialogRunner = std::function<void(QWidget* owner)>;

// The wizard the main window runs unless it is given another: empty while the program has
// no wizard, which the new and update commands say plainly.
CatalogWizardRunner DefaultCatalogWizardRunner();
RenameDialogRunner DefaultRenameDialogRunner();
AboutDialogRunner DefaultAboutDialogRunner();

struct TCatalogFormServices {
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
