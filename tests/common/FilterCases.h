#pragma once

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringList>

#include <vector>

// What the filters of both object lists are tested with: objects under one folder (the
// last one does not exist and shows ghosted) and texts typed into the filter box, each with
// the names of the objects it leaves shown, in any order.
inline const QStringList FilterObjectNames = {
    QStringLiteral("Photos/2024/Beach.JPG"), QStringLiteral("Photos/ｶﾅ/report.txt"),
    QStringLiteral("docs/Ｒｅｐｏｒｔ.doc"), QStringLiteral("docs/notes.txt"), QStringLiteral("gone/Missing.TXT")};

struct FilterCase {
    QString typed;
    QStringList shown;
};

inline const std::vector<FilterCase> FilterCases = {
    {QStringLiteral("beach"), {QStringLiteral("Beach.JPG")}},   // letter case
    {QStringLiteral("ＲＥＰＯＲＴ"), {QStringLiteral("report.txt"), QStringLiteral("Ｒｅｐｏｒｔ.doc")}},   // width and case
    {QStringLiteral("カナ"), {QStringLiteral("report.txt")}},   // half-width kana of a folder
    {QStringLiteral("txt DOCS"), {QStringLiteral("notes.txt")}},   // every word, in the name or the folder
    {QStringLiteral("photos"), {QStringLiteral("Beach.JPG"), QStringLiteral("report.txt")}},   // the folder part
    {QStringLiteral("missing"), {QStringLiteral("Missing.TXT")}},   // a missing object as any other
    {QStringLiteral("2024/beach"), {}},   // never across the folder and the name
    {QStringLiteral("nothing"), {}},
    {QStringLiteral(" 　"), {QStringLiteral("Beach.JPG"), QStringLiteral("report.txt"), QStringLiteral("Ｒｅｐｏｒｔ.doc"),
                             QStringLiteral("notes.txt"), QStringLiteral("Missing.TXT")}},   // blanks are no filter
};

// Makes the objects under root with the folders above them, all but the missing one, and
// gives their full host paths.
inline QStringList MakeFilterObjects(const QString& root)
{
    QStringList paths;
    for (const QString& name : FilterObjectNames) {
        const QString path = root + u'/' + name;
        paths << path;
        if (name.startsWith(QStringLiteral("gone/")))
            continue;
        QDir().mkpath(QFileInfo(path).path());
        QFile(path).open(QIODevice::WriteOnly);
    }
    return paths;
}

// The count panel while a case's text is in the box: shown against all while it filters.
inline QString FilterCountText(const FilterCase& c)
{
    const auto all = FilterObjectNames.size();
    if (c.typed.trimmed().isEmpty())
        return QStringLiteral("%1 件のオブジェクト").arg(all);
    return QStringLiteral("%1 / %2 件のオブジェクト").arg(c.shown.size()).arg(all);
}

inline QStringList SortedNames(QStringList names)
{
    names.sort();
    return names;
}
