#pragma once

#include <cstddef>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The object paths of a catalog, in order: a list of byte strings read like a
// std::vector<std::string_view>. A catalog may hold a million objects, so the paths are not
// one heap string each: they are views into shared byte chunks that never change once written
// (the bytes of the file they were read from, or a chunk of their own for paths added since).
// Each path stands in its chunk followed by CR LF, so that the object lines of a catalog can be
// written straight from the chunks (LineRuns). Copies share the chunks and are independent:
// changing one never changes another.
class ObjectList {
public:
    using value_type = std::string_view;
    using const_iterator = std::vector<std::string_view>::const_iterator;
    using iterator = const_iterator;
    using size_type = std::size_t;

    ObjectList() = default;
    ObjectList(std::initializer_list<std::string_view> paths);
    ObjectList(const std::vector<std::string>& paths);  // NOLINT: lists convert as vectors did
    ObjectList(const std::vector<std::string_view>& paths);  // NOLINT

    // The list of lines, each a view into bytes that owner keeps alive and nobody changes.
    // Each line must be as the catalog reader splits a text: not empty, without CR, LF or NUL.
    // When crLfAfterEach, every line stands followed by CR LF in those bytes and is listed in
    // place; otherwise the lines are copied into a chunk of their own.
    static ObjectList OfLines(std::shared_ptr<const void> owner, std::vector<std::string_view> lines,
                              bool crLfAfterEach);

    std::size_t size() const { return paths_.size(); }
    bool empty() const { return paths_.empty(); }
    std::string_view operator[](std::size_t i) const { return paths_[i]; }
    std::string_view at(std::size_t i) const { return paths_.at(i); }
    std::string_view front() const { return paths_.front(); }
    std::string_view back() const { return paths_.back(); }
    const_iterator begin() const { return paths_.begin(); }
    const_iterator end() const { return paths_.end(); }

    void clear();
    void push_back(std::string_view path);
    // Inserts path before at; gives the position of the inserted path.
    const_iterator insert(const_iterator at, std::string_view path);
    // Inserts copies of the paths before at, in order.
    template<class Iterator>
    const_iterator insert(const_iterator at, Iterator first, Iterator last)
    {
        return InsertViews(at, std::vector<std::string_view>(first, last));
    }
    const_iterator erase(const_iterator at);
    const_iterator erase(const_iterator first, const_iterator last);
    void pop_back() { erase(end() - 1); }

    // Inserts paths[i] to stand at positions[i] of the list as it is afterwards; positions
    // ascending, each below the size afterwards.
    void InsertAt(const std::vector<std::size_t>& positions, const std::vector<std::string>& paths);
    // Erases the paths at these positions of the list as it is before; positions ascending,
    // each below the size.
    void EraseAt(const std::vector<std::size_t>& positions);

    std::vector<std::string> ToStrings() const;

    // The object lines, each path followed by CR LF, as views of the chunks: paths that stand
    // one after another in a chunk are given as one run, so a list read from a file and
    // changed a little is a few runs.
    std::vector<std::string_view> LineRuns() const;
    // The first path that the catalog reader would not give back as one line of its own
    // (empty, or holding CR, LF or NUL), or nothing. Paths read as lines are known to be
    // such lines and are not looked at again.
    std::optional<std::string_view> FirstNonLine() const;

    friend bool operator==(const ObjectList& a, const ObjectList& b) { return a.paths_ == b.paths_; }

private:
    struct Chunk;

    // Copies paths into the chunks, each followed by CR LF; gives the views of the copies.
    std::vector<std::string_view> Store(const std::vector<std::string_view>& paths);
    const_iterator InsertViews(const_iterator at, std::vector<std::string_view> paths);
    // A new chunk of the list's own, open for the paths stored next.
    Chunk& NewChunk(std::size_t capacity);
    bool CanAppend(const char* begin, std::size_t need) const;
    // The first chunk that starts after at, and the chunk that holds at.
    std::vector<std::shared_ptr<Chunk>>::const_iterator ChunkAfter(const char* at) const;
    Chunk& ChunkAt(const char* at) const;
    // Drops chunks no path refers to any more, or copies the paths into one chunk, when the
    // chunks hold much more than the paths need.
    void Compact();

    std::vector<std::string_view> paths_;
    // Ordered by address, so that a path's chunk is found by a binary search.
    std::vector<std::shared_ptr<Chunk>> chunks_;
    // Where the chunk paths are stored in starts; none before the first is made.
    const char* open_ = nullptr;
    // The bytes the paths take in the chunks, line ends included.
    std::size_t bytes_ = 0;
};
