#include "app/ShellIcons.h"

#include "support/core/Cp932.h"
#include "support/core/FileFacts.h"
#include "support/ui/ShellIcons.h"

#include <algorithm>
#include <array>

namespace {

// The extension of a name with its dot ("" when it has none).
std::string_view Extension(std::string_view name)
{
    const auto dot = name.rfind('.');
    if (dot == std::string_view::npos || dot + 1 == name.size())
        return {};
    return name.substr(dot);
}

}  // namespace

int ShellIcons::IconIndexFor(int attributes, std::string_view name)
{
    switch (KindOfAttributes(attributes)) {
    case ObjectKind::Missing:
        if (missingIndex_ < 0)
            missingIndex_ = Add(MissingFileIcon());
        return missingIndex_;
    case ObjectKind::Folder:
        if (folderIndex_ < 0)
            folderIndex_ = Add(FolderIcon());
        return folderIndex_;
    case ObjectKind::File:
        break;
    }
    return FileIconIndex(name);
}

int ShellIcons::Add(const QIcon& icon)
{
    icons_.push_back(icon);
    return static_cast<int>(icons_.size()) - 1;
}

int ShellIcons::FileIconIndex(std::string_view name)
{
    if (genericFileIndex_ < 0)
        genericFileIndex_ = Add(GenericFileIcon());
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
    const QIcon icon = FileIconForName(Cp932ToDisplay(std::string_view(key.constData(), std::size_t(key.size()))));
    const int index = icon.cacheKey() == GenericFileIcon().cacheKey() ? genericFileIndex_ : Add(icon);
    byExtension_.insert(QByteArray(key.constData(), key.size()), index);
    return index;
}
