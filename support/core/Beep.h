#pragma once

#include <functional>

// The system beep. The core has no sound of its own: the user interface installs the
// real beep at start-up, tests install a counter.
void MessageBeep();

// Replaces the beep; an empty function silences it.
void SetBeepHandler(std::function<void()> handler);
