#pragma once

#include <string>
#include <vector>

// Object paths in the order the catalog wizard's list starts with: existing folders first,
// then existing files, then paths where nothing exists, each group by full path in the
// collation of the default locale, letter case counting. Exact duplicates are taken once.
std::vector<std::string> InWizardOrder(const std::vector<std::string>& paths);
