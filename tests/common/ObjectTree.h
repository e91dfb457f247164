#pragma once

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <string>

// A temporary tree of objects (folders and files) to add to a catalog, removed afterwards.
// Names are relative to its root; paths are returned in the host's form (UTF-8), so that
// they may hold what a catalog cannot.
class ObjectTree {
public:
    // The root, with its trailing delimiter.
    std::string Root() const { return dir.path().toStdString() + '/'; }
    std::string PathOf(const QString& name) const { return HostPath(name).toStdString(); }

    // Makes the file and the folders above it: size bytes long, last modified at modified
    // when that is given.
    std::string MakeFile(const QString& name, qint64 size = 0, const QDateTime& modified = {}) const
    {
        const QString path = HostPath(name);
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.resize(size);
        if (modified.isValid())
            file.setFileTime(modified, QFileDevice::FileModificationTime);
        return path.toStdString();
    }

    std::string MakeFolder(const QString& name) const
    {
        QDir().mkpath(HostPath(name));
        return PathOf(name);
    }

    QTemporaryDir dir;

private:
    QString HostPath(const QString& name) const { return dir.path() + QLatin1Char('/') + name; }
};
