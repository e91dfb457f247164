#include "cli/WizardOrder.h"

#include "support/core/Collation.h"
#include "support/core/FileNames.h"

#include <algorithm>
#include <unordered_set>

namespace {

enum class Kind { Folder, File, Missing };

Kind KindOf(const std::string& path)
{
    const int attributes = GetFileAttributesOf(path);
    if (attributes == -1)
        return Kind::Missing;
    return (attributes & faDirectory) != 0 ? Kind::Folder : Kind::File;
}

struct Row {
    Kind kind;
    QCollatorSortKey key;
    std::string path;
};

}  // namespace

std::vector<std::string> InWizardOrder(const std::vector<std::string>& paths)
{
    std::vector<Row> rows;
    std::unordered_set<std::string> seen;
    for (const std::string& path : paths) {
        if (seen.insert(path).second)
            rows.push_back({KindOf(path), LocaleSortKey(path), path});
    }
    std::stable_sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) {
        if (a.kind != b.kind)
            return a.kind < b.kind;
        return a.key.compare(b.key) < 0;
    });

    std::vector<std::string> ordered;
    ordered.reserve(rows.size());
    for (Row& row : rows)
        ordered.push_back(std::move(row.path));
    return ordered;
}
