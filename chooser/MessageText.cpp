#include "chooser/MessageText.h"

#include "support/core/Cp932.h"

// Written out in ASCII: few fonts draw the control pictures of Unicode.
QString ShownName(const QString& name)
{
    QString shown;
    shown.reserve(name.size());
    for (const QChar ch : name) {
        if (ch == u'\n')
            shown += QStringLiteral("<LF>");
        else if (ch == u'\r')
            shown += QStringLiteral("<CR>");
        else if (ch == u'\t')
            shown += QStringLiteral("<TAB>");
        else if (ch.unicode() < 0x20)
            shown += QStringLiteral("<0x%1>").arg(ch.unicode(), 2, 16, QLatin1Char('0'));
        else
            shown += ch;
    }
    return shown;
}

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
