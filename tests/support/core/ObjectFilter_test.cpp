#include "support/core/Cp932.h"
#include "support/core/ObjectFilter.h"

#include <gtest/gtest.h>

namespace {

struct MatchCase {
    const char* path;    // as the catalog holds it (written here in UTF-8)
    const char* typed;
    bool shown;
};

bool Shown(const MatchCase& c)
{
    return FilterWords(QString::fromUtf8(c.typed)).Matches(ObjectFilterKey(Cp932Text(c.path)));
}

}  // namespace

TEST(ObjectFilter, LetterCaseAndCharacterWidthDoNotCount)
{
    const MatchCase cases[] = {
        {"/data/Report.TXT", "report", true},
        {"/data/report.txt", "REPORT.txt", true},
        {"/data/abc.txt", "ＡＢＣ", true},
        {"/data/ＡＢＣ.txt", "abc", true},
        {"/data/カナ.txt", "ｶﾅ", true},
        {"/data/ｶﾞｲﾄﾞ.txt", "ガイド", true},
        {"/data/123.txt", "１２３", true},
        {"/data/カナ.txt", "かな", false},
        {"/data/report.txt", "repport", false},
        {"/data/repreport.txt", "report", true},
    };
    for (const MatchCase& c : cases)
        EXPECT_EQ(Shown(c), c.shown) << c.path << " / " << c.typed;
}

TEST(ObjectFilter, EveryWordIsFoundInTheNameOrTheFolder)
{
    const MatchCase cases[] = {
        {"/photos/2024/beach.jpg", "beach", true},
        {"/photos/2024/beach.jpg", "photos/2024", true},
        {"/photos/2024/beach.jpg", "beach 2024", true},
        {"/photos/2024/beach.jpg", "  2024   beach ", true},
        {"/photos/2024/beach.jpg", "beach　2024", true},   // a full-width blank separates too
        {"/photos/2024/beach.jpg", "beach 2023", false},
        {"/photos/2024/beach.jpg", "2024/beach", false},   // never across the folder and the name
        {"/photos/2024/beach.jpg", "", true},
        {"/photos/2024/beach.jpg", "   ", true},
        {"/", "/", true},
    };
    for (const MatchCase& c : cases)
        EXPECT_EQ(Shown(c), c.shown) << c.path << " / " << c.typed;
}

TEST(ObjectFilter, NarrowsOnlyWhenEveryEarlierWordIsInALaterOne)
{
    struct NarrowCase {
        const char* earlier;
        const char* later;
        bool narrows;
    };
    const NarrowCase cases[] = {
        {"a", "ab", true},
        {"b", "ab", true},
        {"a b", "ab", true},
        {"a", "a b", true},
        {"", "a", true},
        {"ab", "a", false},
        {"a b", "a", false},
        {"a", "", false},
        {"ｶ", "ｶﾞ", false},   // カ and ガ: the voiced mark makes another character
    };
    for (const NarrowCase& c : cases) {
        EXPECT_EQ(FilterWords(QString::fromUtf8(c.later)).Narrows(FilterWords(QString::fromUtf8(c.earlier))), c.narrows)
            << c.earlier << " -> " << c.later;
    }
}
