#include "catalog/CatalogRoundTrip.h"

#include "catalog/CatalogFile.h"
#include "catalog/IniProfile.h"
#include "support/core/FileFacts.h"
#include "support/core/HostPath.h"

namespace {

// The catalog the reader makes of a catalog file's text, as the load reads it: the text test
// on the first bytes, then the catalog reader.
bool ReadsBackAs(std::string_view text, const std::string& title,
                 const std::vector<std::string>& objects)
{
    if (!StartsAsText(text.substr(0, TextTestLength)))
        return false;
    return ParsesAs(text, title, objects);
}

bool EntryReadsBack(const TCatalogEntry& entry)
{
    return ReadsBackAs(CatalogText(entry), entry.Title, entry.Objects);
}

}  // namespace

std::string ControlFileKeyLine(std::size_t index, std::string_view fileName)
{
    return std::to_string(index) + '=' + std::string(fileName);
}

bool TitleReadsBack(const std::string& title)
{
    return EntryReadsBack({{}, title, {}});
}

bool ObjectPathReadsBack(const std::string& path)
{
    return EntryReadsBack({{}, "x", {path}});
}

std::vector<std::string> RemoveUnstorablePaths(std::vector<std::string>& paths)
{
    std::vector<std::string> removed;
    std::erase_if(paths, [&removed](std::string& path) {
        if (ObjectPathReadsBack(path))
            return false;
        removed.push_back(std::move(path));
        return true;
    });
    return removed;
}

bool ListedFileNameReadsBack(const std::string& fileName)
{
    if (fileName.empty() || !ToHostPath(fileName))
        return false;
    const std::string control = IniProfile("").WithSection(CompressSection, {ControlFileKeyLine(0, fileName)});
    const auto keys = IniProfile(control).ReadSection(CompressSection);
    return keys.size() == 1 && keys.front().second == fileName
        && ExtractFileName(fileName) == fileName;
}

bool CatalogReadsBack(const TCatalogEntry& entry, std::string_view text)
{
    return ListedFileNameReadsBack(ExtractFileName(entry.FileName))
        && ReadsBackAs(text, entry.Title, entry.Objects);
}
