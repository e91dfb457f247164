#include "catalog/CatalogName.h"

#include "catalog/CatalogRoundTrip.h"
#include "catalog/CatalogStore.h"
#include "support/core/Cp932.h"
#include "support/core/FileNames.h"
#include "support/core/HostPath.h"
#include "support/core/Mbcs.h"
#include "support/core/ShownName.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <optional>

namespace {

constexpr std::string_view FullWidthBlank = "\x81\x40";

// Blanks, control characters and full-width blanks only (or nothing).
bool IsBlankName(std::string_view name)
{
    while (!name.empty()) {
        if (name.starts_with(FullWidthBlank))
            name.remove_prefix(FullWidthBlank.size());
        else if (static_cast<unsigned char>(name.front()) <= ' ')
            name.remove_prefix(1);
        else
            return false;
    }
    return true;
}

// The longest file name the folder's file system takes, in host bytes; nothing when the
// system does not say.
std::optional<long> NameMax(const std::string& folder)
{
    const auto hostFolder = ToHostPath(folder.empty() ? std::string(".") : folder);
    if (!hostFolder)
        return std::nullopt;
    const long limit = ::pathconf(hostFolder->c_str(), _PC_NAME_MAX);
    return limit > 0 ? std::optional<long>(limit) : std::nullopt;
}

bool SomethingIsAt(const std::string& path)
{
    const auto hostPath = ToHostPath(path);
    struct stat facts {};
    return hostPath && ::lstat(hostPath->c_str(), &facts) == 0;
}

std::string Quoted(const std::string& text)
{
    return Cp932Text("「") + text + Cp932Text("」");
}

// The name itself is left out: a name too long for the disk is too long for one line of a box.
std::string TooLongMessage(std::size_t length, long limit)
{
    return Cp932Text("カタログ名が長すぎます。\nカタログファイル名 (.VrCat を含む) は ") + std::to_string(length)
        + Cp932Text(" バイトですが、このフォルダのファイル名は ") + std::to_string(limit)
        + Cp932Text(" バイトまでです。");
}

}  // namespace

std::string CatalogNameProblem(const std::string& name, const std::string& folder,
                               const std::vector<std::string>& otherNames, NameUse use)
{
    if (IsBlankName(name))
        return Cp932Text("空白だけのカタログ名は使えません。\n別のカタログ名を指定してください。");
    if (std::string message = FileNameCharsMessage(name); !message.empty())
        return message;

    const std::string fileName = name + CatalogExtension;
    if ((use == NameUse::nuNewCatalog && !TitleReadsBack(name))
        || !ListedFileNameReadsBack(fileName) || DisplayedName(fileName) != name)
        return Cp932Text("カタログ名") + Quoted(ShownName(name))
            + Cp932Text("はカタログに保存すると元のとおりに読み戻せないため使えません。\n"
                        "前後の空白、改行、全体を囲む引用符などを除いてください。");

    const std::size_t hostLength = ToHostPath(fileName).value_or(fileName).size();
    if (const auto limit = NameMax(folder); limit && hostLength > static_cast<std::size_t>(*limit))
        return TooLongMessage(hostLength, *limit);

    const std::string key = NoCaseKey(name);
    if (std::any_of(otherNames.begin(), otherNames.end(),
                    [&](const std::string& other) { return NoCaseKey(other) == key; }))
        return Cp932Text("カタログ") + Quoted(name)
            + Cp932Text("は既にカタログリストにあります（大文字と小文字は区別しません）。\n"
                        "別のカタログ名を指定してください。");

    const std::string path = CatalogStore::CatalogFileNameIn(folder, name);
    return SomethingIsAt(path) ? UnlistedFileMessage(path) : std::string();
}

std::string UnlistedFileOffer(const std::string& path)
{
    return Cp932Text("ファイル") + Quoted(path)
        + Cp932Text("は既にあり、カタログリストにはありません。\n"
                    "このファイルをカタログリストに加えますか？\n"
                    "「いいえ」を選ぶと、別のカタログ名を指定できます。");
}

std::string UnlistedFileMessage(const std::string& path)
{
    return Cp932Text("ファイル") + Quoted(path)
        + Cp932Text("は既にあり、カタログリストにはありません。\n"
                    "このファイルを上書きしないよう、別のカタログ名を指定してください。");
}

std::string UnchangedNameProblem(const std::string& oldName, const std::string& newName)
{
    if (newName.empty() || MBLowerCase(oldName) != MBLowerCase(newName))
        return {};
    return Cp932Text("変更前と変更後の名前が同じです。");
}

CatalogNameCheck CatalogNameCheckOf(const CatalogStore& store, int index)
{
    return [&store, index](const std::string& name) {
        std::vector<std::string> others;
        for (int i = 0; i < store.Count(); ++i) {
            if (i != index)
                others.push_back(DisplayedName(store.Catalog(i).FileName));
        }
        const std::string folder
            = index < 0 ? store.ProgramFolder() : ExtractFilePath(store.Catalog(index).FileName);
        return CatalogNameProblem(name, folder, others,
                                  index < 0 ? NameUse::nuNewCatalog : NameUse::nuRename);
    };
}
