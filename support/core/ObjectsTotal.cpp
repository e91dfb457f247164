#include "support/core/ObjectsTotal.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

namespace {

bool Holds(const ObjectSize& outer, const ObjectSize& inner)
{
    return std::any_of(inner.chain.begin(), inner.chain.end(), [&](const FileId& id) {
        return std::find(outer.covers.begin(), outer.covers.end(), id) != outer.covers.end();
    });
}

std::vector<const ObjectSize*> Pointers(const std::vector<ObjectSize>& sizes)
{
    std::vector<const ObjectSize*> pointers;
    pointers.reserve(sizes.size());
    for (const ObjectSize& size : sizes)
        pointers.push_back(&size);
    return pointers;
}

}  // namespace

// The objects that cover each identity are looked up, so that a list of many objects costs
// a pass over their chains rather than a comparison of every pair.
std::vector<int> HoldingObjects(const std::vector<const ObjectSize*>& sizes)
{
    const int count = static_cast<int>(sizes.size());
    std::unordered_map<FileId, std::vector<int>, FileIdHash> coveredBy;
    for (int outer = 0; outer < count; ++outer) {
        for (const FileId& id : sizes[std::size_t(outer)]->covers) {
            std::vector<int>& objects = coveredBy[id];
            if (objects.empty() || objects.back() != outer)
                objects.push_back(outer);
        }
    }
    std::vector<int> holders(sizes.size(), -1);
    for (int inner = 0; inner < count; ++inner) {
        const ObjectSize& held = *sizes[std::size_t(inner)];
        for (const FileId& id : held.chain) {
            const auto found = coveredBy.find(id);
            if (found == coveredBy.end())
                continue;
            for (const int outer : found->second) {
                if (outer == inner || (holders[inner] >= 0 && outer >= holders[inner]))
                    continue;
                if (outer > inner && Holds(held, *sizes[std::size_t(outer)]))
                    continue;
                holders[inner] = outer;
            }
        }
    }
    return holders;
}

std::vector<int> HoldingObjects(const std::vector<ObjectSize>& sizes)
{
    return HoldingObjects(Pointers(sizes));
}

SizeTotal TotalOf(const std::vector<const ObjectSize*>& sizes)
{
    const std::vector<int> holders = HoldingObjects(sizes);
    SizeTotal total;
    std::unordered_set<FileId, FileIdHash> linked;
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        const ObjectSize& size = *sizes[i];
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

SizeTotal TotalOf(const std::vector<ObjectSize>& sizes)
{
    return TotalOf(Pointers(sizes));
}
