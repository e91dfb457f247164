#include "support/core/Collation.h"
#include "support/core/Cp932.h"
#include "support/core/Mbcs.h"

#include <QLocale>

#include <gtest/gtest.h>

TEST(Collation, CaseCountsOnlyWhereAsked)
{
    EXPECT_NE(LocaleCompare("readme", "README"), 0);
    EXPECT_EQ(LocaleCompareNoCase("readme", "README"), 0);
    EXPECT_EQ(LocaleCompareNoCase(Cp932Text("ａ"), Cp932Text("Ａ")), 0);
    EXPECT_EQ(LocaleCompare("a", "b"), -1);
    EXPECT_EQ(LocaleCompare("b", "a"), 1);
    EXPECT_EQ(LocaleSortKeyNoCase("x").compare(LocaleSortKeyNoCase("X")), 0);
    EXPECT_NE(LocaleSortKey("x").compare(LocaleSortKey("X")), 0);
    EXPECT_LT(LocaleSortKey("a").compare(LocaleSortKey("b")), 0);
}

TEST(Collation, FollowsTheDefaultLocaleWhenItChanges)
{
    const QLocale saved;
    const std::string zhe = Cp932Text("ж");  // Cyrillic comes first only in Russian
    EXPECT_EQ(LocaleCompare(zhe, "z"), 1);
    EXPECT_EQ(MBCompareText(zhe, "Z"), 1);
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    EXPECT_EQ(LocaleCompare(zhe, "z"), -1);
    EXPECT_EQ(LocaleCompareNoCase(zhe, "z"), -1);
    EXPECT_EQ(MBCompareText(zhe, "Z"), -1);
    EXPECT_LT(LocaleSortKey(zhe).compare(LocaleSortKey("z")), 0);
    QLocale::setDefault(saved);
    EXPECT_EQ(LocaleCompare(zhe, "z"), 1);
}
