#include "chooser/KnownFolders.h"

#include "support/core/HostPath.h"
#include "support/ui/ObjectIcons.h"

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
    return FromQtPath(QStandardPaths::writableLocation(location)).value_or(std::string());
}

int GetFileIconIndex(const std::string& path)
{
    if (path.starts_with(ComputerFolderName))
        return ComputerIconIndex();
    if (path.starts_with(NetworkFolderName))
        return NetworkIconIndex();
    return PathIconIndex(path);
}
