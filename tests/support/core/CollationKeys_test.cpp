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
    keys.Erase({3});
    keys.Permute({1, 2, 0});  // a, b, c
    EXPECT_LT(keys.Compare(0, 1), 0);
    EXPECT_LT(keys.Compare(1, 2), 0);
    EXPECT_EQ(keys.Compare(2, 2), 0);
}

// Every key compares with every other as the keys of their texts made anew do.
void ExpectOrderOf(const CollationKeys& keys, const QStringList& texts)
{
    CollationKeys anew;
    for (const QString& text : texts)
        anew.Append(text);
    for (int a = 0; a < texts.size(); ++a) {
        for (int b = 0; b < texts.size(); ++b) {
            EXPECT_EQ(Sign(keys.Compare(std::size_t(a), std::size_t(b))), Sign(anew.Compare(std::size_t(a), std::size_t(b))))
                << texts[a].toStdString() << " / " << texts[b].toStdString();
        }
    }
}

// Keys kept through erasing, and keys taken out and appended elsewhere, order their texts as
// keys made anew do, also once the memory of erased keys is given back.
TEST(CollationKeys, KeysKeptOrTakenOutOrderAsKeysMadeAnew)
{
    const QString longText = QString(1500, QChar(u'あ'));
    const QStringList texts = {"/d/b.txt", "/d/A.TXT", "/d/a.txt", "/d/ファイル", longText + "b", "/d/c",
                               longText + "a", "/d/漢字", "/d/B.txt", "/d/a"};
    const struct {
        const char* name;
        std::vector<std::vector<int>> rounds;  // indexes erased in each round, of the keys left
    } cases[] = {
        {"one", {{3}}},
        {"the first and the last", {{0, 9}}},
        {"every other", {{0, 2, 4, 6, 8}}},
        {"most", {{0, 1, 2, 3, 5, 6, 7}}},
        {"round after round", {{1, 3, 5}, {0, 2}, {1}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CollationKeys keys;
        for (const QString& text : texts)
            keys.Append(text);
        QStringList kept = texts;
        CollationKeys taken;
        QStringList takenTexts;
        for (const std::vector<int>& erased : c.rounds) {
            const CollationKeys::Taken out = keys.Erase(erased);
            ASSERT_EQ(out.offsets.size(), erased.size());
            for (std::size_t i = 0; i < erased.size(); ++i) {
                taken.Append(out, i);
                takenTexts.append(kept[erased[i]]);
            }
            for (auto index = erased.rbegin(); index != erased.rend(); ++index)
                kept.removeAt(*index);
        }
        ExpectOrderOf(keys, kept);
        ExpectOrderOf(taken, takenTexts);
        // Keys appended after erasing take their places too.
        keys.Append("/d/b");
        kept.append("/d/b");
        ExpectOrderOf(keys, kept);
    }
}

TEST(CollationKeys, KeepKeysLongerThanTheirFirstRoom)
{
    CollationKeys keys;
    keys.Append(QString(3000, QChar(u'あ')) + "b");
    keys.Append(QString(3000, QChar(u'あ')) + "a");
    EXPECT_GT(keys.Compare(0, 1), 0);
}

}  // namespace
