#include "support/ui/ObjectIcons.h"

#include "support/core/Cp932.h"
#include "support/core/FileNames.h"
#include "support/core/HostPath.h"
#include "support/core/InterfaceLanguage.h"
#include "support/core/MimeComment.h"
#include "support/ui/ImageList.h"

#include <QFileIconProvider>
#include <QHash>
#include <QMimeDatabase>

#include <vector>

namespace {

constexpr int SmallIconSize = 16;
constexpr int LargeIconSize = 32;

// What the names of one type ending share: the number of their icon and their type text.
struct FileType {
    int icon = 0;
    QString text;
};

// The numbered icons and the file types found so far.
struct Cache {
    TImageList icons { QSize(LargeIconSize, LargeIconSize) };
    QHash<QString, int> iconByName;        // an object kind ("folder") or a type ("text/plain")
    std::vector<FileType> types;
    QHash<QString, int> typeByEnding;      // key of a display name -> types
    QHash<QByteArray, int> typeByCp932Ending;
};

Cache& TheCache()
{
    static Cache cache = [] {
        Cache made;
        made.icons.Add(QFileIconProvider().icon(QAbstractFileIconProvider::File));
        return made;
    }();
    return cache;
}

// The number of the icon named name (an object kind or a type's name), made once.
template <typename MakeIcon>
int IconIndex(const QString& name, MakeIcon makeIcon)
{
    Cache& cache = TheCache();
    if (const auto found = cache.iconByName.constFind(name); found != cache.iconByName.constEnd())
        return *found;
    const int index = cache.icons.Add(makeIcon());
    cache.iconByName.insert(name, index);
    return index;
}

int ProviderIconIndex(const QString& name, QAbstractFileIconProvider::IconType type)
{
    return IconIndex(name, [type] { return QFileIconProvider().icon(type); });
}

int FolderIconIndex() { return ProviderIconIndex(QStringLiteral("folder"), QAbstractFileIconProvider::Folder); }

int MissingIconIndex()
{
    return IconIndex(QStringLiteral("missing"), [] {
        const QIcon generic = GenericFileIcon();
        QIcon faded;
        for (const int size : {SmallIconSize, LargeIconSize}) {
            const QPixmap disabled = generic.pixmap(size, QIcon::Disabled);
            faded.addPixmap(disabled, QIcon::Normal);
            faded.addPixmap(disabled, QIcon::Selected);
        }
        return faded;
    });
}

// A name's type is kept under its TypeEnding. A name that starts with a dot is its own type
// and is keyed with a "/" in front (no name holds one), apart from the same ending of another
// name: "x.a.b" also ends in ".a.b", but its extension is "b".
template <typename Name>
bool KeyedWhole(Name fileName)
{
    return !fileName.empty() && fileName[0] == u'.';
}

// The type the database gives the name (by its name only), described in the interface's
// language, else the program's own type text by the extension and the generic icon.
FileType ComputeFileType(const QString& fileName)
{
    const QMimeType mime = QMimeDatabase().mimeTypeForFile(fileName, QMimeDatabase::MatchExtension);
    FileType type;
    if (!mime.isDefault()) {
        type.icon = IconIndex(mime.name(), [&mime] {
            return QIcon::fromTheme(mime.iconName(), QIcon::fromTheme(mime.genericIconName(), GenericFileIcon()));
        });
        type.text = MimeComment(mime.name(), QString::fromLatin1(InterfaceLanguage));
    }
    if (type.text.isEmpty())
        type.text = Cp932ToDisplay(FileTypeText(QStringToCp932(fileName).value_or(std::string()), ""));
    return type;
}

// Per type ending, looked up once: 100,000 files of a few types cost a few look-ups.
int TypeIndexOfName(const QString& fileName)
{
    Cache& cache = TheCache();
    const QString key = KeyedWhole(QStringView(fileName)) ? QStringLiteral("/") + fileName
                                                          : TypeEnding(QStringView(fileName)).toString();
    if (const auto found = cache.typeByEnding.constFind(key); found != cache.typeByEnding.constEnd())
        return *found;
    cache.types.push_back(ComputeFileType(fileName));
    const int index = int(cache.types.size()) - 1;
    cache.typeByEnding.insert(key, index);
    return index;
}

const FileType& TypeOfName(const QString& fileName)
{
    return TheCache().types[std::size_t(TypeIndexOfName(fileName))];
}

// The icon number of a file by its code page 932 name, without converting the name when its
// ending is known: this runs once for every row of a list.
int FileIconIndex(std::string_view fileName)
{
    Cache& cache = TheCache();
    const std::string_view ending = TypeEnding(fileName);
    const QByteArray key = KeyedWhole(fileName) ? QByteArray("/").append(fileName.data(), qsizetype(fileName.size()))
                                                : QByteArray::fromRawData(ending.data(), qsizetype(ending.size()));
    auto found = cache.typeByCp932Ending.constFind(key);
    if (found == cache.typeByCp932Ending.constEnd())
        found = cache.typeByCp932Ending.insert(QByteArray(key.constData(), key.size()),
                                               TypeIndexOfName(Cp932ToDisplay(fileName)));
    return cache.types[std::size_t(*found)].icon;
}

}  // namespace

QIcon FolderIcon() { return GetSystemImageList().Icon(FolderIconIndex()); }
QIcon ComputerIcon() { return GetSystemImageList().Icon(ComputerIconIndex()); }
QIcon NetworkIcon() { return GetSystemImageList().Icon(NetworkIconIndex()); }
QIcon DesktopIcon() { return GetSystemImageList().Icon(GetDesktopIconIndex()); }
QIcon GenericFileIcon() { return GetSystemImageList().Icon(0); }
QIcon MissingFileIcon() { return GetSystemImageList().Icon(MissingIconIndex()); }

QIcon FileIconForName(const QString& fileName)
{
    return GetSystemImageList().Icon(TypeOfName(fileName).icon);
}

QString FileTypeForName(const QString& fileName)
{
    return TypeOfName(fileName).text;
}

int ObjectIconIndex(ObjectKind kind, std::string_view fileName)
{
    switch (kind) {
    case ObjectKind::Folder:
        return FolderIconIndex();
    case ObjectKind::Missing:
        return MissingIconIndex();
    case ObjectKind::File:
        break;
    }
    return FileIconIndex(fileName);
}

QIcon ObjectIcon(ObjectKind kind, std::string_view fileName)
{
    return GetSystemImageList().Icon(ObjectIconIndex(kind, fileName));
}

int PathIconIndex(std::string_view path)
{
    return ObjectIconIndex(KindOfAttributes(GetFileAttributesOf(path)), ExtractFileName(path));
}

int GetDesktopIconIndex() { return ProviderIconIndex(QStringLiteral("desktop"), QAbstractFileIconProvider::Desktop); }
int ComputerIconIndex() { return ProviderIconIndex(QStringLiteral("computer"), QAbstractFileIconProvider::Computer); }
int NetworkIconIndex() { return ProviderIconIndex(QStringLiteral("network"), QAbstractFileIconProvider::Network); }

const TImageList& GetSystemImageList()
{
    return TheCache().icons;
}
