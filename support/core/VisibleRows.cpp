#include "support/core/VisibleRows.h"

#include <algorithm>

namespace {

// How many rows ahead of the one matched a pass asks for a key's string and for its text.
constexpr int StringAhead = 16;
constexpr int TextAhead = 8;
// The bytes of one cache line, and of the texts of most keys (a name and a folder).
constexpr int CacheLine = 64;
constexpr int TextBytes = 3 * CacheLine;
// The most earlier words kept for erasing back to: each holds up to a number per row.
constexpr std::size_t MaxEarlier = 32;

// Calls take(row, key) for the rows rowAt(0) ... rowAt(count - 1). Each row's key lives
// where its row was made, so that a pass over many rows would wait on memory twice for
// nearly every row: for the key's string, then for its text. The pass asks for both some
// rows ahead (the string first, its text once the string is there), so that the waits
// overlap instead of following one another.
template <typename RowAt, typename Take>
void EachKey(int count, RowAt rowAt, const VisibleRows::KeyOf& keyOf, Take take)
{
    for (int i = 0; i < count; ++i) {
        if (i + StringAhead < count)
            __builtin_prefetch(&keyOf(rowAt(i + StringAhead)));
        if (i + TextAhead < count) {
            const char* text = reinterpret_cast<const char*>(keyOf(rowAt(i + TextAhead)).constData());
            for (int offset = 0; offset < TextBytes; offset += CacheLine)
                __builtin_prefetch(text + offset);
        }
        const int row = rowAt(i);
        take(row, keyOf(row));
    }
}

}  // namespace

void VisibleRows::SetWords(FilterWords words, int rowCount, const KeyOf& keyOf)
{
    const auto known = std::find_if(earlier_.begin(), earlier_.end(),
                                    [&words](const Earlier& earlier) { return earlier.words == words; });
    if (known != earlier_.end()) {
        words_ = std::move(known->words);
        shown_ = std::move(known->shown);
        earlier_.erase(known, earlier_.end());
        return;
    }
    if (!Active() || !words.Narrows(words_)) {
        words_ = std::move(words);
        Rematch(rowCount, keyOf);
        return;
    }
    if (earlier_.size() == MaxEarlier)
        earlier_.erase(earlier_.begin());
    earlier_.push_back({std::move(words_), std::move(shown_)});
    words_ = std::move(words);
    const std::vector<int>& before = earlier_.back().shown;
    shown_.clear();
    EachKey(static_cast<int>(before.size()), [&before](int i) { return before[std::size_t(i)]; }, keyOf,
            [this](int row, const QString& key) {
                if (words_.Matches(key))
                    shown_.push_back(row);
            });
}

void VisibleRows::Rematch(int rowCount, const KeyOf& keyOf)
{
    Forget();
    shown_.clear();
    if (!Active())
        return;
    EachKey(rowCount, [](int row) { return row; }, keyOf, [this](int row, const QString& key) {
        if (words_.Matches(key))
            shown_.push_back(row);
    });
}

void VisibleRows::Follow(const std::vector<int>& newRowOf)
{
    Forget();
    std::vector<int> moved;
    moved.reserve(shown_.size());
    for (const int row : shown_) {
        if (const int to = newRowOf[std::size_t(row)]; to >= 0)
            moved.push_back(to);
    }
    std::sort(moved.begin(), moved.end());
    shown_ = std::move(moved);
}

std::vector<int> VisibleRows::Matching(int first, int count, const KeyOf& keyOf) const
{
    std::vector<int> matching;
    for (int row = first; row < first + count; ++row) {
        if (words_.Matches(keyOf(row)))
            matching.push_back(row);
    }
    return matching;
}

void VisibleRows::Insert(int first, int count, const std::vector<int>& matching)
{
    Forget();
    const auto place = shown_.begin() + ShownPlace(first);
    for (auto later = place; later != shown_.end(); ++later)
        *later += count;
    shown_.insert(place, matching.begin(), matching.end());
}

int VisibleRows::ShownPlace(int row) const
{
    if (!Active())
        return row;
    return static_cast<int>(std::lower_bound(shown_.begin(), shown_.end(), row) - shown_.begin());
}

int VisibleRows::ShownRowOf(int row) const
{
    if (!Active())
        return row;
    const int place = ShownPlace(row);
    return place < static_cast<int>(shown_.size()) && shown_[std::size_t(place)] == row ? place : -1;
}
