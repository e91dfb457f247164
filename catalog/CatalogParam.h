#pragma once

#include <string>
#include <vector>

// The record the main window and the catalog wizard exchange. The caller owns it before and
// after a run; a cancelled run leaves it exactly as it was given.
struct TCatalogParam {
    // Empty: create a new catalog. Otherwise the full path of the catalog file to change,
    // which puts the wizard in modify mode. Returned unchanged.
    std::string FileName;
    // Set by the wizard when it finishes: the lines of the sections Common and Options
    // (always empty), and one full object path a line in the order of the wizard's list.
    std::vector<std::string> Common;
    std::vector<std::string> Options;
    std::vector<std::string> Objects;
    // Modify mode only: the object paths the wizard starts with.
    std::vector<std::string> InitialObjects;
};
