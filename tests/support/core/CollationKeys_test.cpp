#include "support/core/CollationKeys.h"

#include <QCollator>
#include <QLocale>
#include <QStringList>

#include <gtest/gtest.h>

namespace {

int Sign(int value)
{
    return (value > 0) - (value < 0);
}

// The keys order texts exactly as the default locale's case-sensitive QCollator does.
TEST(CollationKeys, OrderLikeTheLocaleCollator)
{
    const QStringList texts = {
        "/data/a.txt", "/data/B.txt", "/data/b.txt", "/data/b c/x", "/data/b/x", "/Data/a.txt",
        "/data/file10", "/data/file9", "/data/ファイル", "/data/ふぁいる", "/data/ﾌｧｲﾙ", "/data/漢字",
        "/data/-dash", "/data/_under", "", "/data/a", "/data/A",
    };
    QCollator collator{QLocale()};
    collator.setCaseSensitivity(Qt::CaseSensitive);
    CollationKeys keys;
    for (const QString& text : texts)
        keys.Append(text);
    for (int a = 0; a < texts.size(); ++a) {
        for (int b = 0; b < texts.size(); ++b) {
            EXPECT_EQ(Sign(keys.Compare(std::size_t(a), std::size_t(b))),
                      Sign(collator.compare(texts[a], texts[b])))
                << texts[a].toStdString() << " / " << texts[b].toStdString();
        }
    }
}

TEST(CollationKeys, FollowTheirTextsWhenErasedAndPermuted)
{
    CollationKeys keys;
    for (const char* text : {"c", "a", "b", "d"})
        keys.Append(QString::fromLatin1(text));
    keys.Erase(3);
    keys.Permute({1, 2, 0});  // a, b, c
    EXPECT_LT(keys.Compare(0, 1), 0);
    EXPECT_LT(keys.Compare(1, 2), 0);
    EXPECT_EQ(keys.Compare(2, 2), 0);
}

TEST(CollationKeys, KeepKeysLongerThanTheirFirstRoom)
{
    CollationKeys keys;
    keys.Append(QString(3000, QChar(u'あ')) + "b");
    keys.Append(QString(3000, QChar(u'あ')) + "a");
    EXPECT_GT(keys.Compare(0, 1), 0);
}

}  // namespace
