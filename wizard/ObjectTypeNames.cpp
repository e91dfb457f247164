#include "wizard/ObjectTypeNames.h"

#include "support/core/Cp932.h"
#include "support/core/FileNames.h"
#include "support/core/HostPath.h"

#include <QMimeDatabase>

namespace {

// Names with the same ending share their type: "report.txt" and "memo.txt" both end in
// "txt", "a.tar.gz" ends in "tar.gz"; a name without a dot is its own ending ("Makefile").
std::string NameEnding(const std::string& name)
{
    const std::size_t dot = name.find('.');
    return dot == std::string::npos ? name : name.substr(dot);
}

}  // namespace

QString ObjectTypeNames::TypeName(const TWizardObjectRow& row)
{
    switch (row.kind()) {
    case TWizardObjectRow::Kind::Missing:
        return {};
    case TWizardObjectRow::Kind::Folder:
        if (folderName_.isEmpty())
            folderName_ = QMimeDatabase().mimeTypeForName(QStringLiteral("inode/directory")).comment();
        return folderName_;
    case TWizardObjectRow::Kind::File:
        break;
    }
    return FileTypeName(row.Path);
}

QString ObjectTypeNames::FileTypeName(const std::string& path)
{
    const std::string name = ExtractFileName(path);
    const std::string ending = NameEnding(name);
    if (const auto known = byEnding_.find(ending); known != byEnding_.end())
        return known->second;

    const QMimeType type
        = QMimeDatabase().mimeTypeForFile(Cp932ToDisplay(name), QMimeDatabase::MatchExtension);
    const std::string shellName
        = type.isDefault() ? std::string() : QStringToCp932(type.comment()).value_or(std::string());
    const QString text = Cp932ToDisplay(FileTypeText(name, shellName));
    byEnding_.emplace(ending, text);
    return text;
}
