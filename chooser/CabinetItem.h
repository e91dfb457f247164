#pragma once

#include <cstdint>
#include <string>

// What the path of a place is relative to.
enum class TRootFolder : std::uint8_t {
    rfCurrent = 0,       // the path is whole
    rfInitialDir = 1,    // the chooser's InitialDir
    rfApplication = 2,   // the folder of the program's executable
    rfDesktop = 3,       // the user's desktop folder
    rfMyDocument = 4,    // the user's documents folder
    rfMyComputer = 5,    // the computer folder (mounted volumes)
    rfNetwork = 6,       // the network folder
};

// One place of the chooser's side list: a large icon with a caption under it; a click
// shows the place's folder. Strings are code page 932. The root folder is kept as the
// stored byte, so that an ordinal outside the enumeration survives and resolves to nothing.
struct TCabinetItem {
    int ImageIndex = 0;   // 0: no icon chosen, looked up when the side list is built
    std::string FolderPath;
    std::uint8_t RootFolder = static_cast<std::uint8_t>(TRootFolder::rfCurrent);
    std::string Caption;

    void SetRootFolder(TRootFolder root) { RootFolder = static_cast<std::uint8_t>(root); }

    // The caption, or the class name when the caption is empty.
    std::string DisplayName() const;
};
