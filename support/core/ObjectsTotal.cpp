#include "support/core/ObjectsTotal.h"

#include <algorithm>
#include <span>
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

// The objects that cover each identity, in the order listed. Nearly every identity is covered
// by one object, which is kept without a list of its own: a list of many objects costs one
// table entry each.
class Coverers {
public:
    explicit Coverers(const std::vector<const ObjectSize*>& sizes)
    {
        first_.reserve(sizes.size());
        for (std::size_t outer = 0; outer < sizes.size(); ++outer) {
            for (const FileId& id : sizes[outer]->covers)
                Add(id, static_cast<int>(outer));
        }
    }

    std::span<const int> Of(const FileId& id) const
    {
        const auto found = first_.find(id);
        if (found == first_.end())
            return {};
        if (found->second >= 0)
            return {&found->second, 1};
        return several_[std::size_t(-1 - found->second)];
    }

private:
    // A negative value names a list of several_.
    void Add(const FileId& id, int outer)
    {
        auto [known, added] = first_.try_emplace(id, outer);
        if (added || known->second == outer)
            return;
        if (known->second >= 0) {
            several_.push_back({known->second});
            known->second = -static_cast<int>(several_.size());
        }
        std::vector<int>& objects = several_[std::size_t(-1 - known->second)];
        if (objects.back() != outer)
            objects.push_back(outer);
    }

    std::unordered_map<FileId, int, FileIdHash> first_;
    std::vector<std::vector<int>> several_;
};

}  // namespace

// The objects that cover each identity are looked up, so that a list of many objects costs
// a pass over their chains rather than a comparison of every pair.
std::vector<int> HoldingObjects(const std::vector<const ObjectSize*>& sizes)
{
    const int count = static_cast<int>(sizes.size());
    const Coverers coverers(sizes);
    std::vector<int> holders(sizes.size(), -1);
    for (int inner = 0; inner < count; ++inner) {
        const ObjectSize& held = *sizes[std::size_t(inner)];
        for (const FileId& id : held.chain) {
            for (const int outer : coverers.Of(id)) {
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
    return TotalOf(sizes, HoldingObjects(sizes));
}

SizeTotal TotalOf(const std::vector<const ObjectSize*>& sizes, const std::vector<int>& holders)
{
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
