#pragma once

// Connects the hooks of the core to the user interface; the application calls these once
// at start-up, after the QApplication exists.

// MessageBeep sounds QApplication::beep.
void InstallBeep();

// A settings file that cannot be read back is reported once in the stop box, naming the
// file; the write that met it only beeps.
void InstallRegistryProblemBox();
