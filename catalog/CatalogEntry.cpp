#include "catalog/CatalogEntry.h"

#include "support/core/HostPath.h"

std::string DisplayedName(std::string_view fileName)
{
    const std::string name = ExtractFileName(fileName);
    return ChangeFileExt(name, "");
}
