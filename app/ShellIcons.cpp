#include "app/ShellIcons.h"

#include <QPixmap>

#include <algorithm>
#include <array>

namespace {

constexpr int kSmallIconSize = 16;

// The extension of a name with its dot ("" when it has none).
std::string_view Extension(std::string_view name)
{
    const auto dot = name.rfind('.');
    if (dot == std::string_view::npos || dot + 1 == name.size())
        return {};
    return name.substr(dot);
}

// An icon whose every mode shows the disabled picture: the faded look of an object that
// no longer exists.
QIcon Faded(const QIcon& icon)
{
    QIcon faded;
    faded.addPixmap(icon.pixmap(kSmallIconSize, QIcon::Disabled), QIcon::Normal);
    faded.addPixmap(icon.pixmap(kSmallIconSize, QIcon::Disabled), QIcon::Selected);
    return faded;
}

}  // namespace

int TShellIcons::IconIndexFor(int attributes, std::string_view name)
{
    if (attributes == -1)
        return MissingIconIndex();
    if (attributes & 0x10) {
        if (folderIndex_ < 0)
            folderIndex_ = Add(provider_.icon(QAbstractFileIconProvider::Folder));
        return folderIndex_;
    }
    return FileIconIndex(name);
}

int TShellIcons::Add(QIcon icon)
{
    icons_.push_back(std::move(icon));
    return static_cast<int>(icons_.size()) - 1;
}

int TShellIcons::FileIconIndex(std::string_view name)
{
    if (genericFileIndex_ < 0)
        genericFileIndex_ = Add(provider_.icon(QAbstractFileIconProvider::File));
    const std::string_view extension = Extension(name);
    if (extension.empty())
        return genericFileIndex_;
    // Looked up in lower case without making a copy: this runs once for every row.
    std::array<char, 16> lowered {};
    QByteArray key;
    if (extension.size() <= lowered.size()) {
        std::transform(extension.begin(), extension.end(), lowered.begin(),
                       [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; });
        key = QByteArray::fromRawData(lowered.data(), qsizetype(extension.size()));
    } else {
        key = QByteArray(extension.data(), qsizetype(extension.size())).toLower();
    }
    if (const auto found = byExtension_.constFind(key); found != byExtension_.constEnd())
        return *found;
    const QMimeType type = mimeDatabase_.mimeTypeForFile(QString::fromLatin1("x" + key),
                                                         QMimeDatabase::MatchExtension);
    QIcon icon = QIcon::fromTheme(type.iconName(), QIcon::fromTheme(type.genericIconName()));
    const int index = icon.isNull() || type.isDefault() ? genericFileIndex_ : Add(std::move(icon));
    byExtension_.insert(QByteArray(key.constData(), key.size()), index);
    return index;
}

int TShellIcons::MissingIconIndex()
{
    if (missingIndex_ < 0)
        missingIndex_ = Add(Faded(provider_.icon(QAbstractFileIconProvider::File)));
    return missingIndex_;
}
