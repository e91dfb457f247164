#include "catalog/CatalogEditRules.h"

#include "catalog/CatalogFile.h"
#include "catalog/CatalogStore.h"
#include "support/core/FileNames.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace {

// The lengths of the paths asked for: an object of another length is none of them, and is
// passed over without hashing it.
class LengthFilter {
public:
    explicit LengthFilter(const std::vector<std::string>& paths)
    {
        for (const std::string& path : paths) {
            if (path.size() >= lengths_.size())
                lengths_.resize(path.size() + 1);
            lengths_[path.size()] = true;
        }
    }
    bool Holds(std::string_view object) const { return object.size() < lengths_.size() && lengths_[object.size()]; }

private:
    std::vector<bool> lengths_;
};

}  // namespace

std::optional<InsertObjects> AddObjectsEdit(const CatalogStore& store, int catalog,
                                            const std::vector<std::string>& paths)
{
    store.CheckLoaded(catalog);
    const ObjectList& objects = store.Catalog(catalog).Objects;
    // One pass over the catalog, however large, against a set of the few paths asked for;
    // only an object of a length asked for is looked up.
    std::unordered_set<std::string_view> wanted(paths.begin(), paths.end());
    const LengthFilter lengths(paths);
    for (const std::string_view object : objects) {
        if (wanted.empty())
            break;
        if (lengths.Holds(object))
            wanted.erase(object);
    }
    InsertObjects edit{catalog, {}, {}};
    for (const std::string& path : paths) {
        if (wanted.erase(path) == 0)
            continue;
        edit.positions.push_back(objects.size() + edit.paths.size());
        edit.paths.push_back(path);
    }
    if (edit.paths.empty())
        return std::nullopt;
    return edit;
}

std::optional<EraseObjects> EraseObjectsEdit(const CatalogStore& store, int catalog,
                                             std::vector<std::size_t> positions)
{
    store.CheckLoaded(catalog);
    const ObjectList& objects = store.Catalog(catalog).Objects;
    std::sort(positions.begin(), positions.end());
    positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
    if (positions.empty())
        return std::nullopt;
    EraseObjects edit{catalog, std::move(positions), {}};
    edit.paths.reserve(edit.positions.size());
    for (const std::size_t position : edit.positions)
        edit.paths.emplace_back(objects.at(position));
    return edit;
}

std::optional<EraseObjects> ErasePathsEdit(const CatalogStore& store, int catalog,
                                           const std::vector<std::string>& paths)
{
    store.CheckLoaded(catalog);
    const ObjectList& objects = store.Catalog(catalog).Objects;
    // How many occurrences of each path are asked for; the catalog is walked once.
    std::unordered_map<std::string_view, std::size_t> wanted;
    for (const std::string& path : paths)
        ++wanted[path];
    const LengthFilter lengths(paths);
    std::vector<std::size_t> positions;
    for (std::size_t i = 0; i < objects.size() && !wanted.empty(); ++i) {
        if (!lengths.Holds(objects[i]))
            continue;
        const auto found = wanted.find(objects[i]);
        if (found == wanted.end())
            continue;
        positions.push_back(i);
        if (--found->second == 0)
            wanted.erase(found);
    }
    return EraseObjectsEdit(store, catalog, std::move(positions));
}

InsertCatalog NewCatalogEdit(const CatalogStore& store, const TCatalogParam& data)
{
    const std::string title = TitleOfCommonLines(data.Common);
    return {store.Count(), {{store.NewCatalogFileName(title), title, data.Objects}, {}, {}, true}};
}

CatalogEdit UpdateCatalogEdit(const CatalogStore& store, int catalog, const TCatalogParam& data)
{
    store.CheckLoaded(catalog);
    const TCatalogEntry& entry = store.Catalog(catalog);
    if (TitleOfCommonLines(data.Common) != DisplayedName(entry.FileName))
        return NewCatalogEdit(store, data);
    return SetObjects{catalog, entry.Objects.ToStrings(), data.Objects};
}

SetFileName RenameCatalogEdit(const CatalogStore& store, int catalog, const std::string& newName)
{
    store.CheckLoaded(catalog);
    return {catalog, store.Catalog(catalog).FileName, store.RenamedFileName(catalog, newName)};
}

RemoveCatalog RemoveCatalogEdit(const CatalogStore& store, int catalog)
{
    return {catalog, store.Listed(catalog)};
}

std::vector<std::string> ExistingFoldersThenFiles(const std::vector<std::string>& folders,
                                                  const std::vector<std::string>& files)
{
    std::vector<std::string> paths;
    paths.reserve(folders.size() + files.size());
    std::copy_if(folders.begin(), folders.end(), std::back_inserter(paths),
                 [](const std::string& path) { return DirExists(path); });
    std::copy_if(files.begin(), files.end(), std::back_inserter(paths),
                 [](const std::string& path) { return FileExistsQuiet(path); });
    return paths;
}
