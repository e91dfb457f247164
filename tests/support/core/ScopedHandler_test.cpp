#include "support/core/Beep.h"

#include <gtest/gtest.h>

#include <string>

// A scoped handler puts back the handler it replaced, also when scopes nest.
TEST(ScopedHandler, RestoresTheHandlerItReplaced)
{
    std::string heard;
    const ScopedBeepHandler outer([&heard] { heard += 'o'; });
    {
        const ScopedBeepHandler inner([&heard] { heard += 'i'; });
        MessageBeep();
    }
    MessageBeep();
    EXPECT_EQ(heard, "io");
}
