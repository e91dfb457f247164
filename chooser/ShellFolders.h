#pragma once

#include <string>

class TImageList;

// The shell services the chooser needs: special folders, the icon index of a path and of
// the desktop, and the icon list those indices address. Paths are code page 932.

// Special folder numbers the chooser uses.
inline constexpr int CSIDL_DESKTOP = 0;
inline constexpr int CSIDL_PERSONAL = 5;

// The parsing names of the computer folder and the network folder: the dialog takes them
// like folder paths. Neither has a file-system path.
inline constexpr char ComputerFolderName[] = "::{20D04FE0-3AEA-1069-A2D8-08002B30309D}";
inline constexpr char NetworkFolderName[] = "::{208D2C60-3AEA-1069-A2D7-08002B30309D}";

// The file-system path of the desktop or the documents folder; "" for any other number or
// when the path has no code page 932 form.
std::string GetSpecialFolderPath(int csidl);

// The index in GetSystemImageList of the icon of path: a file's by its extension, the
// computer's or the network's for their parsing names, the folder icon for anything else
// (a missing path included). The path is never opened.
int GetFileIconIndex(const std::string& path);

// The index of the desktop's own icon.
int GetDesktopIconIndex();

// The program's one list of large system icons, shared by every chooser and never freed.
// Index 0 is the generic file icon.
TImageList& GetSystemImageList();
