#pragma once

#include "catalog/CatalogParam.h"
#include "chooser/ObjectChooser.h"
#include "support/core/SizeIndex.h"
#include "wizard/CatalogWizardServices.h"
#include "wizard/RenameDialogServices.h"

#include <QDialog>

#include <functional>
#include <string>

class Prompter;
class QWidget;

// What the main window asks of the dialogs it opens. The program uses the real dialogs;
// tests put answers in their place.

// Runs the rename dialog with what the window gives it: Accepted with newName set, or
// Rejected.
using RenameDialogRunner = std::function<QDialog::DialogCode(
    QWidget* owner, const std::string& oldName, std::string& newName, const RenameDialogServices& services)>;
// Runs the catalog wizard on data with what the window gives it: Accepted when the user
// finished it (data's out fields are then filled), Rejected otherwise.
using CatalogWizardRunner = std::function<QDialog::DialogCode(QWidget* owner, TCatalogParam& data,
                                                              const CatalogWizardServices& services)>;
using AboutDialogRunner = std::function<void(QWidget* owner)>;

// The dialogs the main window runs unless it is given others.
CatalogWizardRunner DefaultCatalogWizardRunner();
RenameDialogRunner DefaultRenameDialogRunner();
AboutDialogRunner DefaultAboutDialogRunner();

struct CatalogFormServices {
    // Where the window's question and error boxes go, and those of the dialogs it opens;
    // null for their own boxes.
    Prompter* prompter = nullptr;
    RenameDialogRunner runRenameDialog = DefaultRenameDialogRunner();
    CatalogWizardRunner runCatalogWizard = DefaultCatalogWizardRunner();
    ObjectChooserRunner runObjectChooser = RunObjectChooser;
    AboutDialogRunner showAboutDialog = DefaultAboutDialogRunner();
    // Whether the program was asked to start maximised: then the saved placement is not
    // applied at the first showing.
    bool startedMaximized = false;
    // How the object list's sizes are counted and followed.
    SizeIndexOptions sizes;
};
