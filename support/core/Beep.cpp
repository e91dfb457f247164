#include "support/core/Beep.h"

#include <utility>

namespace {

BeepHandler& CurrentHandler()
{
    static BeepHandler handler;
    return handler;
}

}  // namespace

void MessageBeep()
{
    if (CurrentHandler())
        CurrentHandler()();
}

BeepHandler SetBeepHandler(BeepHandler handler)
{
    return std::exchange(CurrentHandler(), std::move(handler));
}
