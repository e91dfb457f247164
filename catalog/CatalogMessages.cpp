#include "catalog/CatalogMessages.h"

#include "support/core/Cp932.h"

namespace {

std::string WithPath(std::string_view utf8Format, std::string_view path)
{
    std::string message = Cp932Text(utf8Format);
    message.replace(message.find("%s"), 2, path);
    return message;
}

}  // namespace

std::string CannotCreateFileMessage(std::string_view path)
{
    return WithPath("ファイル %s を作成できません", path);
}

std::string StreamWriteErrorMessage()
{
    return Cp932Text("ストリームへの書き込みエラー");
}

std::string CannotOpenFileMessage(std::string_view path)
{
    return WithPath("ファイル %s は開けません", path);
}

std::string CannotWriteToMessage(std::string_view path)
{
    return WithPath("%s に書き込めません", path);
}
