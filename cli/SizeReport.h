#pragma once

#include "support/core/ObjectSize.h"

#include <iosfwd>
#include <string>
#include <vector>

struct SizeReportOptions {
    std::string name;  // the catalog, as typed
    bool each = false;  // a line per object before the total
    bool json = false;
};

// The arguments of `size`: one catalog name and the options, in any order; anything else is
// a CliUsageError.
SizeReportOptions SizeOptions(const std::vector<std::string>& arguments);

// What `size` prints: tab-separated lines "bytes files folders", per object followed by its
// path and the path of the object that holds it, or one JSON document.
void WriteSizeReport(std::ostream& out, const std::vector<std::string>& objects,
                     const std::vector<ObjectSize>& sizes, const SizeReportOptions& options);
