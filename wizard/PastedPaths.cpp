#include "wizard/PastedPaths.h"

#include "catalog/CatalogRoundTrip.h"
#include "chooser/MessageText.h"
#include "support/core/Cp932.h"
#include "support/core/FileFacts.h"
#include "support/core/HostPath.h"
#include "support/core/ShownName.h"

#include <QMimeData>
#include <QUrl>

namespace {

void AddLocalPath(PastedPaths& pasted, const QString& localPath)
{
    // A folder copied in a file manager may come with a trailing delimiter; object paths
    // carry none except the root.
    QString path = localPath;
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    const std::optional<std::string> cp932 = FromQtPath(path);
    if (!cp932)
        pasted.Unconvertible.append(path);
    else if (!ObjectPathReadsBack(*cp932))
        pasted.Unstorable.push_back(*cp932);
    else if (GetFileAttributesOf(*cp932) == -1 && !FileExistsQuiet(*cp932))
        pasted.Missing.push_back(*cp932);
    else
        pasted.Paths.push_back(*cp932);
}

void AddUrl(PastedPaths& pasted, const QUrl& url)
{
    if (url.isLocalFile())
        AddLocalPath(pasted, url.toLocalFile());
    else
        pasted.NotPaths.append(url.toDisplayString());
}

void AddLine(PastedPaths& pasted, const QString& rawLine)
{
    const QString line = rawLine.trimmed();
    if (line.isEmpty())
        return;
    if (line.startsWith(QLatin1String("file:")))
        AddUrl(pasted, QUrl(line));
    else if (line.startsWith(QLatin1Char('/')))
        AddLocalPath(pasted, line);
    else
        pasted.NotPaths.append(line);
}

}  // namespace

PastedPaths ReadPastedPaths(const QMimeData& data)
{
    PastedPaths pasted;
    if (data.hasUrls()) {
        for (const QUrl& url : data.urls())
            AddUrl(pasted, url);
        return pasted;
    }
    if (data.hasText()) {
        const QStringList lines = data.text().split(QLatin1Char('\n'));
        for (const QString& line : lines)
            AddLine(pasted, line);
    }
    return pasted;
}

QString PasteRemarks(const PastedPaths& pasted)
{
    QStringList remarks;
    if (!pasted.NotPaths.isEmpty())
        remarks.append(WithFirstShownNames(QStringLiteral("パスではない %1 行を無視しました。").arg(pasted.NotPaths.size()),
                                           pasted.NotPaths));
    if (!pasted.Missing.empty())
        remarks.append(NotAddedText(NotAddedReason::NotFound, pasted.Missing));
    if (!pasted.Unconvertible.isEmpty())
        remarks.append(WithShownNames(QStringLiteral("次の名前は Shift-JIS で表せない文字を含むため追加できません:"),
                                      pasted.Unconvertible)
                       + u'\n' + Cp932ProblemsText(pasted.Unconvertible));
    if (!pasted.Unstorable.empty())
        remarks.append(UnstorableNamesText(pasted.Unstorable));
    return remarks.join(u'\n');
}
