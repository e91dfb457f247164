#include "app/PlatformCheck.h"

#include <gtest/gtest.h>

namespace {

TEST(PlatformCheck, AcceptsTheWindows95FamilyAndNtFromVersion4)
{
    EXPECT_TRUE(IsSupportedPlatform({kPlatformWin32Windows, 0, true}));
    EXPECT_TRUE(IsSupportedPlatform({kPlatformWin32Windows, 9, true}));
    EXPECT_TRUE(IsSupportedPlatform({kPlatformWin32NT, 4, true}));
    EXPECT_TRUE(IsSupportedPlatform({kPlatformWin32NT, 5, true}));
    EXPECT_FALSE(IsSupportedPlatform({kPlatformWin32NT, 3, true}));
    EXPECT_FALSE(IsSupportedPlatform({0, 3, true}));
}

TEST(PlatformCheck, NeedsTheCodePageConverterEverywhere)
{
    EXPECT_TRUE(IsSupportedPlatform({kPlatformPosix, 0, true}));
    EXPECT_FALSE(IsSupportedPlatform({kPlatformPosix, 0, false}));
    EXPECT_FALSE(IsSupportedPlatform({kPlatformWin32NT, 5, false}));
}

TEST(PlatformCheck, ThisSystemHasTheConverter)
{
    EXPECT_TRUE(CurrentPlatformFacts().HasCp932Converter);
    EXPECT_TRUE(IsSupportedPlatform(CurrentPlatformFacts()));
}

}  // namespace
