#include "chooser/FolderMarker.h"

#include "support/core/FileNames.h"
#include "support/core/HostPath.h"

#include <algorithm>

namespace {

constexpr char FolderMarkerChar = '+';

// The selected folder a path stands for when it is that folder's marked name, or end.
std::vector<std::string>::iterator MarkedFolder(const std::string& path, std::vector<std::string>& folders)
{
    const std::string name = ExtractFileName(path);
    if (!name.starts_with(FolderMarkerChar))
        return folders.end();
    const std::string folder = AddPathDelimiter(ExtractFilePath(path), PathDelim) + name.substr(1);
    return std::find(folders.begin(), folders.end(), folder);
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
                                             std::vector<std::string> selectedFolders,
                                             std::vector<std::string>* missing)
{
    std::vector<std::string> kept;
    for (const std::string& path : files) {
        // Each selected folder stands for one marked name; any other name is a file's.
        if (const auto folder = MarkedFolder(path, selectedFolders); folder != selectedFolders.end()) {
            selectedFolders.erase(folder);
            continue;
        }
        if (IsExistingFile(path))
            kept.push_back(path);
        else if (missing)
            missing->push_back(path);
    }
    return kept;
}
