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
    const std::string docs = tree.MakeDir("docs");
    const std::string b = tree.MakeFile("b.txt");
    const std::string plusFile = tree.MakeFile("+x.txt");   // no folder x.txt: a real file
    const std::string a = tree.MakeFile("a.txt");

    const Names chosen = {tree.Path("+docs"), b, tree.Path("typed-but-missing.txt"), plusFile,
                          tree.Path("docs"), a};
    std::vector<std::string> missing;
    EXPECT_EQ(ReworkSelectedFiles(chosen, {docs}, &missing), (Names{b, plusFile, a}));
    EXPECT_EQ(missing, (Names{tree.Path("typed-but-missing.txt"), tree.Path("docs")}));
}

TEST(ReworkSelectedFiles, MarkerOfAMissingFolderIsDroppedAsAMissingFile)
{
    ChooserTestFolder tree;
    EXPECT_TRUE(ReworkSelectedFiles({tree.Path("+gone")}, {}).empty());
}

// A real file whose name starts with the marker is that file, whether or not a folder of the
// rest of its name stands beside it; only a selected folder's own marked name is dropped.
TEST(ReworkSelectedFiles, AFileNamedLikeAMarkedFolderIsThatFile)
{
    struct Row {
        const char* situation;
        bool folderBeside;
        bool folderSelected;
        int markedNames;   // "+x" in the result paths: the folder's marker, the file, or both
        int filesKept;
    };
    const std::vector<Row> rows = {
        {"the file alone", false, false, 1, 1},
        {"the file chosen beside a folder x", true, false, 1, 1},
        {"folder x chosen, file +x not", true, true, 1, 0},
        {"both chosen", true, true, 2, 1},
    };
    for (const Row& row : rows) {
        ChooserTestFolder tree;
        const std::string file = tree.MakeFile("+x");
        const std::string folder = row.folderBeside ? tree.MakeDir("x") : tree.Path("x");
        const Names chosen(static_cast<std::size_t>(row.markedNames), file);
        std::vector<std::string> missing;
        const Names kept = ReworkSelectedFiles(chosen, row.folderSelected ? Names{folder} : Names{}, &missing);
        EXPECT_EQ(kept, Names(static_cast<std::size_t>(row.filesKept), file)) << row.situation;
        EXPECT_TRUE(missing.empty()) << row.situation;
    }
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
