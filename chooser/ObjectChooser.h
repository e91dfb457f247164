#pragma once

#include "chooser/DialogType.h"
#include "chooser/OpenOptions.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QWidget;

// How a window picks objects: it fills the settings, runs the extended chooser modally over
// itself and reads back the folders and the files the user chose. Windows hold an
// ObjectChooserRunner (RunObjectChooser by default) so that tests can answer in its place.

// What a caller sets before the run. Strings are code page 932.
struct ObjectChooserSettings {
    std::string Title;
    std::string InitialDir;
    std::string DefaultExt;
    std::string Filter;       // "caption|pattern|caption|pattern..."
    int FilterIndex = 1;      // 1-based entry of Filter shown first
    OpenOptions Options = ofHideReadOnly | ofEnableSizing;
    std::string HistoryKey;   // registry key of the folder history; empty: not stored
    bool LoadPlaces = true;   // fill the side list from the registry or with the default places
    TDialogType DialogType = TDialogType::dtNormal;
    bool ApplyDir = false;    // confirm only with at least one folder selected
    bool SubPath = true;      // search mode: the include-subfolders check box
};

// What a confirmed run gives: full paths in code page 932, each list in the order of the
// dialog's file list. Names without a code page 932 form are refused (the user is told) and
// never appear here.
struct ObjectChoice {
    std::vector<std::string> SelectedFolders;
    std::vector<std::string> SelectedFiles;
    bool SubPath = true;
};

// Runs a chooser over owner: the choice when the user confirmed, nothing when cancelled.
using ObjectChooserRunner
    = std::function<std::optional<ObjectChoice>(QWidget* owner, const ObjectChooserSettings& settings)>;

// The set-up both windows use to pick the objects to compress: all files, the archive
// folder history, the places, several folders and files at once.
ObjectChooserSettings ObjectsToCompressSettings();

// The real runner: a TCabOpenDialogEx made for this one run.
std::optional<ObjectChoice> RunObjectChooser(QWidget* owner, const ObjectChooserSettings& settings);
