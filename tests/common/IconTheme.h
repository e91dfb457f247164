#pragma once

#include <QDir>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QTemporaryDir>

// An icon theme with one icon, that of plain text files, made the program's theme while the
// object lives. Without a theme every file shows the generic icon, and icons that should
// differ by a file's type could not be told apart. Make it before any icon is looked up.
class PlainTextIconTheme {
public:
    PlainTextIconTheme()
    {
        const QDir root(dir_.path());
        root.mkpath(QStringLiteral("Test/16x16"));
        QFile index(root.filePath(QStringLiteral("Test/index.theme")));
        index.open(QIODevice::WriteOnly);
        index.write("[Icon Theme]\nName=Test\nDirectories=16x16\n\n[16x16]\nSize=16\nType=Fixed\n");
        index.close();
        QImage image(16, 16, QImage::Format_ARGB32);
        image.fill(Qt::red);
        image.save(root.filePath(QStringLiteral("Test/16x16/text-plain.png")));
        QIcon::setThemeSearchPaths({dir_.path()});
        QIcon::setThemeName(QStringLiteral("Test"));
    }

private:
    QTemporaryDir dir_;
};
