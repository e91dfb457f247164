#pragma once

#include <functional>

class QWidget;

// Runs one user command. An error that escapes it ends the command where it stands and is
// shown in the stop box over owner, so that no exception ever reaches the Qt event loop.
// Every action, button and event handler that can fail runs its work through here.
void RunCommand(QWidget* owner, const std::function<void()>& command);
