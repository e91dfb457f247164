#pragma once

#include <cstddef>
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
