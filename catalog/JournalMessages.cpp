#include "catalog/JournalMessages.h"

#include "support/core/Cp932.h"
#include "support/core/DateTime.h"
#include "support/core/ShownName.h"

namespace {

std::string WithText(std::string_view utf8Format, std::string_view text)
{
    std::string message = Cp932Text(utf8Format);
    message.replace(message.find("%s"), 2, text);
    return message;
}

}  // namespace

std::string JournalCannotWriteMessage(std::string_view path)
{
    return WithText("未保存の変更の控え %s を書き込めません", ShownName(std::string(path)));
}

std::string JournalCannotRemoveMessage(std::string_view path)
{
    return WithText("未保存の変更の控え %s を削除できません", ShownName(std::string(path)));
}

std::string JournalSetAsideMessage(std::string_view newPath)
{
    return WithText("未保存の変更の控えを読めません。%s として残しました", ShownName(std::string(newPath)));
}

std::string JournalCannotSetAsideMessage(std::string_view path)
{
    return WithText("未保存の変更の控え %s を読めず、別の名前にもできません", ShownName(std::string(path)));
}

std::string JournalOwnedElsewhereMessage()
{
    return Cp932Text("このフォルダの未保存の変更の控えはほかの Tessna が使っています。今回は控えを取りません");
}

std::string JournalNowhereMessage()
{
    return Cp932Text("未保存の変更の控えを置ける場所がありません。今回は控えを取りません");
}

std::string JournalInStateFolderMessage(std::string_view folder)
{
    return WithText("プログラムのフォルダに書き込めないため、未保存の変更の控えは %s に置きます",
                    ShownName(std::string(folder)));
}

std::string JournalRecoveryQuestion(std::int64_t takenAt, const std::vector<std::string>& changedOnDisk)
{
    const std::string when = FormatDateTimeText(DateTimeFromQDateTime(QDateTime::fromMSecsSinceEpoch(takenAt)));
    std::string question = WithText("保存されていない変更が残っています（%s）。復元しますか？", when);
    if (changedOnDisk.empty())
        return question;
    question += '\n' + Cp932Text("その後、次のファイルはほかのプログラムが変更しています:");
    for (const std::string& fileName : changedOnDisk)
        question += '\n' + ShownName(fileName);
    return question;
}
