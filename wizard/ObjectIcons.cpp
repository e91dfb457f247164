#include "wizard/ObjectIcons.h"

#include "support/core/Cp932.h"
#include "support/core/HostPath.h"

#include <QMimeDatabase>

namespace {

constexpr int SmallIconSize = 16;

std::string Extension(const std::string& name)
{
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot);
}

}  // namespace

QIcon ObjectIcons::Icon(const TWizardObjectRow& row)
{
    switch (row.kind()) {
    case TWizardObjectRow::Kind::Folder:
        if (folder_.isNull())
            folder_ = provider_.icon(QAbstractFileIconProvider::Folder);
        return folder_;
    case TWizardObjectRow::Kind::Missing:
        if (missing_.isNull()) {
            const QIcon generic = provider_.icon(QAbstractFileIconProvider::File);
            missing_ = QIcon(generic.pixmap(SmallIconSize, QIcon::Disabled));
        }
        return missing_;
    case TWizardObjectRow::Kind::File:
        break;
    }
    return FileIcon(row.Path);
}

QIcon ObjectIcons::FileIcon(const std::string& path)
{
    const std::string name = ExtractFileName(path);
    const std::string extension = Extension(name);
    if (const auto known = byExtension_.find(extension); known != byExtension_.end())
        return known->second;

    const QIcon generic = provider_.icon(QAbstractFileIconProvider::File);
    const QMimeType type
        = QMimeDatabase().mimeTypeForFile(Cp932ToDisplay(name), QMimeDatabase::MatchExtension);
    QIcon icon = QIcon::fromTheme(type.iconName(), QIcon::fromTheme(type.genericIconName(), generic));
    byExtension_.emplace(extension, icon);
    return icon;
}
