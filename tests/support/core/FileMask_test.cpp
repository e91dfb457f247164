#include "support/core/FileMask.h"

#include <gtest/gtest.h>

TEST(FileMask, StarsAndQuestionMarks)
{
    EXPECT_TRUE(MatchesFileMask("*.txt", "readme.txt"));
    EXPECT_TRUE(MatchesFileMask("*.txt", "README.TXT"));
    EXPECT_FALSE(MatchesFileMask("*.txt", "readme.txt.bak"));
    EXPECT_TRUE(MatchesFileMask("a*b*c", "aXbYbZc"));
    EXPECT_FALSE(MatchesFileMask("a*b*c", "aXbYbZ"));
    EXPECT_TRUE(MatchesFileMask("a?c", "abc"));
    EXPECT_FALSE(MatchesFileMask("a?c", "ac"));
    EXPECT_TRUE(MatchesFileMask("*", ""));
    EXPECT_TRUE(MatchesFileMask("*.*", "Makefile"));
    EXPECT_FALSE(MatchesFileMask("x", "y"));
}

TEST(FileMask, DoubleByteCharactersAreOneCharacter)
{
    EXPECT_TRUE(MatchesFileMask("?.txt", "\x83\x5C.txt"));
    EXPECT_FALSE(MatchesFileMask("??.txt", "\x83\x5C.txt"));
    EXPECT_FALSE(MatchesFileMask("\x82\x61", "\x82\x41"));  // full-width letters keep case
    EXPECT_TRUE(HasWildcards("*.txt"));
    EXPECT_FALSE(HasWildcards("\x83\x5C"));
}
