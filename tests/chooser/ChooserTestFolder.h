#pragma once

#include "support/core/Cp932.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <string>

// A temporary folder tree for the chooser's tests, addressed in the program's form of paths.
class ChooserTestFolder {
public:
    std::string Path(const std::string& relative = "") const
    {
        const std::string root = *QStringToCp932(dir_.path());
        return relative.empty() ? root : root + "/" + relative;
    }
    QString QtPath(const std::string& relative = "") const { return *Cp932ToQString(Path(relative)); }

    std::string MakeDir(const std::string& relative) const
    {
        QDir().mkpath(QtPath(relative));
        return Path(relative);
    }

    std::string MakeFile(const std::string& relative) const
    {
        QFile file(QtPath(relative));
        file.open(QIODevice::WriteOnly);
        file.write("x");
        return Path(relative);
    }

private:
    QTemporaryDir dir_;
};
