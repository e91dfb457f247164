#include "support/core/ObjectsTotal.h"

#include <algorithm>
#include <unordered_set>

namespace {

bool Holds(const ObjectSize& outer, const ObjectSize& inner)
{
    return std::any_of(inner.chain.begin(), inner.chain.end(), [&](const FileId& id) {
        return std::find(outer.covers.begin(), outer.covers.end(), id) != outer.covers.end();
    });
}

}  // namespace

std::vector<int> HoldingObjects(const std::vector<ObjectSize>& sizes)
{
    const int count = static_cast<int>(sizes.size());
    std::vector<int> holders(sizes.size(), -1);
    for (int inner = 0; inner < count; ++inner) {
        for (int outer = 0; outer < count; ++outer) {
            if (outer == inner || !Holds(sizes[outer], sizes[inner]))
                continue;
            if (outer > inner && Holds(sizes[inner], sizes[outer]))
                continue;
            holders[inner] = outer;
            break;
        }
    }
    return holders;
}

SizeTotal TotalOf(const std::vector<ObjectSize>& sizes)
{
    const std::vector<int> holders = HoldingObjects(sizes);
    SizeTotal total;
    std::unordered_set<FileId, FileIdHash> linked;
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        const ObjectSize& size = sizes[i];
        if (holders[i] >= 0)
            continue;
        total.bytes += size.bytes;
        total.files += size.files;
        total.folders += size.folders;
        total.unreadable.insert(total.unreadable.end(), size.unreadable.begin(), size.unreadable.end());
        for (const LinkedFile& file : size.linkedFiles) {
            if (linked.insert(file.id).second)
                continue;
            total.bytes -= file.bytes;
            --total.files;
        }
    }
    return total;
}
