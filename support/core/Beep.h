#pragma once

#include "support/core/ScopedHandler.h"

#include <functional>

// The system beep. The core has no sound of its own: the user interface installs the
// real beep at start-up, tests install a counter.
void MessageBeep();

// Replaces the beep and returns the one it replaces; an empty function silences it.
using BeepHandler = std::function<void()>;
BeepHandler SetBeepHandler(BeepHandler handler);

// Replaces the beep for the lifetime of the object (tests count beeps with it).
using ScopedBeepHandler = ScopedHandler<BeepHandler, &SetBeepHandler>;
