// How the store applies each kind of edit: check that the edit matches the list, then change
// the list, so that an edit is applied whole or not at all.

#include "catalog/CatalogStore.h"
#include "support/core/RowOrder.h"

#include <algorithm>
#include <stdexcept>

namespace {

void Require(bool condition, const char* what)
{
    if (!condition)
        throw std::logic_error(what);
}

}  // namespace

CatalogEdit CatalogStore::Apply(CatalogEdit edit)
{
    std::visit([this](auto& e) { ApplyEdit(e); }, edit);
    ++revision_;
    emit Edited(edit);
    SetModified(true);
    return Inverse(std::move(edit));
}

ListedCatalog CatalogStore::Listed(int index) const
{
    const std::size_t at = CheckedIndex(index);
    return {catalogs_[at], unreadable_[at], origins_[at].savedAs, origins_[at].edited};
}

std::vector<ListedCatalog> CatalogStore::ListedCatalogs() const
{
    std::vector<ListedCatalog> list;
    list.reserve(catalogs_.size());
    for (int i = 0; i < Count(); ++i)
        list.push_back(Listed(i));
    return list;
}

void CatalogStore::SetListed(std::vector<ListedCatalog> list)
{
    catalogs_.clear();
    unreadable_.clear();
    origins_.clear();
    for (ListedCatalog& listed : list) {
        catalogs_.push_back(std::move(listed.catalog));
        unreadable_.push_back(std::move(listed.unreadableReason));
        origins_.push_back({std::move(listed.savedAs), listed.edited});
    }
}

std::vector<std::string> CatalogStore::FileNames() const
{
    std::vector<std::string> names;
    names.reserve(catalogs_.size());
    for (const TCatalogEntry& entry : catalogs_)
        names.push_back(entry.FileName);
    return names;
}

bool CatalogStore::ListChanged() const
{
    return FileNames() != savedList_;
}

void CatalogStore::ApplyEdit(InsertCatalog& edit)
{
    Require(edit.index >= 0 && edit.index <= Count(), "no place for a catalog at this index");
    const auto at = edit.index;
    const ListedCatalog& listed = edit.listed;
    catalogs_.insert(catalogs_.begin() + at, listed.catalog);
    unreadable_.insert(unreadable_.begin() + at, listed.unreadableReason);
    origins_.insert(origins_.begin() + at, {listed.savedAs, listed.edited});
}

void CatalogStore::ApplyEdit(::RemoveCatalog& edit)
{
    Require(Listed(edit.index) == edit.listed, "the catalog removed is not the one listed");
    const auto at = edit.index;
    catalogs_.erase(catalogs_.begin() + at);
    unreadable_.erase(unreadable_.begin() + at);
    origins_.erase(origins_.begin() + at);
}

void CatalogStore::ApplyEdit(SetFileName& edit)
{
    const std::size_t at = CheckLoaded(edit.catalog);
    Require(catalogs_[at].FileName == edit.from, "the catalog's file name is not the one replaced");
    catalogs_[at].FileName = edit.to;
    origins_[at].edited = true;
}

void CatalogStore::ApplyEdit(SetObjects& edit)
{
    const std::size_t at = CheckLoaded(edit.catalog);
    Require(catalogs_[at].Objects == ObjectList(edit.from), "the catalog's objects are not the ones replaced");
    catalogs_[at].Objects = edit.to;
    origins_[at].edited = true;
}

void CatalogStore::ApplyEdit(InsertObjects& edit)
{
    const std::size_t at = CheckLoaded(edit.catalog);
    // The list refuses positions out of order or out of range, and stays as it was.
    catalogs_[at].Objects.InsertAt(edit.positions, edit.paths);
    origins_[at].edited = true;
}

void CatalogStore::ApplyEdit(EraseObjects& edit)
{
    const std::size_t at = CheckLoaded(edit.catalog);
    ObjectList& objects = catalogs_[at].Objects;
    Require(edit.positions.size() == edit.paths.size() && StrictlyAscending(edit.positions)
                && (edit.positions.empty() || edit.positions.back() < objects.size()),
            "object positions out of order or out of range");
    for (std::size_t i = 0; i < edit.positions.size(); ++i)
        Require(objects[edit.positions[i]] == edit.paths[i], "the object erased is not the one held");
    objects.EraseAt(edit.positions);
    origins_[at].edited = true;
}

void CatalogStore::ApplyEdit(ReplaceList& edit)
{
    Require(ListedCatalogs() == edit.from, "the list replaced is not the one held");
    SetListed(edit.to);
}
