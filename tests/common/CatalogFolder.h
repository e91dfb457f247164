#pragma once

#include "catalog/CatalogParam.h"
#include "catalog/CatalogStore.h"
#include "support/core/Cp932.h"

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <string>

// A program folder for tests that merely need one: each catalog added is written by the
// catalog store itself, the catalog file "<title>.VrCat" and the control file "VrCatCtl.ini"
// listing every catalog in the order added. Tests about the bytes of these files write them
// by hand instead.
class CatalogFolder {
public:
    // Lists a catalog titled title holding the objects (full paths), in the file
    // "<fileName>.VrCat" when a file name is given (as after a rename).
    void AddCatalog(const QString& title, const QStringList& objects, const QString& fileName = {})
    {
        TCatalogParam catalog;
        catalog.Common = {"Operation=Compress", "Title=" + Cp932(title)};
        for (const QString& object : objects)
            catalog.Objects.push_back(Cp932(object));
        CatalogStore store(Path());
        store.LoadCatalogList();
        const int index = store.AddCatalogFromWizard(catalog);
        if (!fileName.isEmpty())
            store.RenameCatalog(index, Cp932(fileName));
        store.SaveCatalogList();
    }

    // Lists a catalog whose file cannot be read, not even by root: a link to itself.
    // Returns whether the link could be made.
    [[nodiscard]] bool AddUnreadableCatalog(const QString& name)
    {
        AddCatalog(name, {});
        const QString file = FilePath(name + ".VrCat");
        return QFile::remove(file) && QFile::link(file, file);
    }

    // The folder in the program's form, with its trailing delimiter.
    std::string Path() const { return Cp932(dir.path()) + "/"; }
    QString FilePath(const QString& name) const { return dir.filePath(name); }

    // The control file's bytes; empty when it cannot be read.
    QByteArray ControlFile() const
    {
        QFile file(FilePath(QStringLiteral("VrCatCtl.ini")));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir dir;

private:
    static std::string Cp932(const QString& text) { return QStringToCp932(text).value(); }
};
