#pragma once

#include "catalog/JournalState.h"
#include "support/core/Cp932.h"
#include "support/core/Sha256.h"

#include <random>
#include <string>

// The edits the kill soak makes, the same for a seed every time: the driver applies them one
// by one, and the test replays them to tell which state a journal left behind must equal.
// The state's revision counts the edits; takenAt is the driver's own.
class JournalSoakScript {
public:
    JournalSoakScript(unsigned seed, const std::string& folder)
        : random_(seed)
        , folder_(folder)
    {
        state_.folder = folder;
        for (int i = 0; i < 3; ++i)
            AddCatalog();
        for (int i = 0; i < 2000; ++i)
            state_.entries[0].catalog.Objects.push_back("/data/archive/" + std::to_string(i) + "/report.doc");
        state_.fingerprints.push_back({folder + "VrCatCtl.ini", Sha256("[Compress]\r\n"), 12});
    }

    const JournalState& State() const { return state_; }

    const JournalState& Next()
    {
        ++state_.revision;
        auto& entries = state_.entries;
        JournalEntry& entry = entries[random_() % entries.size()];
        switch (random_() % 5) {
        case 0:
            if (entries.size() > 1) {
                entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(random_() % entries.size()));
                state_.listChanged = true;
                break;
            }
            [[fallthrough]];
        case 1:
            AddCatalog();
            break;
        case 2:
            entry.catalog.FileName = folder_ + Cp932Text("改名") + std::to_string(state_.revision) + ".VrCat";
            state_.listChanged = true;
            break;
        case 3:
            if (!entry.catalog.Objects.empty()) {
                entry.catalog.Objects.pop_back();
                entry.changed = true;
                break;
            }
            [[fallthrough]];
        default:
            entry.catalog.Objects.push_back(Cp932Text("/data/ソフト/") + std::to_string(state_.revision));
            entry.changed = true;
        }
        return state_;
    }

private:
    void AddCatalog()
    {
        const std::string name = "Catalog" + std::to_string(state_.entries.size()) + "-" + std::to_string(state_.revision);
        state_.entries.push_back({{folder_ + name + ".VrCat", name, {"/data/" + name}}, true, {}, {}});
        state_.listChanged = true;
    }

    std::mt19937 random_;
    std::string folder_;
    JournalState state_;
};
