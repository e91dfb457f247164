#pragma once

#include "catalog/FolderLock.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

// A fresh folder for one test, removed afterwards, with byte-exact file helpers and objects
// (files of a size and time, folders) to add to catalogs. Names are host names (UTF-8)
// relative to the folder; contents are raw bytes.
class TempFolder {
public:
    bool IsValid() const { return dir_.isValid(); }

    // The folder's host path, without a trailing delimiter. Temporary folders have ASCII
    // paths, so this is also the program's (code page 932) form.
    std::string Path() const { return dir_.path().toStdString(); }
    std::string Path(const std::string& name) const { return Path() + "/" + name; }

    void Write(const std::string& name, const std::string& bytes) const
    {
        const std::filesystem::path path = Path(name);
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
    }

    // The file's bytes; "<missing>" when there is no such file.
    std::string Read(const std::string& name) const
    {
        std::ifstream in(Path(name), std::ios::binary);
        if (!in)
            return "<missing>";
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    // Makes the file and the folders above it: size bytes long, last modified at modified
    // when that is given. Gives its path.
    std::string MakeFile(const std::string& name, qint64 size = 0, const QDateTime& modified = {}) const
    {
        const QString path = QString::fromStdString(Path(name));
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.resize(size);
        if (modified.isValid())
            file.setFileTime(modified, QFileDevice::FileModificationTime);
        return Path(name);
    }

    std::string MakeFolder(const std::string& name) const
    {
        std::filesystem::create_directories(Path(name));
        return Path(name);
    }

    bool Exists(const std::string& name) const { return std::filesystem::exists(Path(name)); }

    // The names in the folder but the folder lock's file, for checking that no temporary
    // file was left behind.
    std::size_t EntryCount() const
    {
        const auto entries = std::filesystem::directory_iterator(Path());
        return static_cast<std::size_t>(std::count_if(begin(entries), end(entries), [](const auto& entry) {
            return entry.path().filename() != FolderLockFileName;
        }));
    }

private:
    QTemporaryDir dir_;
};
