#include "catalog/CatalogEntry.h"

#include "support/core/Cp932.h"
#include "support/core/HostPath.h"
#include "support/core/Mbcs.h"

std::string DisplayedName(std::string_view fileName)
{
    const std::string name = ExtractFileName(fileName);
    return ChangeFileExt(name, "");
}

std::string NoCaseKey(const std::string& text)
{
    if (const auto unicode = Cp932ToQString(text))
        return 'u' + unicode->toCaseFolded().toStdString();
    return 'b' + MBLowerCase(text);
}
