#pragma once

#include <array>
#include <string>
#include <string_view>

// Every registry subkey and value name the program touches, in one place. Subkeys are
// relative to the settings key unless they say otherwise.

// The product family's settings key below HKEY_CURRENT_USER.
inline constexpr char SettingsKey[] = "Software\\Kavo\\DeVad";

// Main window placement: ten integers, in this order; each defaults to the field of the
// window's current placement.
inline constexpr char RegCatalogSubKey[] = "Catalog";
inline constexpr char RegPlaceFlags[] = "PlaceFlags";
inline constexpr char RegPlaceShowCmd[] = "PlaceShowCmd";
inline constexpr char RegPlaceMinPosX[] = "PlaceMinPos.X";
inline constexpr char RegPlaceMinPosY[] = "PlaceMinPos.Y";
inline constexpr char RegPlaceMaxPosX[] = "PlaceMaxPos.X";
inline constexpr char RegPlaceMaxPosY[] = "PlaceMaxPos.Y";
inline constexpr char RegPlaceNormalPosLeft[] = "PlaceNormalPos.Left";
inline constexpr char RegPlaceNormalPosTop[] = "PlaceNormalPos.Top";
inline constexpr char RegPlaceNormalPosRight[] = "PlaceNormalPos.Right";
inline constexpr char RegPlaceNormalPosBottom[] = "PlaceNormalPos.Bottom";
inline constexpr std::array<const char*, 10> RegPlacementNames = {
    RegPlaceFlags,
    RegPlaceShowCmd,
    RegPlaceMinPosX,
    RegPlaceMinPosY,
    RegPlaceMaxPosX,
    RegPlaceMaxPosY,
    RegPlaceNormalPosLeft,
    RegPlaceNormalPosTop,
    RegPlaceNormalPosRight,
    RegPlaceNormalPosBottom,
};

// The catalog wizard's size and state, kept as a placement record like the main window's.
inline constexpr char RegWizardSubKey[] = "Wizard";

// Width of the main window's catalog tree pane.
inline constexpr char RegGrepSubKey[] = "Grep";
inline constexpr char RegPlaceTreeWidth[] = "PlaceTreeWidth";
inline constexpr int RegPlaceTreeWidthDefault = 160;

// Whether message boxes beep; read only.
inline constexpr char RegSettingSubKey[] = "Setting";
inline constexpr char RegBeepSound[] = "BeepSound";
inline constexpr bool RegBeepSoundDefault = false;

// The object chooser's side list of places; read only. Caption, RootFolder and FolderPath
// are numbered from 0 (RegNumberedName); Count 0 means the built-in places.
inline constexpr char RegCabinetSubKey[] = "Dialog\\Cabinet";
inline constexpr char RegCabinetCount[] = "Count";
inline constexpr char RegCabinetCaption[] = "Caption";
inline constexpr char RegCabinetRootFolder[] = "RootFolder";
inline constexpr char RegCabinetFolderPath[] = "FolderPath";

// The object chooser's folder history: RegHistorySubKey of the settings key, which the
// chooser opens by its full path below HKEY_CURRENT_USER (RegHistoryKey, with a plain
// TRegistry); "Count" and the values "0", "1", ... most recent first.
inline constexpr char RegHistorySubKey[] = "history\\ArchiveFile\\Path";
inline const std::string RegHistoryKey = std::string(SettingsKey) + '\\' + RegHistorySubKey;
inline constexpr char RegHistoryCount[] = "Count";

// A numbered value name: the stem and the decimal index, no leading zeros ("Caption0").
inline std::string RegNumberedName(std::string_view stem, int index)
{
    return std::string(stem) + std::to_string(index);
}
