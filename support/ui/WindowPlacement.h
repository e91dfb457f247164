#pragma once

#include <string>

class QWidget;

// A top-level window's placement between runs, kept as the platform's window-placement
// record: ten integers in the settings below a subkey of the caller's choice.

inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr int SW_SHOWMINIMIZED = 2;
inline constexpr int SW_SHOWMAXIMIZED = 3;

// A minimised window that goes back to maximised when restored.
inline constexpr int WPF_RESTORETOMAXIMIZED = 0x0002;

// The record, fields in the order of the stored values. The normal rectangle is the one
// the window has when neither maximised nor minimised, right and bottom exclusive, in
// global coordinates of the window's client area. The minimised and maximised positions
// mean nothing to the window system here: they are kept as loaded so that they are saved
// unchanged, and are -1 otherwise.
struct WindowPlacement {
    int flags = 0;
    int showCmd = SW_SHOWNORMAL;
    int minPositionX = -1;
    int minPositionY = -1;
    int maxPositionX = -1;
    int maxPositionY = -1;
    int normalLeft = 0;
    int normalTop = 0;
    int normalRight = 0;
    int normalBottom = 0;

    bool operator==(const WindowPlacement&) const = default;
};

WindowPlacement GetWindowPlacement(const QWidget* window);

// Gives the window its normal rectangle and its show state: minimised (2, 6, 7),
// maximised (3), else normal. A hidden window takes the state when it shows.
void SetWindowPlacement(QWidget* window, const WindowPlacement& placement);

// Reads the ten values of subKey, each defaulting to the window's current field, and
// applies them. A value of the wrong type throws ERegistryException before anything
// changes.
void LoadWindowPlacement(QWidget* form, const std::string& subKey);

// Writes the window's placement as the ten values of subKey. A write that fails beeps;
// the others are still written.
void SaveWindowPlacement(QWidget* form, const std::string& subKey);
