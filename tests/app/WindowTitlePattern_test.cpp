#include "app/WindowTitlePattern.h"

#include <gtest/gtest.h>

namespace {

struct Case {
    const char* pattern;
    const char* title;
    bool matches;
};

void ExpectMatches(std::initializer_list<Case> cases)
{
    for (const Case& c : cases)
        EXPECT_EQ(WindowTitlePattern(c.pattern).Matches(c.title), c.matches)
            << "pattern \"" << c.pattern << "\", title \"" << c.title << "\"";
}

TEST(WindowTitlePattern, WithoutStarTheTitleBeginsWithThePattern)
{
    ExpectMatches({{"Tessna", "Tessna", true},
                   {"Tessna", "Tessnaxyz", true},
                   {"Tessna", "Tessn", false},
                   {"Tessna", "A Tessna", false}});
}

TEST(WindowTitlePattern, StarAfterTheFirstCharacterKeepsOnlyThePrefix)
{
    ExpectMatches({{"Tessna *", "Tessna ", true},
                   {"Tessna *", "Tessna - (\x8d\x58\x90\x56)", true},
                   {"Tessna *", "tessna editor", true},
                   {"Tessna *", "TESSNA x", true},
                   {"Tessna *", "Tessna", false},
                   {"Tessna *", "Tessna-", false},
                   // The rest of the pattern after the first star is ignored.
                   {"ab*cd*ef", "abzz", true}});
}

TEST(WindowTitlePattern, LeadingStarMatchesTheEnd)
{
    ExpectMatches({{"*Editor", "Text EDITOR", true},
                   {"*Editor", "Editor", true},
                   {"*Editor", "ditor", false},
                   {"*Editor", "Editor 2", false}});
}

TEST(WindowTitlePattern, StarAloneOrTwoStarsFromTheStartMatchAnyTitle)
{
    for (const char* pattern : {"*", "*a*", "**"})
        ExpectMatches({{pattern, "anything", true}, {pattern, "x", true}});
}

TEST(WindowTitlePattern, EmptyTitlesNeverMatch)
{
    ExpectMatches({{"*", "", false}, {"", "", false}, {"", "a", true}});
}

TEST(WindowTitlePattern, OnlyAsciiLettersFoldCase)
{
    // Full-width Ａ (0x82 0x60) and ａ (0x82 0x81) are different characters.
    ExpectMatches({{"\x82\x60*", "\x82\x81", false}, {"\x82\x60*", "\x82\x60 x", true}, {"[*", "{", false}});
}

}  // namespace
