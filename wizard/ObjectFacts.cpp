#include "wizard/ObjectFacts.h"

#include "support/core/FileFacts.h"
#include "support/core/FileMask.h"
#include "support/core/HostPath.h"

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
    if (HasWildcards(ExtractFileName(path)))
        row.Attributes = GetFileAttributesOf(path);
    return row;
}
