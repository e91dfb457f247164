#include "support/core/Collation.h"
#include "support/core/Cp932.h"
#include "support/core/Mbcs.h"

#include <QLocale>

#include <string>
#include <vector>

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

TEST(Collation, KeysOrderAsTheComparisonDoes)
{
    const std::vector<std::string> texts = {
        "a", "A", "b", "B", "a b", "a-b", "ab", "a1", "a10", "a2", "/tmp/x", "/tmp/X", "",
        Cp932Text("あ"), Cp932Text("ア"), Cp932Text("ｱ"), Cp932Text("亜"), Cp932Text("ｂ"),
        Cp932Text("Ｂ"), Cp932Text("ソ\\"), Cp932Text("写真/家族.png"), "\x83",
    };
    auto sign = [](int value) { return (value > 0) - (value < 0); };
    for (const QLocale& locale : { QLocale(QLocale::Japanese, QLocale::Japan), QLocale::c() }) {
        QLocale::setDefault(locale);
        for (const auto& a : texts) {
            for (const auto& b : texts) {
                EXPECT_EQ(sign(LocaleSortKey(a).compare(LocaleSortKey(b))), LocaleCompare(a, b))
                    << a << " / " << b << " in " << locale.name().toStdString();
                EXPECT_EQ(sign(LocaleSortKeyNoCase(a).compare(LocaleSortKeyNoCase(b))),
                          LocaleCompareNoCase(a, b))
                    << a << " / " << b << " in " << locale.name().toStdString();
            }
        }
    }
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
}
