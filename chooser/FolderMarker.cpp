#include "chooser/FolderMarker.h"

#include "support/core/FileNames.h"
#include "support/core/HostPath.h"

namespace {

constexpr char FolderMarkerChar = '+';

bool IsMarkedFolder(const std::string& path)
{
    const std::string name = ExtractFileName(path);
    if (!name.starts_with(FolderMarkerChar))
        return false;
    const std::string folder = AddPathDelimiter(ExtractFilePath(path), PathDelim);
    return DirExists(folder + name.substr(1));
}

}  // namespace

MarkedSelection MarkSelection(const std::string& folder, const std::vector<ChosenName>& names)
{
    MarkedSelection selection;
    const bool quote = names.size() > 1
        || (names.size() == 1 && names.front().Name.find(' ') != std::string::npos);
    for (const ChosenName& chosen : names) {
        const std::string marked
            = chosen.IsFolder ? std::string(1, FolderMarkerChar) + chosen.Name : chosen.Name;
        if (!quote) {
            selection.Text = marked;
        } else {
            if (!selection.Text.empty())
                selection.Text += ' ';
            selection.Text += '"' + marked + '"';
        }
        if (chosen.IsFolder)
            selection.Folders.push_back(AddPathDelimiter(folder, PathDelim) + chosen.Name);
    }
    return selection;
}

std::vector<std::string> ReworkSelectedFiles(const std::vector<std::string>& files,
                                             std::vector<std::string>* missing)
{
    std::vector<std::string> kept;
    for (const std::string& path : files) {
        if (IsMarkedFolder(path))
            continue;
        if (IsExistingFile(path))
            kept.push_back(path);
        else if (missing)
            missing->push_back(path);
    }
    return kept;
}
