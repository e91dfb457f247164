#include "chooser/MessageText.h"

#include "support/core/Cp932.h"

QString UnstorableNamesText(const std::vector<std::string>& paths)
{
    QString text = QStringLiteral("次の名前には改行などカタログに保存できない文字が含まれているため、"
                                  "追加しませんでした。");
    for (const std::string& path : paths)
        text += u'\n' + ShownName(Cp932ToDisplay(path));
    return text;
}

QString RefusedNamesText(const QStringList& names)
{
    QString text = QStringLiteral("次の名前にはこのプログラムで扱えない文字が含まれているため、"
                                  "選択から外しました。");
    for (const QString& name : names)
        text += u'\n' + ShownName(name);
    return text;
}
