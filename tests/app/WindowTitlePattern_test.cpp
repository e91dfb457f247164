#include "app/WindowTitlePattern.h"

#include <gtest/gtest.h>

namespace {

struct Case {
    const char* pattern;
    const char* title;
    bool matches;
};

TEST(WindowTitlePattern, MatchesAsTheTableSays)
{
    const Case cases[] = {
        // Without a star the title begins with the pattern.
        {"Tessna", "Tessna", true},
        {"Tessna", "Tessnaxyz", true},
        {"Tessna", "Tessn", false},
        {"Tessna", "A Tessna", false},
        // A star after the first character keeps only the prefix, ASCII letters in any case.
        {"Tessna *", "Tessna ", true},
        {"Tessna *", "Tessna - (\x8d\x58\x90\x56)", true},
        {"Tessna *", "tessna editor", true},
        {"Tessna *", "TESSNA x", true},
        {"Tessna *", "Tessna", false},
        {"Tessna *", "Tessna-", false},
        // The rest of the pattern after the first star is ignored.
        {"ab*cd*ef", "abzz", true},
        // A leading star matches the end.
        {"*Editor", "Text EDITOR", true},
        {"*Editor", "Editor", true},
        {"*Editor", "ditor", false},
        {"*Editor", "Editor 2", false},
        // A star alone, or two stars from the start, match any title but an empty one.
        {"*", "anything", true},
        {"*", "x", true},
        {"*a*", "anything", true},
        {"*a*", "x", true},
        {"**", "anything", true},
        {"**", "x", true},
        {"*", "", false},
        {"", "", false},
        {"", "a", true},
        // Only ASCII letters fold case: full-width Ａ (0x82 0x60) and ａ (0x82 0x81) differ.
        {"\x82\x60*", "\x82\x81", false},
        {"\x82\x60*", "\x82\x60 x", true},
        {"[*", "{", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WindowTitlePattern(c.pattern).Matches(c.title), c.matches)
            << "pattern \"" << c.pattern << "\", title \"" << c.title << "\"";
}

}  // namespace
