#include "chooser/ObjectChooser.h"

#include "chooser/CabOpenDialogEx.h"
#include "support/core/Cp932.h"
#include "support/core/RegistryLayout.h"

ObjectChooserSettings ObjectsToCompressSettings()
{
    ObjectChooserSettings settings;
    settings.Title = Cp932Text("圧縮するオブジェクトを選択(複数選択可)");
    settings.Filter = Cp932Text("すべてのファイル|*.*");
    settings.FilterIndex = 1;
    settings.HistoryKey = RegHistoryKey;
    settings.Options = ofHideReadOnly | ofAllowMultiSelect | ofPathMustExist | ofNoTestFileCreate
        | ofNoDereferenceLinks | ofEnableSizing;
    return settings;
}

std::optional<ObjectChoice> RunObjectChooser(QWidget* owner, const ObjectChooserSettings& settings)
{
    TCabOpenDialogEx chooser(owner);
    chooser.DefaultExt = settings.DefaultExt;
    chooser.Filter = settings.Filter;
    chooser.FilterIndex = settings.FilterIndex;
    if (settings.LoadPlaces)
        LoadCabinetItems(chooser.Items);
    chooser.Key = settings.HistoryKey;
    chooser.Options = settings.Options;
    chooser.Title = settings.Title;
    chooser.InitialDir = settings.InitialDir;
    chooser.DialogType = settings.DialogType;
    chooser.ApplyDir = settings.ApplyDir;
    chooser.SubPath = settings.SubPath;
    if (!chooser.RunChooser())
        return std::nullopt;
    return ObjectChoice{chooser.SelectedFolders, chooser.SelectedFiles, chooser.SubPath};
}
