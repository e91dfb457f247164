#pragma once

#include "chooser/CabinetItem.h"

#include <vector>

// The ordered places of a chooser's side list.
class TCabinetItems {
public:
    TCabinetItem& Add() { return items_.emplace_back(); }
    void Clear() { items_.clear(); }
    int Count() const { return static_cast<int>(items_.size()); }

    TCabinetItem& Items(int index) { return items_.at(static_cast<std::size_t>(index)); }
    const TCabinetItem& Items(int index) const { return items_.at(static_cast<std::size_t>(index)); }

    auto begin() { return items_.begin(); }
    auto end() { return items_.end(); }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

private:
    std::vector<TCabinetItem> items_;
};

// Replaces items with the places stored under "Dialog\Cabinet" of the settings key, or with
// the default places when none are stored, and gives their number. Reads only.
int LoadCabinetItems(TCabinetItems& items);
