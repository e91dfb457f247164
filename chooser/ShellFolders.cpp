#include "chooser/ShellFolders.h"

#include "chooser/ImageList.h"
#include "support/core/HostPath.h"
#include "support/ui/ShellIcons.h"

#include <QFileInfo>
#include <QHash>
#include <QStandardPaths>

namespace {

constexpr int LargeIconSize = 32;

// Indices of the system list by kind ("folder", "computer", ...) or by ".ext" for files.
int IndexFor(const QString& key, const QIcon& icon)
{
    static QHash<QString, int> indices;
    const auto found = indices.constFind(key);
    if (found != indices.constEnd())
        return *found;
    const int index = GetSystemImageList().Add(icon);
    indices.insert(key, index);
    return index;
}

int FileIndex(const QString& fileName)
{
    const qsizetype dot = fileName.lastIndexOf(u'.');
    const QString suffix = dot <= 0 ? QString() : fileName.mid(dot).toLower();
    return suffix.isEmpty() ? 0 : IndexFor(suffix, FileIconForName(fileName));
}

}  // namespace

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
        return IndexFor(QStringLiteral("computer"), ComputerIcon());
    if (path.starts_with(NetworkFolderName))
        return IndexFor(QStringLiteral("network"), NetworkIcon());
    const auto qtPath = ToQtPath(path);
    if (!qtPath)
        return 0;
    // Places and history entries are folders; one that is missing still shows as a folder.
    const QFileInfo info(*qtPath);
    if (!info.isFile())
        return IndexFor(QStringLiteral("folder"), FolderIcon());
    return FileIndex(info.fileName());
}

int GetDesktopIconIndex()
{
    return IndexFor(QStringLiteral("desktop"), DesktopIcon());
}

TImageList& GetSystemImageList()
{
    static TImageList list = [] {
        TImageList icons(QSize(LargeIconSize, LargeIconSize));
        icons.Add(GenericFileIcon());
        return icons;
    }();
    return list;
}
