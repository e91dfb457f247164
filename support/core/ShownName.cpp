#include "support/core/ShownName.h"

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

QString WithShownNames(const QString& heading, const QStringList& names)
{
    QString text = heading;
    for (const QString& name : names)
        text += u'\n' + ShownName(name);
    return text;
}

std::string ShownName(const std::string& cp932)
{
    const auto text = Cp932ToQString(cp932);
    if (!text)
        return cp932;
    // The written-out characters are ASCII, so the result converts back.
    return QStringToCp932(ShownName(*text)).value_or(cp932);
}
