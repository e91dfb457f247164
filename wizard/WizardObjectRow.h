#pragma once

#include "support/core/FileFacts.h"

#include <cstdint>
#include <string>

// One object of the wizard's list: a file or folder the catalog will name, with the facts
// the list shows and sorts by. Sizes are 64-bit so that objects of 2 GiB and more show and
// add up correctly.
struct TWizardObjectRow {
    using Kind = ObjectKind;

    static constexpr std::int32_t NoAttributes = -1;

    std::string Path;           // full path as added, code page 932; the row's identity
    std::int64_t Size = 0;      // bytes; 0 for folders and missing objects
    double Date = 0;            // last write, days since 1899-12-30 (local time, 2-second steps)
    std::int32_t Attributes = NoAttributes;

    Kind kind() const { return KindOfAttributes(Attributes); }
};
