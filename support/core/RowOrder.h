#pragma once

#include <algorithm>
#include <cstddef>
#include <functional>
#include <iterator>
#include <utility>
#include <vector>

// A new order of rows is given as the old row of each new row: order[i] is the row that
// becomes row i.

// Puts items into the new order.
template <typename T>
void ApplyOrder(std::vector<T>& items, const std::vector<int>& order)
{
    std::vector<T> ordered;
    ordered.reserve(order.size());
    for (const int from : order)
        ordered.push_back(std::move(items[std::size_t(from)]));
    items = std::move(ordered);
}

// The new row of each old row.
inline std::vector<int> NewRowOf(const std::vector<int>& order)
{
    std::vector<int> newRow(order.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        newRow[std::size_t(order[i])] = static_cast<int>(i);
    return newRow;
}

// Takes out the items at these positions (ascending, each once); the others keep their
// order. No item is moved onto itself: a string moved onto itself is left empty.
template <typename T, typename Position>
void EraseAt(std::vector<T>& items, const std::vector<Position>& positions)
{
    std::size_t kept = 0;
    auto erased = positions.begin();
    for (std::size_t at = 0; at < items.size(); ++at) {
        if (erased != positions.end() && std::size_t(*erased) == at) {
            ++erased;
            continue;
        }
        if (kept != at)
            items[kept] = std::move(items[at]);
        ++kept;
    }
    items.resize(kept);
}

// Whether positions are ascending, each once.
template <typename Position>
bool StrictlyAscending(const std::vector<Position>& positions)
{
    return std::adjacent_find(positions.begin(), positions.end(), std::greater_equal<>()) == positions.end();
}

// Puts added[i] to stand at positions[i] of the list afterwards (ascending, each below the
// size afterwards); the items held keep their order. Items added at the end are pushed on.
template <typename T, typename Added>
void InsertAt(std::vector<T>& items, const std::vector<std::size_t>& positions, const std::vector<Added>& added)
{
    if (positions.empty() || positions.front() >= items.size()) {
        items.insert(items.end(), added.begin(), added.end());
        return;
    }
    std::vector<T> merged;
    merged.reserve(items.size() + added.size());
    auto held = items.begin();
    for (std::size_t i = 0; i < added.size(); ++i) {
        while (merged.size() < positions[i])
            merged.push_back(std::move(*held++));
        merged.emplace_back(added[i]);
    }
    std::move(held, items.end(), std::back_inserter(merged));
    items = std::move(merged);
}
