#pragma once

#include <QFileIconProvider>
#include <QHash>
#include <QIcon>
#include <QMimeDatabase>
#include <QString>

#include <string_view>
#include <vector>

// The small icons of the object lists, found the way the shell finds them "by file
// attributes": from the kind of the object and the extension of its name alone, so that no
// object is ever opened for its icon. Each icon is looked up once and then served from
// the cache by a small index.
class TShellIcons {
public:
    // The icon index for an object of these attributes (-1 when nothing exists there;
    // 0x10 marks a folder) and this name (code page 932).
    int IconIndexFor(int attributes, std::string_view name);

    const QIcon& Icon(int index) const { return icons_[static_cast<std::size_t>(index)]; }

private:
    int Add(QIcon icon);
    int FileIconIndex(std::string_view name);
    int MissingIconIndex();

    QFileIconProvider provider_;
    QMimeDatabase mimeDatabase_;
    std::vector<QIcon> icons_;
    int folderIndex_ = -1;
    int missingIndex_ = -1;
    int genericFileIndex_ = -1;
    QHash<QByteArray, int> byExtension_;
};
