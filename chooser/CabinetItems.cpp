#include "chooser/CabinetItems.h"

#include "support/core/Cp932.h"
#include "support/core/FileNames.h"
#include "support/core/RegistryLayout.h"
#include "support/core/WinReg.h"

namespace {

void AddDefaultPlace(TCabinetItems& items, const char* caption, TRootFolder root)
{
    TCabinetItem& item = items.Add();
    item.Caption = Cp932Text(caption);
    item.SetRootFolder(root);
}

void AddDefaultPlaces(TCabinetItems& items)
{
    AddDefaultPlace(items, "デスクトップ", TRootFolder::rfDesktop);
    AddDefaultPlace(items, "マイコンピュータ", TRootFolder::rfMyComputer);
    if (HasNetworkFolder())
        AddDefaultPlace(items, "ネットワーク", TRootFolder::rfNetwork);
    AddDefaultPlace(items, "マイドキュメント", TRootFolder::rfMyDocument);
}

}  // namespace

int LoadCabinetItems(TCabinetItems& items)
{
    items.Clear();
    const auto registry = CreateWinRegistry(SettingsKey, true);
    const int count = registry->ReadSubKeyInteger(RegCabinetSubKey, RegCabinetCount, 0);
    if (count == 0) {
        AddDefaultPlaces(items);
        return items.Count();
    }
    for (int n = 0; n < count; ++n) {
        TCabinetItem& item = items.Add();
        item.Caption = registry->ReadSubKeyString(RegCabinetSubKey,
                                                  RegNumberedName(RegCabinetCaption, n), "");
        item.RootFolder = static_cast<std::uint8_t>(registry->ReadSubKeyInteger(
            RegCabinetSubKey, RegNumberedName(RegCabinetRootFolder, n), 0));
        item.FolderPath = registry->ReadSubKeyString(
            RegCabinetSubKey, RegNumberedName(RegCabinetFolderPath, n), "");
    }
    return items.Count();
}
