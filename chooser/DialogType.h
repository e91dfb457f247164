#pragma once

#include <cstdint>

// Which template set and labels the extended chooser uses: the plain object chooser, or the
// search mode with its archive-type labels and its include-subfolders check box.
enum class TDialogType : std::uint8_t {
    dtNormal = 0,
    dtSearchfiles = 1,
};
