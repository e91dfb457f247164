#include "support/ui/UIFonts.h"

#include <gtest/gtest.h>

TEST(UsesUIGothicFont, NeedsTheFontInstalledAndChosenAsTheSystemFont)
{
    const QStringList installed{"Noto Sans CJK JP", "ms ui gothic"};
    EXPECT_TRUE(UsesUIGothicFont(installed, "MS UI Gothic"));
    EXPECT_FALSE(UsesUIGothicFont(installed, "ms ui gothic"));
    EXPECT_FALSE(UsesUIGothicFont(installed, "Noto Sans CJK JP"));
    EXPECT_FALSE(UsesUIGothicFont({"Noto Sans CJK JP"}, "MS UI Gothic"));
}
