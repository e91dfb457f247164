#include "catalog/ObjectList.h"

#include "support/core/RowOrder.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <stdexcept>

namespace {

constexpr std::string_view LineEnd = "\r\n";
// A chunk of the list's own takes twice what the last one holds, from MinChunk up to
// MaxChunk bytes, so that paths pushed one by one share few chunks.
constexpr std::size_t MinChunk = 4096;
constexpr std::size_t MaxChunk = std::size_t(4) << 20;
// More chunks than this, or chunks holding more than twice what the paths need, are copied
// into one.
constexpr std::size_t MaxChunks = 256;
constexpr std::size_t SlackBytes = std::size_t(1) << 20;

bool IsLine(std::string_view path)
{
    return !path.empty() && path.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

}  // namespace

struct ObjectList::Chunk {
    std::shared_ptr<const void> keep;  // bytes adopted from their owner
    std::unique_ptr<char[]> own;       // or bytes of the list's own
    const char* begin = nullptr;
    std::size_t used = 0;
    std::size_t capacity = 0;
    // Every path in the chunk is a line as the reader splits a text.
    bool lines = true;
};

ObjectList::ObjectList(std::initializer_list<std::string_view> paths)
    : ObjectList(std::vector<std::string_view>(paths))
{
}

ObjectList::ObjectList(const std::vector<std::string>& paths)
    : ObjectList(std::vector<std::string_view>(paths.begin(), paths.end()))
{
}

ObjectList::ObjectList(const std::vector<std::string_view>& paths)
{
    paths_ = Store(paths);
}

ObjectList ObjectList::OfLines(std::shared_ptr<const void> owner, std::vector<std::string_view> lines,
                               bool crLfAfterEach)
{
    if (!crLfAfterEach || lines.empty())
        return ObjectList(lines);
    auto chunk = std::make_shared<Chunk>();
    chunk->keep = std::move(owner);
    chunk->begin = lines.front().data();
    chunk->used = static_cast<std::size_t>(lines.back().data() + lines.back().size() + LineEnd.size() - chunk->begin);
    chunk->capacity = chunk->used;
    ObjectList list;
    for (const std::string_view line : lines)
        list.bytes_ += line.size() + LineEnd.size();
    list.paths_ = std::move(lines);
    list.chunks_.push_back(std::move(chunk));
    return list;
}

void ObjectList::clear()
{
    *this = ObjectList();
}

void ObjectList::push_back(std::string_view path)
{
    insert(end(), path);
}

ObjectList::const_iterator ObjectList::insert(const_iterator at, std::string_view path)
{
    return InsertViews(at, {path});
}

ObjectList::const_iterator ObjectList::InsertViews(const_iterator at, std::vector<std::string_view> paths)
{
    const auto offset = at - paths_.begin();
    const std::vector<std::string_view> stored = Store(paths);
    paths_.insert(paths_.begin() + offset, stored.begin(), stored.end());
    Compact();
    return paths_.begin() + offset;
}

ObjectList::const_iterator ObjectList::erase(const_iterator at)
{
    return erase(at, at + 1);
}

ObjectList::const_iterator ObjectList::erase(const_iterator first, const_iterator last)
{
    const auto offset = first - paths_.begin();
    for (auto path = first; path != last; ++path)
        bytes_ -= path->size() + LineEnd.size();
    paths_.erase(first, last);
    Compact();
    return paths_.begin() + offset;
}

void ObjectList::InsertAt(const std::vector<std::size_t>& positions, const std::vector<std::string>& paths)
{
    const std::size_t total = paths_.size() + paths.size();
    if (positions.size() != paths.size() || !StrictlyAscending(positions)
        || (!positions.empty() && positions.back() >= total))
        throw std::logic_error("object positions out of order or out of range");
    ::InsertAt(paths_, positions, Store({paths.begin(), paths.end()}));
    Compact();
}

void ObjectList::EraseAt(const std::vector<std::size_t>& positions)
{
    if (!StrictlyAscending(positions)
        || (!positions.empty() && positions.back() >= paths_.size()))
        throw std::logic_error("object positions out of order or out of range");
    for (const std::size_t at : positions)
        bytes_ -= paths_[at].size() + LineEnd.size();
    ::EraseAt(paths_, positions);
    Compact();
}

std::vector<std::string> ObjectList::ToStrings() const
{
    return {paths_.begin(), paths_.end()};
}

std::vector<std::string_view> ObjectList::Store(const std::vector<std::string_view>& paths)
{
    std::vector<std::string_view> stored;
    stored.reserve(paths.size());
    Chunk* open = open_ ? &ChunkAt(open_) : nullptr;
    for (const std::string_view path : paths) {
        const std::size_t need = path.size() + LineEnd.size();
        if (!open || !CanAppend(open_, need))
            open = &NewChunk(std::max(need, std::clamp(open ? 2 * open->used : 0, MinChunk, MaxChunk)));
        char* at = open->own.get() + open->used;
        std::memcpy(at, path.data(), path.size());
        std::memcpy(at + path.size(), LineEnd.data(), LineEnd.size());
        open->used += need;
        open->lines = open->lines && IsLine(path);
        bytes_ += need;
        stored.emplace_back(at, path.size());
    }
    return stored;
}

ObjectList::Chunk& ObjectList::NewChunk(std::size_t capacity)
{
    auto chunk = std::make_shared<Chunk>();
    chunk->capacity = capacity;
    chunk->own = std::make_unique_for_overwrite<char[]>(capacity);
    chunk->begin = chunk->own.get();
    open_ = chunk->begin;
    return **chunks_.insert(ChunkAfter(chunk->begin), std::move(chunk));
}

bool ObjectList::CanAppend(const char* begin, std::size_t need) const
{
    const auto& chunk = *(ChunkAfter(begin) - 1);
    // A chunk another list shares is never written to: that list may be in use on another
    // thread, appending to the same chunk.
    return chunk.use_count() == 1 && chunk->capacity - chunk->used >= need;
}

std::vector<std::shared_ptr<ObjectList::Chunk>>::const_iterator ObjectList::ChunkAfter(const char* at) const
{
    return std::upper_bound(chunks_.begin(), chunks_.end(), at,
                            [](const char* a, const auto& chunk) { return std::less<>()(a, chunk->begin); });
}

ObjectList::Chunk& ObjectList::ChunkAt(const char* at) const
{
    return **(ChunkAfter(at) - 1);
}

std::vector<std::string_view> ObjectList::LineRuns() const
{
    std::vector<std::string_view> runs;
    const char* start = nullptr;
    const char* end = nullptr;
    const char* limit = nullptr;
    for (const std::string_view path : paths_) {
        if (path.data() == end && end < limit) {
            end += path.size() + LineEnd.size();
            continue;
        }
        if (start)
            runs.emplace_back(start, static_cast<std::size_t>(end - start));
        const Chunk& chunk = ChunkAt(path.data());
        limit = chunk.begin + chunk.used;
        start = path.data();
        end = start + path.size() + LineEnd.size();
    }
    if (start)
        runs.emplace_back(start, static_cast<std::size_t>(end - start));
    return runs;
}

std::optional<std::string_view> ObjectList::FirstNonLine() const
{
    if (std::all_of(chunks_.begin(), chunks_.end(), [](const auto& chunk) { return chunk->lines; }))
        return std::nullopt;
    for (const std::string_view path : paths_) {
        if (!ChunkAt(path.data()).lines && !IsLine(path))
            return path;
    }
    return std::nullopt;
}

void ObjectList::Compact()
{
    if (paths_.empty()) {
        clear();
        return;
    }
    std::size_t held = 0;
    for (const auto& chunk : chunks_)
        held += chunk->used;
    if (chunks_.size() <= MaxChunks && held <= 2 * bytes_ + SlackBytes)
        return;
    ObjectList copy(paths_);
    *this = std::move(copy);
}
