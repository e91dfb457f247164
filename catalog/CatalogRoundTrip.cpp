#include "catalog/CatalogRoundTrip.h"

#include "catalog/CatalogFile.h"
#include "catalog/IniProfile.h"
#include "support/core/FileFacts.h"
#include "support/core/Cp932.h"
#include "support/core/HostPath.h"
#include "support/core/ShownName.h"

#include <algorithm>

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

std::string ReadBackProblem(const TCatalogEntry& entry, std::string_view text)
{
    if (!ListedFileNameReadsBack(ExtractFileName(entry.FileName)))
        return Cp932Text("ファイル名はコントロールファイルに保存すると元のとおりに読み戻せません");
    if (ReadsBackAs(text, entry.Title, entry.Objects))
        return {};
    // Only a catalog that fails is looked at part by part.
    if (!TitleReadsBack(entry.Title))
        return Cp932Text("タイトル「") + ShownName(entry.Title) + Cp932Text("」は保存すると元のとおりに読み戻せません");
    const auto object = std::find_if_not(entry.Objects.begin(), entry.Objects.end(), ObjectPathReadsBack);
    if (object != entry.Objects.end())
        return Cp932Text("オブジェクト「") + ShownName(*object) + Cp932Text("」は保存すると元のとおりに読み戻せません");
    return Cp932Text("保存すると元のとおりに読み戻せません");
}
