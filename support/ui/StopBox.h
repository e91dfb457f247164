#pragma once

#include "support/core/ScopedHandler.h"

#include <functional>
#include <string>

class QWidget;

// The box for errors that no code of the program catches: the error's message under the
// title "Tessna", with the error icon and an OK button.

// The text of the box: message (code page 932), with "." appended when its last
// character sorts after "." (a Japanese message ending in "。" gets one, "..." does not)
// and it is one line; a message that lists names on the lines below it is left as it is.
std::string StopBoxText(const std::string& message);

// Shows the stop box for message over owner (may be null), after the system's error sound.
void ShowStopBox(QWidget* owner, const std::string& message);

// Replaces the box: the handler is given the owner and the finished text (StopBoxText).
// Tests install one to see the box without showing it; an empty handler brings the real
// box back. Returns the handler it replaces.
using StopBoxHandler = std::function<void(QWidget* owner, const std::string& text)>;
StopBoxHandler SetStopBoxHandler(StopBoxHandler handler);

// Replaces the box for the lifetime of the object.
using ScopedStopBoxHandler = ScopedHandler<StopBoxHandler, &SetStopBoxHandler>;

// The text shown for an error that carries no message.
std::string UnknownErrorMessage();
