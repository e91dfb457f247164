#pragma once

#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <string>
#include <vector>

// The objects of a big catalog for the benchmarks of the object lists: 100,000 paths, mostly
// existing files in 100 folders, some folders and some paths where nothing exists (ghosted
// rows), in a scattered order.
struct HundredThousandObjects {
    static constexpr int Folders = 100;
    static constexpr int FilesPerFolder = 990;
    static constexpr int FolderObjects = 500;
    static constexpr int MissingObjects = 500;

    QTemporaryDir dir;
    std::vector<std::string> paths;

    HundredThousandObjects()
    {
        const QDir root(dir.path());
        for (int f = 0; f < Folders; ++f) {
            const QString folder = QStringLiteral("data/folder%1").arg(f, 3, 10, QLatin1Char('0'));
            root.mkpath(folder);
            for (int i = 0; i < FilesPerFolder; ++i) {
                const QString file = root.filePath(folder + QStringLiteral("/file%1.%2").arg(i).arg(i % 7 ? "txt" : "jpg"));
                QFile(file).open(QIODevice::WriteOnly);
                paths.push_back(file.toStdString());
            }
        }
        for (int i = 0; i < FolderObjects; ++i) {
            const QString folder = root.filePath(QStringLiteral("data/sub%1").arg(i));
            root.mkpath(folder);
            paths.push_back(folder.toStdString());
        }
        for (int i = 0; i < MissingObjects; ++i)
            paths.push_back(root.filePath(QStringLiteral("gone/missing%1.doc").arg(i)).toStdString());
        for (std::size_t i = 0; i < paths.size(); ++i)
            std::swap(paths[i], paths[(i * 7919) % paths.size()]);
    }
};
