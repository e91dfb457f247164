#include "support/ui/ShellIcons.h"

#include "support/core/Cp932.h"
#include "support/core/FileNames.h"

#include <QFileIconProvider>
#include <QHash>
#include <QMimeDatabase>

namespace {

constexpr int SmallIconSize = 16;

QIcon ProviderIcon(QAbstractFileIconProvider::IconType type)
{
    static QHash<int, QIcon> icons;
    const auto found = icons.constFind(type);
    if (found != icons.constEnd())
        return *found;
    const QIcon icon = QFileIconProvider().icon(type);
    icons.insert(type, icon);
    return icon;
}

// The extension after the last dot, in lower case ("" when there is none).
QString SuffixOf(const QString& fileName)
{
    const qsizetype dot = fileName.lastIndexOf(u'.');
    return dot < 0 ? QString() : fileName.mid(dot + 1).toLower();
}

QIcon ComputeFileIcon(const QString& suffix)
{
    const QMimeType mime
        = QMimeDatabase().mimeTypeForFile(QStringLiteral("file.") + suffix, QMimeDatabase::MatchExtension);
    const QIcon generic = GenericFileIcon();
    if (mime.isDefault())
        return generic;
    return QIcon::fromTheme(mime.iconName(), QIcon::fromTheme(mime.genericIconName(), generic));
}

// Names with the same ending share their type: "report.txt" and "memo.txt" both end in
// ".txt", "a.tar.gz" ends in ".tar.gz"; a name without a dot is its own ending ("Makefile").
QString NameEnding(const QString& name)
{
    const qsizetype dot = name.indexOf(u'.');
    return dot < 0 ? name : name.mid(dot);
}

QString ComputeFileType(const QString& fileName)
{
    const QMimeType mime = QMimeDatabase().mimeTypeForFile(fileName, QMimeDatabase::MatchExtension);
    if (!mime.isDefault() && !mime.comment().isEmpty())
        return mime.comment();
    return Cp932ToDisplay(FileTypeText(QStringToCp932(fileName).value_or(std::string()), ""));
}

}  // namespace

QIcon FolderIcon() { return ProviderIcon(QAbstractFileIconProvider::Folder); }
QIcon ComputerIcon() { return ProviderIcon(QAbstractFileIconProvider::Computer); }
QIcon NetworkIcon() { return ProviderIcon(QAbstractFileIconProvider::Network); }
QIcon DesktopIcon() { return ProviderIcon(QAbstractFileIconProvider::Desktop); }
QIcon GenericFileIcon() { return ProviderIcon(QAbstractFileIconProvider::File); }

QIcon MissingFileIcon()
{
    static const QIcon faded = [] {
        const QPixmap disabled = GenericFileIcon().pixmap(SmallIconSize, QIcon::Disabled);
        QIcon icon;
        icon.addPixmap(disabled, QIcon::Normal);
        icon.addPixmap(disabled, QIcon::Selected);
        return icon;
    }();
    return faded;
}

// Per extension, computed once: 100,000 files of a few kinds cost a few look-ups.
QIcon FileIconForName(const QString& fileName)
{
    const QString suffix = SuffixOf(fileName);
    if (suffix.isEmpty())
        return GenericFileIcon();
    static QHash<QString, QIcon> cache;
    const auto found = cache.constFind(suffix);
    if (found != cache.constEnd())
        return *found;
    const QIcon icon = ComputeFileIcon(suffix);
    cache.insert(suffix, icon);
    return icon;
}

QString FileTypeForName(const QString& fileName)
{
    static QHash<QString, QString> cache;
    const QString ending = NameEnding(fileName);
    const auto found = cache.constFind(ending);
    if (found != cache.constEnd())
        return *found;
    const QString type = ComputeFileType(fileName);
    cache.insert(ending, type);
    return type;
}
