#include "catalog/CatalogName.h"
#include "catalog/CatalogStore.h"
#include "support/core/Cp932.h"
#include "tests/common/CatalogFolder.h"
#include "tests/common/TempFolder.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

class CatalogNameTest : public testing::Test {
protected:
    // The refusing message as screen text, "" when the name is taken.
    QString Problem(const std::string& name, const Lines& others = {"Backup", Cp932Text("Ｐｈｏｔｏ")},
                    NameUse use = NameUse::nuNewCatalog) const
    {
        return Cp932ToDisplay(CatalogNameProblem(name, folder.Path(), others, use));
    }

    TempFolder folder;
};

TEST_F(CatalogNameTest, TakesOrdinaryNames)
{
    for (const std::string& name : Lines{"Archive", "Back up", Cp932Text("写真 2024"), "\x83\x5C", "a=b"})
        EXPECT_EQ(Problem(name), QString()) << name;
}

TEST_F(CatalogNameTest, RefusesBlankOnlyNames)
{
    for (const std::string& name : Lines{"", "   ", "\t", Cp932Text("　　"), Cp932Text(" 　 ")})
        EXPECT_TRUE(Problem(name).startsWith("空白だけのカタログ名は使えません。")) << name;
}

TEST_F(CatalogNameTest, RefusesForbiddenCharactersWithTheFileNameBoxText)
{
    EXPECT_TRUE(Problem("a;b").startsWith("ファイル：a;b\nファイル名には次の文字は使えません。"));
}

TEST_F(CatalogNameTest, RefusesNamesThatWouldNotReadBack)
{
    for (const std::string& name : Lines{" lead", "\ttab", "x\ny", "x\ry", std::string("x\0y", 3)})
        EXPECT_TRUE(Problem(name).contains("元のとおりに読み戻せない")) << name;
    EXPECT_TRUE(Problem("x\ny").startsWith("カタログ名「x<LF>y」は"));
    // A new catalog's title loses blanks at its end and quotes around it; a renamed catalog
    // keeps its title, and its file name keeps them.
    for (const std::string& name : Lines{"trail ", "'q'"}) {
        EXPECT_TRUE(Problem(name).contains("元のとおりに読み戻せない")) << name;
        EXPECT_EQ(Problem(name, {}, NameUse::nuRename), QString()) << name;
    }
}

TEST_F(CatalogNameTest, RefusesAFileNameLongerThanTheFolderTakesInHostBytes)
{
    EXPECT_EQ(Problem(std::string(249, 'a')), QString());
    EXPECT_TRUE(Problem(std::string(250, 'a')).startsWith("カタログ名が長すぎます。"));
    // 83 kana are 166 bytes here but 249 bytes in UTF-8; with ".VrCat" that is 255.
    std::string kana;
    for (int i = 0; i < 84; ++i)
        kana += Cp932Text("あ");
    EXPECT_TRUE(Problem(kana).contains("は 258 バイトですが、このフォルダのファイル名は 255 バイトまでです。"));
    kana.resize(kana.size() - 2);
    EXPECT_EQ(Problem(kana), QString());
}

TEST_F(CatalogNameTest, RefusesAListedNameInAnyLetterCaseWithOneMessage)
{
    for (const std::string& name : Lines{"Backup", "BACKUP", "backup", Cp932Text("ｐＨＯＴＯ")})
        EXPECT_EQ(Problem(name), "カタログ「" + Cp932ToDisplay(name)
                                     + "」は既にカタログリストにあります（大文字と小文字は区別しません）。\n"
                                       "別のカタログ名を指定してください。");
}

TEST_F(CatalogNameTest, RefusesTheNameOfAnUnlistedFileAndNamesIt)
{
    folder.Write("既存.VrCat", "mine");
    EXPECT_EQ(Problem(Cp932Text("既存")),
              QString::fromStdString("ファイル「" + folder.Path("既存.VrCat")
                                     + "」は既にあり、カタログリストにはありません。\n"
                                       "このファイルを上書きしないよう、別のカタログ名を指定してください。"));
    EXPECT_EQ(folder.Read("既存.VrCat"), "mine");
}

TEST_F(CatalogNameTest, TheStoresCheckLeavesOutTheRenamedCatalogAndUsesItsFolder)
{
    CatalogFolder program;
    program.AddCatalog("a", {});
    program.AddCatalog("b", {});
    CatalogStore store(program.Path());
    store.LoadCatalogList();
    EXPECT_TRUE(Cp932ToDisplay(CatalogNameCheckOf(store)("A")).contains("既にカタログリスト"));
    EXPECT_TRUE(Cp932ToDisplay(CatalogNameCheckOf(store, 1)("A")).contains("既にカタログリスト"));
    EXPECT_EQ(CatalogNameCheckOf(store, 0)("c "), "");
    EXPECT_TRUE(Cp932ToDisplay(CatalogNameCheckOf(store)("c ")).contains("読み戻せない"));
}

}  // namespace
