#include "app/WindowTitlePattern.h"

#include <gtest/gtest.h>

namespace {

TEST(WindowTitlePattern, WithoutStarTheTitleBeginsWithThePattern)
{
    const WindowTitlePattern pattern("Tessna");
    EXPECT_TRUE(pattern.Matches("Tessna"));
    EXPECT_TRUE(pattern.Matches("Tessnaxyz"));
    EXPECT_FALSE(pattern.Matches("Tessn"));
    EXPECT_FALSE(pattern.Matches("A Tessna"));
}

TEST(WindowTitlePattern, StarAfterTheFirstCharacterKeepsOnlyThePrefix)
{
    const WindowTitlePattern pattern("Tessna *");
    EXPECT_TRUE(pattern.Matches("Tessna "));
    EXPECT_TRUE(pattern.Matches("Tessna - (\x8d\x58\x90\x56)"));
    EXPECT_TRUE(pattern.Matches("tessna editor"));
    EXPECT_TRUE(pattern.Matches("TESSNA x"));
    EXPECT_FALSE(pattern.Matches("Tessna"));
    EXPECT_FALSE(pattern.Matches("Tessna-"));
    // The rest of the pattern after the first star is ignored.
    EXPECT_TRUE(WindowTitlePattern("ab*cd*ef").Matches("abzz"));
}

TEST(WindowTitlePattern, LeadingStarMatchesTheEnd)
{
    const WindowTitlePattern pattern("*Editor");
    EXPECT_TRUE(pattern.Matches("Text EDITOR"));
    EXPECT_TRUE(pattern.Matches("Editor"));
    EXPECT_FALSE(pattern.Matches("ditor"));
    EXPECT_FALSE(pattern.Matches("Editor 2"));
}

TEST(WindowTitlePattern, StarAloneOrTwoStarsFromTheStartMatchAnyTitle)
{
    for (const char* text : {"*", "*a*", "**"}) {
        const WindowTitlePattern pattern(text);
        EXPECT_TRUE(pattern.Matches("anything")) << text;
        EXPECT_TRUE(pattern.Matches("x")) << text;
    }
}

TEST(WindowTitlePattern, EmptyTitlesNeverMatch)
{
    EXPECT_FALSE(WindowTitlePattern("*").Matches(""));
    EXPECT_FALSE(WindowTitlePattern("").Matches(""));
    EXPECT_TRUE(WindowTitlePattern("").Matches("a"));
}

TEST(WindowTitlePattern, OnlyAsciiLettersFoldCase)
{
    // Full-width Ａ (0x82 0x60) and ａ (0x82 0x81) are different characters.
    EXPECT_FALSE(WindowTitlePattern("\x82\x60*").Matches("\x82\x81"));
    EXPECT_TRUE(WindowTitlePattern("\x82\x60*").Matches("\x82\x60 x"));
    EXPECT_FALSE(WindowTitlePattern("[*").Matches("{"));
}

}  // namespace
