#include "chooser/ChooserFileModel.h"

#include "chooser/ShellIcons.h"

#include <QFileInfo>

ChooserIconProvider::ChooserIconProvider()
{
    FolderIcon();
    GenericFileIcon();
}

QIcon ChooserIconProvider::icon(IconType type) const
{
    switch (type) {
    case Computer:
        return ComputerIcon();
    case Desktop:
        return DesktopIcon();
    case Network:
        return NetworkIcon();
    case File:
        return GenericFileIcon();
    default:
        return FolderIcon();
    }
}

QIcon ChooserIconProvider::icon(const QFileInfo& info) const
{
    return info.isDir() ? FolderIcon() : FileIconForName(info.fileName());
}

QString ChooserIconProvider::type(const QFileInfo& info) const
{
    return info.isDir() ? QStringLiteral("ファイル フォルダ") : FileTypeForName(info.fileName());
}

namespace {

// One provider for every model: the model's worker thread may still ask it while a model
// is being destroyed, so it lives as long as the program.
ChooserIconProvider& SharedIconProvider()
{
    static ChooserIconProvider provider;
    return provider;
}

}  // namespace

ChooserFileModel::ChooserFileModel(QObject* parent) : QFileSystemModel(parent)
{
    setIconProvider(&SharedIconProvider());
    // Folders are always listed; the file type list's patterns apply to files only.
    setFilter(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::AllDirs);
    setNameFilterDisables(false);
}

QVariant ChooserFileModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QFileSystemModel::headerData(section, orientation, role);
    switch (section) {
    case 0:
        return QStringLiteral("名前");
    case 1:
        return QStringLiteral("サイズ");
    case 2:
        return QStringLiteral("種類");
    case 3:
        return QStringLiteral("更新日時");
    default:
        return QFileSystemModel::headerData(section, orientation, role);
    }
}
