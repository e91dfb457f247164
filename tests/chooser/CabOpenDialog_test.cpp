#include "chooser/CabOpenDialog.h"
#include "support/core/WinReg.h"
#include "tests/chooser/ChooserTestFolder.h"
#include "tests/common/ClearRegistry.h"


#include <gtest/gtest.h>

namespace {

using Folders = std::vector<std::string>;

constexpr char HistoryKey[] = "Software\\Kavo\\DeVad\\history\\ArchiveFile\\Path";

class HistoryTest : public testing::Test {
protected:
    void SetUp() override { ClearRegistry(); }

    static void Store(const Folders& entries, int count)
    {
        TRegistry registry;
        registry.OpenKey(HistoryKey, true);
        registry.WriteInteger("Count", count);
        for (std::size_t i = 0; i < entries.size(); ++i)
            registry.WriteString(std::to_string(i), entries[i]);
    }

    TCabOpenDialog chooser{nullptr};
};

}  // namespace

TEST_F(HistoryTest, AddingReplacesTheSameFolderInAnyCaseAndDropsTheDelimiter)
{
    Folders list = {"/data/a", "/data/b"};
    chooser.AddToHistory(list, "/data/A/", true);
    EXPECT_EQ(list, (Folders{"/data/A", "/data/b"}));
    chooser.AddToHistory(list, "/data/c", false);
    EXPECT_EQ(list, (Folders{"/data/A", "/data/b", "/data/c"}));
    chooser.AddToHistory(list, "", true);
    EXPECT_EQ(list.size(), 3u);
    // The root keeps its delimiter: it is the whole path.
    chooser.AddToHistory(list, "/", true);
    EXPECT_EQ(list.front(), "/");
}

TEST_F(HistoryTest, AFullHistoryLosesItsOldestEntry)
{
    Folders list;
    for (int i = 9; i >= 0; --i)
        list.push_back("/f" + std::to_string(i));
    chooser.AddToHistory(list, "/new", true);
    ASSERT_EQ(list.size(), 10u);
    EXPECT_EQ(list.front(), "/new");
    EXPECT_EQ(list.back(), "/f1");
}

TEST_F(HistoryTest, AssigningKeepsTheFirstMaxCountEntriesAndPassesThemOn)
{
    TCabOpenDialog other(nullptr);
    chooser.SetAssociated(&other);
    chooser.SetAssociated(&chooser);   // ignored
    EXPECT_EQ(chooser.Associated(), &other);
    chooser.MaxCount = 3;
    chooser.SetFavorites({"/a", "/b", "/c", "/d"});
    EXPECT_EQ(chooser.Favorites(), (Folders{"/a", "/b", "/c"}));
    EXPECT_EQ(other.Favorites(), (Folders{"/a", "/b", "/c"}));
}

TEST_F(HistoryTest, LoadingKeepsExistingFoldersInOrderWithoutTrimming)
{
    ChooserTestFolder tree;
    const std::string a = tree.MakeDir("a");
    const std::string c = tree.MakeDir("c");
    chooser.Key = HistoryKey;
    chooser.MaxCount = 1;
    Store({a, tree.Path("deleted"), c, a + "/"}, 4);
    chooser.LoadHistory();
    EXPECT_EQ(chooser.Favorites(), (Folders{a, c, a + "/"}));
}

TEST_F(HistoryTest, LoadingStopsAtTheFirstMissingEntry)
{
    ChooserTestFolder tree;
    const std::string a = tree.MakeDir("a");
    chooser.Key = HistoryKey;
    Store({a}, 2'000'000'000);
    chooser.LoadHistory();
    EXPECT_EQ(chooser.Favorites(), Folders{a});
}

TEST_F(HistoryTest, SavingWritesCountAndEntriesAndLeavesLongerOnesBehind)
{
    ChooserTestFolder tree;
    const Folders folders = {tree.MakeDir("x"), tree.MakeDir("y")};
    Store({"old0", "old1", "old2"}, 3);
    chooser.Key = HistoryKey;
    chooser.SetFavorites(folders);
    chooser.SaveHistory();

    TRegistry registry;
    ASSERT_TRUE(registry.OpenKey(HistoryKey, false));
    EXPECT_EQ(registry.ReadInteger("Count"), 2);
    EXPECT_EQ(registry.ReadString("1"), folders[1]);
    EXPECT_EQ(registry.ReadString("2"), "old2");

    TCabOpenDialog next(nullptr);
    next.Key = HistoryKey;
    next.LoadHistory();
    EXPECT_EQ(next.Favorites(), folders);
}

TEST_F(HistoryTest, WithoutKeyOrOutsideTheUserRootNothingIsStored)
{
    chooser.SetFavorites({"/"});
    chooser.SaveHistory();
    chooser.Key = HistoryKey;
    chooser.RootKey = TRootKey::hkLocalMachine;
    chooser.SaveHistory();
    TRegistry registry;
    EXPECT_FALSE(registry.KeyExists(HistoryKey));
}

TEST_F(HistoryTest, AWrongTypeOfCountIsAnError)
{
    TRegistry registry;
    registry.OpenKey(HistoryKey, true);
    registry.WriteString("Count", "3");
    chooser.Key = HistoryKey;
    EXPECT_THROW(chooser.LoadHistory(), ERegistryException);
}
