#include "app/CatalogFormServices.h"

#include "wizard/CatAboutForm.h"
#include "wizard/CatRenameForm.h"
#include "wizard/TessnaForm.h"

CatalogWizardRunner DefaultCatalogWizardRunner()
{
    return RunCatalogWizard;
}

RenameDialogRunner DefaultRenameDialogRunner()
{
    return RunRenameDialog;
}

AboutDialogRunner DefaultAboutDialogRunner()
{
    return ShowAboutDialog;
}
