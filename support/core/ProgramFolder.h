#pragma once

#include <QString>

#include <filesystem>
#include <string>

// Where the program keeps its files. A portable copy keeps the control file and the catalogs
// beside its executable; an installed program keeps them in the user's data folder. The
// choice looks only at what the executable's folder holds, never at whether the folder can
// be written: root can write /usr/bin.

// The file that marks the executable's folder portable. The build writes one beside the
// built program; a user puts one beside a copy of the program, on a USB stick for example.
inline constexpr char PortableMarkerName[] = "tessna.portable";

// The control file: the list of catalogs in the program folder.
inline constexpr char ControlFileName[] = "VrCatCtl.ini";

// Whether the folder (a host path) keeps the program's files: it holds the control file
// "VrCatCtl.ini" or the portable marker.
bool IsPortableFolder(const std::filesystem::path& folder);

// The folder of the running executable (a host path).
std::filesystem::path ExecutableFolder();

// The program folder with a trailing delimiter (code page 932): executableFolder when it is
// portable, otherwise "Kavo/Tessna" in the user's data folder ($XDG_DATA_HOME, by default
// ~/.local/share), made when missing. Throws TessnaError, naming the folder, when it cannot
// be made or has no code page 932 form.
std::string ProgramFolderFor(const std::filesystem::path& executableFolder);

// The program folder of the running executable; the program and tessna-cli both start here.
std::string GetProgramFolder();

// The help file "TESSNA.HLP" (a Qt path): the first that exists of the one in programFolder
// (when given), the one beside the executable and the one in the installed data folder. When
// none exists, the one beside the executable, so that the viewer names where it looked.
QString FindHelpFile(const QString& programFolder = {},
                     const std::filesystem::path& executableFolder = ExecutableFolder());
