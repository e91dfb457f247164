#include "chooser/MessageText.h"

#include "support/core/Cp932.h"
#include "support/core/FileNames.h"

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

namespace {

constexpr qsizetype MaxNamesShown = 20;

QString NotAddedHeading(NotAddedReason reason, std::size_t size)
{
    // Grouped as the count panels group it: 1,500.
    const QString count = Cp932ToDisplay(FormatGrouped(static_cast<double>(size)));
    switch (reason) {
    case NotAddedReason::AlreadyInCatalog:
        return QStringLiteral("次の %1 件は既にカタログにあるため追加しませんでした。").arg(count);
    case NotAddedReason::AlreadyInList:
        return QStringLiteral("次の %1 件は既に一覧にあるため追加しませんでした。").arg(count);
    case NotAddedReason::NotFound:
        return QStringLiteral("次の %1 件は見つからないため追加しませんでした。").arg(count);
    }
    return {};
}

}  // namespace

QString WithFirstShownNames(const QString& heading, const QStringList& names)
{
    QString text = WithShownNames(heading, names.mid(0, MaxNamesShown));
    if (names.size() > MaxNamesShown)
        text += QStringLiteral("\n…ほか %1 件").arg(names.size() - MaxNamesShown);
    return text;
}

QString NotAddedText(NotAddedReason reason, const std::vector<std::string>& paths)
{
    QStringList names;
    for (const std::string& path : paths)
        names.append(Cp932ToDisplay(path));
    return WithFirstShownNames(NotAddedHeading(reason, paths.size()), names);
}
