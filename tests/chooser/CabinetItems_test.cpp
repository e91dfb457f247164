#include "chooser/CabOpenDialog.h"
#include "chooser/CabinetItems.h"
#include "chooser/KnownFolders.h"
#include "support/core/Cp932.h"
#include "support/core/FileNames.h"
#include "support/core/RegistryLayout.h"
#include "support/core/WinReg.h"
#include "tests/common/ClearRegistry.h"


#include <gtest/gtest.h>

namespace {

class CabinetItemsTest : public testing::Test {
protected:
    void SetUp() override { ClearRegistry(); }

    static TRegistry& Cabinet(TRegistry& registry)
    {
        registry.OpenKey(std::string(SettingsKey) + "\\" + RegCabinetSubKey, true);
        return registry;
    }

    static std::vector<std::string> Captions(const TCabinetItems& items)
    {
        std::vector<std::string> captions;
        for (const TCabinetItem& item : items)
            captions.push_back(item.Caption);
        return captions;
    }
};

TCabinetItem Place(TRootFolder root, const std::string& path)
{
    TCabinetItem item;
    item.SetRootFolder(root);
    item.FolderPath = path;
    return item;
}

}  // namespace

TEST_F(CabinetItemsTest, NoStoredPlacesGiveTheDefaultsAndReplaceTheOldContent)
{
    TCabinetItems items;
    items.Add().Caption = "old";
    std::vector<std::string> expected = {Cp932Text("デスクトップ"), Cp932Text("マイコンピュータ")};
    if (HasNetworkFolder())
        expected.push_back(Cp932Text("ネットワーク"));
    expected.push_back(Cp932Text("マイドキュメント"));

    EXPECT_EQ(LoadCabinetItems(items), static_cast<int>(expected.size()));
    EXPECT_EQ(Captions(items), expected);
    EXPECT_EQ(items.Items(0).RootFolder, static_cast<std::uint8_t>(TRootFolder::rfDesktop));
    EXPECT_EQ(items.Items(items.Count() - 1).RootFolder,
              static_cast<std::uint8_t>(TRootFolder::rfMyDocument));

    TRegistry registry;
    Cabinet(registry).WriteInteger(RegCabinetCount, 0);
    EXPECT_EQ(LoadCabinetItems(items), static_cast<int>(expected.size()));
}

TEST_F(CabinetItemsTest, StoredPlacesAreReadForEveryNumberEvenWithoutValues)
{
    TRegistry registry;
    Cabinet(registry).WriteInteger(RegCabinetCount, 2);
    registry.WriteString("Caption0", "Work");
    registry.WriteInteger("RootFolder0", 256 + 1);   // only the low byte counts
    registry.WriteString("FolderPath0", "sub");

    TCabinetItems items;
    ASSERT_EQ(LoadCabinetItems(items), 2);
    EXPECT_EQ(items.Items(0).Caption, "Work");
    EXPECT_EQ(items.Items(0).RootFolder, static_cast<std::uint8_t>(TRootFolder::rfInitialDir));
    EXPECT_EQ(items.Items(0).FolderPath, "sub");
    EXPECT_EQ(items.Items(1).Caption, "");
    EXPECT_EQ(items.Items(1).RootFolder, static_cast<std::uint8_t>(TRootFolder::rfCurrent));
    EXPECT_EQ(items.Items(1).FolderPath, "");
    EXPECT_EQ(items.Items(1).DisplayName(), "TCabinetItem");
}

TEST_F(CabinetItemsTest, NegativeCountGivesNoPlacesAtAll)
{
    TRegistry registry;
    Cabinet(registry).WriteInteger(RegCabinetCount, -1);
    TCabinetItems items;
    EXPECT_EQ(LoadCabinetItems(items), 0);
}

TEST_F(CabinetItemsTest, WrongTypeOfCountIsAnError)
{
    TRegistry registry;
    Cabinet(registry).WriteString(RegCabinetCount, "2");
    TCabinetItems items;
    EXPECT_THROW(LoadCabinetItems(items), ERegistryException);
}

TEST(GetItemPath, EachRootResolvesAsStored)
{
    TCabOpenDialog chooser(nullptr);
    chooser.InitialDir = "/work";
    EXPECT_EQ(chooser.GetItemPath(Place(TRootFolder::rfInitialDir, "sub")), "/worksub");
    chooser.InitialDir = "/work/";
    EXPECT_EQ(chooser.GetItemPath(Place(TRootFolder::rfInitialDir, "sub")), "/work/sub");

    EXPECT_EQ(chooser.GetItemPath(Place(TRootFolder::rfCurrent, "/tmp")), "/tmp");
    const std::string desktop = GetSpecialFolderPath(CSIDL_DESKTOP);
    EXPECT_FALSE(desktop.empty());
    EXPECT_EQ(chooser.GetItemPath(Place(TRootFolder::rfDesktop, "A")), desktop + "/A");
    EXPECT_EQ(chooser.GetItemPath(Place(TRootFolder::rfDesktop, "")), desktop);
    EXPECT_EQ(chooser.GetItemPath(Place(TRootFolder::rfMyDocument, "")),
              GetSpecialFolderPath(CSIDL_PERSONAL));
    EXPECT_EQ(chooser.GetItemPath(Place(TRootFolder::rfMyComputer, "")),
              "::{20D04FE0-3AEA-1069-A2D8-08002B30309D}");
    EXPECT_EQ(chooser.GetItemPath(Place(TRootFolder::rfNetwork, "x")),
              "::{208D2C60-3AEA-1069-A2D7-08002B30309D}/x");

    TCabinetItem unknown = Place(TRootFolder::rfCurrent, "/tmp");
    unknown.RootFolder = 9;
    EXPECT_EQ(chooser.GetItemPath(unknown), "");
}
