#include "chooser/ShellIcons.h"

#include "support/core/Cp932.h"
#include "support/core/FileNames.h"

#include <QFileIconProvider>
#include <QHash>
#include <QMimeDatabase>

namespace {

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

QString SuffixOf(const QString& fileName)
{
    const qsizetype dot = fileName.lastIndexOf(u'.');
    return dot <= 0 ? QString() : fileName.mid(dot + 1).toLower();
}

// Per extension, computed once: 100,000 files of a few kinds cost a few look-ups.
struct SuffixFacts {
    QIcon icon;
    QString type;
};

SuffixFacts ComputeSuffixFacts(const QString& fileName)
{
    const QMimeDatabase mimes;
    const QMimeType mime = mimes.mimeTypeForFile(fileName, QMimeDatabase::MatchExtension);
    SuffixFacts facts;
    const QIcon fallback = GenericFileIcon();
    facts.icon = mime.isDefault()
        ? fallback
        : QIcon::fromTheme(mime.iconName(), QIcon::fromTheme(mime.genericIconName(), fallback));
    if (!mime.isDefault() && !mime.comment().isEmpty()) {
        facts.type = mime.comment();
    } else {
        const auto name = QStringToCp932(fileName);
        facts.type = Cp932ToDisplay(FileTypeText(name.value_or(std::string()), ""));
    }
    return facts;
}

SuffixFacts FactsForName(const QString& fileName)
{
    static QHash<QString, SuffixFacts> cache;
    const QString suffix = SuffixOf(fileName);
    const auto found = cache.constFind(suffix);
    if (found != cache.constEnd())
        return *found;
    // Every file with the same extension gets the same facts, so one name stands for all.
    SuffixFacts facts = ComputeSuffixFacts(suffix.isEmpty() ? QStringLiteral("file")
                                                            : QStringLiteral("file.") + suffix);
    cache.insert(suffix, facts);
    return facts;
}

}  // namespace

QIcon FolderIcon() { return ProviderIcon(QAbstractFileIconProvider::Folder); }
QIcon ComputerIcon() { return ProviderIcon(QAbstractFileIconProvider::Computer); }
QIcon NetworkIcon() { return ProviderIcon(QAbstractFileIconProvider::Network); }
QIcon DesktopIcon() { return ProviderIcon(QAbstractFileIconProvider::Desktop); }
QIcon GenericFileIcon() { return ProviderIcon(QAbstractFileIconProvider::File); }

QIcon FileIconForName(const QString& fileName) { return FactsForName(fileName).icon; }

QString FileTypeForName(const QString& fileName) { return FactsForName(fileName).type; }
