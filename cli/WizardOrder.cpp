#include "cli/WizardOrder.h"

#include "support/core/Collation.h"
#include "support/core/FileFacts.h"
#include "support/core/FileNames.h"

#include <algorithm>
#include <unordered_set>

namespace {

struct Row {
    ObjectKind kind;
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
            rows.push_back({KindOfAttributes(GetFileAttributesOf(path)), LocaleSortKey(path), path});
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
