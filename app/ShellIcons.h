#pragma once

#include <QHash>
#include <QIcon>

#include <string_view>
#include <vector>

// The small icons of the object list by a compact index per row: the icons themselves come
// from support/ui/ShellIcons (by kind and name extension, never opening an object); this
// layer only numbers them so that each row stores an int, and finds a row's extension
// without copying its name.
class ShellIcons {
public:
    // The icon index for an object of these attributes (as GetFileAttributesOf gives them)
    // and this name (code page 932).
    int IconIndexFor(int attributes, std::string_view name);

    const QIcon& Icon(int index) const { return icons_[static_cast<std::size_t>(index)]; }

private:
    int Add(const QIcon& icon);
    int FileIconIndex(std::string_view name);

    std::vector<QIcon> icons_;
    int folderIndex_ = -1;
    int missingIndex_ = -1;
    int genericFileIndex_ = -1;
    QHash<QByteArray, int> byExtension_;
};
