#include "catalog/CatalogMessages.h"

#include "catalog/IniProfile.h"
#include "support/core/Cp932.h"
#include "support/core/FileFacts.h"
#include "support/core/FileIdentity.h"
#include "support/core/HostPath.h"
#include "support/core/Mbcs.h"

#include <cerrno>
#include <utility>

namespace {

std::string WithPath(std::string_view utf8Format, std::string_view path)
{
    std::string message = Cp932Text(utf8Format);
    message.replace(message.find("%s"), 2, path);
    return message;
}

// A name cut in the middle when it is too long to be read in a box, where no line can break
// inside it: the first and the last characters with "…" between them.
std::string Shortened(std::string_view name)
{
    constexpr std::size_t Kept = 24;
    std::vector<std::size_t> starts;
    for (std::size_t at = 0; at < name.size(); at += IsLeadByte(static_cast<unsigned char>(name[at])) ? 2 : 1)
        starts.push_back(at);
    if (starts.size() <= 2 * Kept + 1)
        return std::string(name);
    return std::string(name.substr(0, starts[Kept])) + Cp932Text("…")
        + std::string(name.substr(starts[starts.size() - Kept]));
}

std::string ReadFailureReason(int error)
{
    switch (error) {
    case ELOOP:
        return Cp932Text("リンクをたどれません。自分自身を指しているか、リンクが多すぎます");
    case ENAMETOOLONG:
        return Cp932Text("名前が長すぎます");
    case EACCES:
    case EPERM:
        return Cp932Text("読み取りが許されていません");
    case EIO:
        return Cp932Text("ディスクから読み取れません");
    default:
        return Cp932Text("読み取れません（エラー番号 ") + std::to_string(error) + Cp932Text("）");
    }
}

std::string LockFailureReason(int error)
{
    switch (error) {
    case EACCES:
    case EPERM:
        return Cp932Text("ロックファイルを作ることも開くことも許されていません");
    case EROFS:
        return Cp932Text("読み取り専用のファイルシステムです");
    case ENOLCK:
        return Cp932Text("このファイルシステムはロックを扱えません（NFS ではロックのサービスが動いていないときです）");
    case EISDIR:
        return Cp932Text("ロックファイルの名前のフォルダがあります");
    case ENOSPC:
        return Cp932Text("ディスクがいっぱいです");
    case EILSEQ:
        return Cp932Text("フォルダの名前をファイルシステムの名前にできません");
    default:
        return Cp932Text("ロックファイルを使えません（エラー番号 ") + std::to_string(error) + Cp932Text("）");
    }
}

}  // namespace

std::string WriteFailureReason(int error)
{
    switch (error) {
    case ENOSPC:
        return Cp932Text("ディスクがいっぱいです");
    case EDQUOT:
        return Cp932Text("ディスクの使用量の制限を超えます");
    case EACCES:
    case EPERM:
        return Cp932Text("書き込みが許されていません");
    case EROFS:
        return Cp932Text("読み取り専用のファイルシステムです");
    case EISDIR:
        return Cp932Text("その名前のフォルダがあります");
    case EINVAL:
        return Cp932Text("その名前にあるのはファイルではありません");
    case EIO:
        return Cp932Text("ディスクに書き込めません");
    case ENAMETOOLONG:
        return Cp932Text("名前が長すぎます");
    case EILSEQ:
        return Cp932Text("名前をファイルシステムの名前にできません");
    default:
        return Cp932Text("書き込めません（エラー番号 ") + std::to_string(error) + Cp932Text("）");
    }
}

std::string CannotCreateFileMessage(std::string_view path)
{
    return WithPath("ファイル %s を作成できません", path);
}

std::string StreamWriteErrorMessage()
{
    return Cp932Text("ストリームへの書き込みエラー");
}

std::string CannotWriteToMessage(std::string_view path)
{
    return WithPath("%s に書き込めません", path);
}

std::string CannotWriteToMessage(std::string_view path, std::string_view reason)
{
    return CannotWriteToMessage(path) + ": " + std::string(reason);
}

