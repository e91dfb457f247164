#include "wizard/ObjectFacts.h"

#include "support/core/FileNames.h"
#include "support/core/HostPath.h"

namespace {

bool HasWildcardInLastPart(const std::string& path)
{
    const std::size_t lastDelim = path.find_last_of(PathDelim);
    const std::size_t lastPart = lastDelim == std::string::npos ? 0 : lastDelim + 1;
    return path.find_first_of("*?", lastPart) != std::string::npos;
}

}  // namespace

TWizardObjectRow ReadObjectFacts(const std::string& path)
{
    TWizardObjectRow row;
    row.Path = path;
    const std::optional<FileFacts> found = FindFirstFileFacts(path);
    if (found) {
        row.Size = found->size;
        row.Date = found->date;
        row.Attributes = found->attributes;
    }
    // A search may match what the path itself does not name.
    if (HasWildcardInLastPart(path))
        row.Attributes = GetFileAttributesOf(path);
    return row;
}
