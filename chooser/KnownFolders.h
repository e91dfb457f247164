#pragma once

#include <string>

// The special folders the chooser knows by number and by parsing name, and the icon of a
// path that may be one of those names. Paths are code page 932.

// Special folder numbers the chooser uses.
inline constexpr int CSIDL_DESKTOP = 0;
inline constexpr int CSIDL_PERSONAL = 5;

// The parsing names of the computer folder and the network folder: the dialog takes them
// like folder paths. Neither has a file-system path.
inline constexpr char ComputerFolderName[] = "::{20D04FE0-3AEA-1069-A2D8-08002B30309D}";
inline constexpr char NetworkFolderName[] = "::{208D2C60-3AEA-1069-A2D7-08002B30309D}";

// The file-system path of the desktop or the documents folder, the home folder when that
// folder does not exist; "" for any other number or when the path has no code page 932 form.
std::string GetSpecialFolderPath(int csidl);

// The number in GetSystemImageList (support/ui/ObjectIcons.h) of the icon of path: the
// computer's or the network's for their parsing names, else that of the object at path as
// it is on disk (PathIconIndex), a missing one's included.
int GetFileIconIndex(const std::string& path);