std::string IdentityLostMessage(std::string_view path, const IdentityLoss& loss)
{
    std::string what;
    switch (loss.part) {
    case IdentityLoss::Part::Owner:
        what = Cp932Text("所有者とグループ");
        break;
    case IdentityLoss::Part::Mode:
        what = Cp932Text("アクセス権");
        break;
    case IdentityLoss::Part::Attribute:
        what = loss.attribute.empty() ? Cp932Text("拡張属性")
                                      : Cp932Text("拡張属性 ") + loss.attribute;
        break;
    }
    const std::string cause = loss.error == EPERM || loss.error == EACCES
        ? Cp932Text("変えることが許されていません")
        : Cp932Text("エラー番号 ") + std::to_string(loss.error);
    return WithPath("ファイル %s を保存すると", path) + what
        + Cp932Text("を元のとおりに保てないため、保存しません（") + cause + Cp932Text("）");
}

CannotReadError::CannotReadError(std::string_view path, int error)
    : TessnaError(CannotOpenFileMessage(path))
    , reason_(ReadFailureReason(error))
{
}

CannotReadError::CannotReadError(std::string_view path, std::string reason)
    : TessnaError(CannotOpenFileMessage(path))
    , reason_(std::move(reason))
{
}

namespace NotCatalogReason {

std::string DanglingLink()
{
    return Cp932Text("リンク先がありません（リンク先のドライブがつながっていないのかもしれません）");
}

std::string Folder()
{
    return Cp932Text("ファイルではなくフォルダです");
}

std::string NotAFile()
{
    return Cp932Text("普通のファイルではありません（パイプやデバイスなど）");
}

std::string EmptyFile()
{
    return Cp932Text("空のファイルです");
}

std::string NotText()
{
    return Cp932Text("テキストファイルではありません（先頭 ") + std::to_string(TextTestLength)
        + Cp932Text(" バイトに文字でないバイトがあります）");
}

std::string NoCommonKey()
{
    return Cp932Text("カタログではありません（[Common] セクションにキーがありません）");
}

std::string NulByte()
{
    return Cp932Text("途中に NUL バイトがあり、その先を読めません");
}

std::string TitleTooLong()
{
    return Cp932Text("タイトルが ") + std::to_string(IniProfile::MaxValueLength)
        + Cp932Text(" バイトより長く、全体を読めません");
}

std::string OutsideFolder()
{
    return Cp932Text("プログラムフォルダの外を指しているため、読み込みも書き込みもしません");
}

std::string ValueTooLong()
{
    return Cp932Text("コントロールファイルの値が ") + std::to_string(IniProfile::MaxValueLength)
        + Cp932Text(" バイトより長く、全体を読めません");
}

}  // namespace NotCatalogReason

std::string UnreadableCatalogsMessage(const std::vector<UnreadableCatalog>& catalogs)
{
    std::string message = Cp932Text("次のカタログを読み込めませんでした。リストには残しますが、"
                                     "変更も保存もしません。次の起動でもう一度読み込みます。");
    for (const UnreadableCatalog& catalog : catalogs)
        message += '\n' + CannotOpenFileMessage(Shortened(ExtractFileName(catalog.fileName))) + ": " + catalog.reason;
    return message;
}

std::string NotLoadedMessage(std::string_view displayedName, std::string_view reason)
{
    return WithPath("カタログ %s は読み込めなかったので、表示も変更もできません", Shortened(displayedName))
        + ": " + std::string(reason);
}

std::string ChangedOnDiskQuestion(const std::vector<std::string>& fileNames)
{
    std::string message = Cp932Text("次のファイルは、読み込んだあとにほかのプログラムが変更しました。"
                                     "上書きして保存しますか？");
    for (const std::string& fileName : fileNames)
        message += '\n' + fileName;
    return message;
}

std::string FolderBusyMessage(std::string_view folder)
{
    return WithPath("フォルダ %s はほかの Tessna か tessna-cli が使っています。"
                    "しばらくしてからやり直してください", folder);
}

std::string FolderLockFailedMessage(std::string_view folder, int error)
{
    return WithPath("フォルダ %s をロックできないため、保存しません: ", folder) + LockFailureReason(error);
}
