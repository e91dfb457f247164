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
bool ReadsBackAs(std::string_view text, const std::string& title, const ObjectList& objects)
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

// The text is read back in two parts. Its head (longer than the bytes the text test looks
// at) must read back alone as the title with no objects (TitleReadsBack); then its object
// section holds exactly the paths that are lines of their own (not empty, no CR, LF or NUL),
// each followed by CR LF: the reader gives back exactly those, and the head's Common section,
// which ends before them, is read as it was. Paths the catalog read from a file are such
// lines already, so a catalog of a million objects is not read through again.
std::string ReadBackProblem(const TCatalogEntry& entry, const CatalogTextParts& text)
{
    if (!ListedFileNameReadsBack(ExtractFileName(entry.FileName)))
        return Cp932Text("ファイル名はコントロールファイルに保存すると元のとおりに読み戻せません");
    if (!TitleReadsBack(entry.Title) || text.Head() != CatalogTextParts({{}, entry.Title, {}}).Head())
        return Cp932Text("タイトル「") + ShownName(entry.Title) + Cp932Text("」は保存すると元のとおりに読み戻せません");
    if (const auto object = entry.Objects.FirstNonLine())
        return Cp932Text("オブジェクト「") + ShownName(std::string(*object)) + Cp932Text("」は保存すると元のとおりに読み戻せません");
    return {};
}
