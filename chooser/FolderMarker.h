#pragma once

#include <string>
#include <vector>

// The extended chooser returns folders through the file name box: a selected folder's name
// carries a "+" in front, which no confirmed run returns as a file. Strings are code page
// 932 in host syntax.

struct ChosenName {
    std::string Name;   // bare name in the folder shown
    bool IsFolder = false;
};

struct MarkedSelection {
    std::string Text;                  // what the file name box shows
    std::vector<std::string> Folders;  // full paths of the selected folders, in list order
};

// One name alone and without a space shows bare (+docs, a.txt); otherwise every name is
// enclosed in double quotes and the names are separated by one space. Folders get the marker.
MarkedSelection MarkSelection(const std::string& folder, const std::vector<ChosenName>& names);

// The files of a confirmed run: the marked name of each selected folder (full paths, as
// MarkSelection gives them) is dropped once, and so is every path that is not an existing
// file; those go to missing when it is given. Any other name is a file's, also one that
// starts with the marker: a file "+x" beside a folder "x" is that file.
std::vector<std::string> ReworkSelectedFiles(const std::vector<std::string>& files,
                                             std::vector<std::string> selectedFolders,
                                             std::vector<std::string>* missing = nullptr);
