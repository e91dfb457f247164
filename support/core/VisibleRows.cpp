#include "support/core/VisibleRows.h"

#include <algorithm>

void VisibleRows::SetWords(FilterWords words, int rowCount, const KeyOf& keyOf)
{
    const bool narrowing = Active() && words.Narrows(words_);
    words_ = std::move(words);
    if (!narrowing) {
        Rematch(rowCount, keyOf);
        return;
    }
    std::erase_if(shown_, [&](int row) { return !words_.Matches(keyOf(row)); });
}

void VisibleRows::Rematch(int rowCount, const KeyOf& keyOf)
{
    shown_.clear();
    if (!Active())
        return;
    for (int row = 0; row < rowCount; ++row) {
        if (words_.Matches(keyOf(row)))
            shown_.push_back(row);
    }
}

void VisibleRows::Follow(const std::vector<int>& newRowOf)
{
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
