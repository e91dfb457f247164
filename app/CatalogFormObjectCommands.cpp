// The object commands: add objects chosen with the object chooser to the selected catalog,
// and delete the selected objects from it. The program has no chooser yet; both commands
// say so.

#include "app/CatalogForm.h"

void TCatalogForm::ActI_ItemFileAddExecute()
{
    if (CurrentCatalogNode() < 0)
        return;
    ReportNotAvailable(ActI_ItemFileAdd);
}

void TCatalogForm::ActI_ItemDeleteExecute()
{
    ReportNotAvailable(ActI_ItemDelete);
}
