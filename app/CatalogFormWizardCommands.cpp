// The catalog commands that run the catalog wizard: new and update. The program has no
// wizard yet; both commands say so.

#include "app/CatalogForm.h"

CatalogWizardRunner DefaultCatalogWizardRunner()
{
    return {};
}

void TCatalogForm::ActF_CatNewExecute()
{
    ReportNotAvailable(ActF_CatNew);
}

void TCatalogForm::ActF_CatUpdateExecute()
{
    if (CurrentCatalogNode() < 0)
        return;
    ReportNotAvailable(ActF_CatUpdate);
}
