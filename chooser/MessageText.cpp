#include "chooser/MessageText.h"

#include "support/core/Cp932.h"

QString UnstorableNamesText(const std::vector<std::string>& paths)
{
    QStringList names;
    for (const std::string& path : paths)
        names.append(Cp932ToDisplay(path));
    return WithShownNames(QStringLiteral("次の名前には改行などカタログに保存できない文字が含まれているため、"
                                         "追加しませんでした。"),
                          names);
}

QString RefusedNamesText(const QStringList& names)
{
    return WithShownNames(QStringLiteral("次の名前にはこのプログラムで扱えない文字が含まれているため、"
                                         "選択から外しました。"),
                          names)
        + u'\n' + Cp932ProblemsText(names);
}

QString Cp932ProblemsText(const QStringList& names)
{
    QStringList problems;
    for (const QString& name : names) {
        const QString problem = Cp932ToDisplay(Cp932Problem(name));
        if (!problem.isEmpty() && !problems.contains(problem))
            problems.append(problem);
    }
    return problems.join(u'\n');
}
