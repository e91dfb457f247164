#include "chooser/FolderMarker.h"
#include "chooser/TypedNames.h"
#include "support/core/Cp932.h"
#include "tests/chooser/ChooserTestFolder.h"

#include <gtest/gtest.h>

using Names = std::vector<std::string>;

TEST(MarkSelection, OneNameWithoutSpaceShowsBare)
{
    const MarkedSelection folder = MarkSelection("/data", {{"docs", true}});
    EXPECT_EQ(folder.Text, "+docs");
    EXPECT_EQ(folder.Folders, Names{"/data/docs"});

    const MarkedSelection file = MarkSelection("/data", {{"a.txt", false}});
    EXPECT_EQ(file.Text, "a.txt");
    EXPECT_TRUE(file.Folders.empty());
}

TEST(MarkSelection, SpacesOrSeveralNamesAreQuoted)
{
    EXPECT_EQ(MarkSelection("/data", {{"my file.txt", false}}).Text, "\"my file.txt\"");

    const MarkedSelection mixed = MarkSelection("/", {{"a", true}, {"b c", true}, {"x.txt", false}});
    EXPECT_EQ(mixed.Text, "\"+a\" \"+b c\" \"x.txt\"");
    // At the root no second delimiter goes in.
    EXPECT_EQ(mixed.Folders, (Names{"/a", "/b c"}));
}

TEST(MarkSelection, NothingSelectedGivesNothing)
{
    const MarkedSelection none = MarkSelection("/data", {});
    EXPECT_EQ(none.Text, "");
    EXPECT_TRUE(none.Folders.empty());
}

TEST(MarkSelection, DoubleByteNamesKeepTheirBytes)
{
    const std::string so = Cp932Text("ソース");   // trail byte 0x5C in the first character
    const MarkedSelection selection = MarkSelection("/data", {{so, true}});
    EXPECT_EQ(selection.Text, "+" + so);
    EXPECT_EQ(selection.Folders, Names{"/data/" + so});
}

TEST(ReworkSelectedFiles, DropsMarkedFoldersAndMissingFilesKeepsFilesInOrder)
{
    ChooserTestFolder tree;
    tree.MakeDir("docs");
    const std::string b = tree.MakeFile("b.txt");
    const std::string plusFile = tree.MakeFile("+x.txt");   // no folder x.txt: a real file
    const std::string a = tree.MakeFile("a.txt");

    const Names chosen = {tree.Path("+docs"), b, tree.Path("typed-but-missing.txt"), plusFile,
                          tree.Path("docs"), a};
    EXPECT_EQ(ReworkSelectedFiles(chosen), (Names{b, plusFile, a}));
}

TEST(ReworkSelectedFiles, MarkerOfAMissingFolderIsDroppedAsAMissingFile)
{
    ChooserTestFolder tree;
    EXPECT_TRUE(ReworkSelectedFiles({tree.Path("+gone")}).empty());
}

TEST(SplitTypedNames, QuotesSeparateNamesAndAWholeTextIsOneName)
{
    EXPECT_EQ(SplitTypedNames(QStringLiteral("  my file.txt ")), QStringList{"my file.txt"});
    EXPECT_EQ(SplitTypedNames(QStringLiteral("\"+a\" \"+b c\" \"x.txt\"")),
              (QStringList{"+a", "+b c", "x.txt"}));
    EXPECT_EQ(SplitTypedNames(QStringLiteral("\"a\" loose \"b")), (QStringList{"a", "loose", "b"}));
    EXPECT_TRUE(SplitTypedNames(QStringLiteral("   ")).isEmpty());
    EXPECT_TRUE(SplitTypedNames(QStringLiteral("\"\" ")).isEmpty());
}

TEST(SplitTypedNames, PatternsAreTheLastPartWithWildcards)
{
    EXPECT_TRUE(IsNamePattern(QStringLiteral("*.txt")));
    EXPECT_TRUE(IsNamePattern(QStringLiteral("/data/a?.c")));
    EXPECT_FALSE(IsNamePattern(QStringLiteral("/da*ta/a.c")));
}
