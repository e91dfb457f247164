#include "chooser/KnownFolders.h"

#include "support/core/HostPath.h"
#include "support/ui/ObjectIcons.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

std::string GetSpecialFolderPath(int csidl)
{
    QStandardPaths::StandardLocation location;
    if (csidl == CSIDL_DESKTOP)
        location = QStandardPaths::DesktopLocation;
    else if (csidl == CSIDL_PERSONAL)
        location = QStandardPaths::DocumentsLocation;
    else
        return {};
    // A desktop or documents folder the user does not have stands for the home folder, so that
    // its place in the side list still leads somewhere.
    const QString path = QStandardPaths::writableLocation(location);
    return FromQtPath(QFileInfo(path).isDir() ? path : QDir::homePath()).value_or(std::string());
}

int GetFileIconIndex(const std::string& path)
{
    if (path.starts_with(ComputerFolderName))
        return ComputerIconIndex();
    if (path.starts_with(NetworkFolderName))
        return NetworkIconIndex();
    return PathIconIndex(path);
}
