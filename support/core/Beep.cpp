#include "support/core/Beep.h"

#include <utility>

namespace {

std::function<void()>& BeepHandler()
{
    static std::function<void()> handler;
    return handler;
}

}  // namespace

void MessageBeep()
{
    if (BeepHandler())
        BeepHandler()();
}

void SetBeepHandler(std::function<void()> handler)
{
    BeepHandler() = std::move(handler);
}
