#pragma once

#include <string>

class OpenDialogWindow;

// The chooser's child templates: the rows it adds under the open dialog's standard controls,
// built in code and chosen by name.
//   "CABINET_OPEN_DIALOG", "CABINET_OPEN_DIALOG2": the folder history row;
//   "CABINET_OPEN_DIALOGEX", "CABINET_OPEN_DIALOGEX2": and the confirm button;
//   "CABINET_SEARCH_OPEN_DIALOGEX", "CABINET_SEARCH_OPEN_DIALOGEX2": and the include-
//   subfolders check box.
// The names without "2" use "MS UI Gothic", the others "ＭＳ Ｐゴシック", each when installed.

// Identifiers of the template controls.
inline constexpr int IdHistoryList = 1001;
inline constexpr int IdSaveHistory = 1002;
inline constexpr int IdConfirm = 1004;
inline constexpr int IdSubPath = 1010;

// Adds the controls of the named template to the dialog; an unknown or empty name adds
// nothing. Each control is found by its identifier (OpenDialogWindow::DlgItem).
void BuildDialogTemplate(OpenDialogWindow& dialog, const std::string& name);
