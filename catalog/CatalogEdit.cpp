#include "catalog/CatalogEdit.h"

#include "support/core/Overloaded.h"

#include <utility>

CatalogEdit Inverse(CatalogEdit edit)
{
    return std::visit(
        Overloaded{
            [](InsertCatalog& e) -> CatalogEdit { return RemoveCatalog{e.index, std::move(e.listed)}; },
            [](RemoveCatalog& e) -> CatalogEdit { return InsertCatalog{e.index, std::move(e.listed)}; },
            [](SetFileName& e) -> CatalogEdit { return SetFileName{e.catalog, std::move(e.to), std::move(e.from)}; },
            [](SetObjects& e) -> CatalogEdit { return SetObjects{e.catalog, std::move(e.to), std::move(e.from)}; },
            [](InsertObjects& e) -> CatalogEdit {
                return EraseObjects{e.catalog, std::move(e.positions), std::move(e.paths)};
            },
            [](EraseObjects& e) -> CatalogEdit {
                return InsertObjects{e.catalog, std::move(e.positions), std::move(e.paths)};
            },
            [](ReplaceList& e) -> CatalogEdit { return ReplaceList{std::move(e.to), std::move(e.from)}; },
        },
        edit);
}

int EditedCatalog(const CatalogEdit& edit)
{
    return std::visit(Overloaded{
                          [](const InsertCatalog& e) { return e.index; },
                          [](const RemoveCatalog& e) { return e.index; },
                          [](const SetFileName& e) { return e.catalog; },
                          [](const SetObjects& e) { return e.catalog; },
                          [](const InsertObjects& e) { return e.catalog; },
                          [](const EraseObjects& e) { return e.catalog; },
                          [](const ReplaceList&) { return -1; },
                      },
                      edit);
}
