#pragma once

#include <QString>

#include <functional>

// Hands a target (a mail link or a web address) to the desktop; false when nothing could
// open it. Windows that open links take one in their services so that tests see what
// would have been opened.
using ShellOpener = std::function<bool(const QString& target)>;

// Asks the desktop to open target (QDesktopServices): the program's shell "open".
bool ShellOpen(const QString& target);
