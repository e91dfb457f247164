// The catalog reader on any bytes: no crash, no undefined behaviour, and the objects it finds
// survive a save and a second read unchanged.
#include "catalog/CatalogFile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto entry = ParseCatalog("/fuzz/c.VrCat", bytes);
    if (!entry)
        return 0;
    const std::string saved = CatalogText(*entry);
    const auto again = ParseCatalog(entry->FileName, saved);
    if (!again || again->Objects != entry->Objects)
        std::abort();
    DisplayedName(entry->FileName + std::string(bytes.substr(0, 64)));
    return 0;
}
