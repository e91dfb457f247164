#include "chooser/ObjectChooser.h"

#include "support/core/Cp932.h"

ObjectChooserSettings ObjectsToCompressSettings()
{
    ObjectChooserSettings settings;
    settings.Title = Cp932Text("圧縮するオブジェクトを選択(複数選択可)");
    settings.Filter = Cp932Text("すべてのファイル|*.*");
    settings.FilterIndex = 1;
    settings.HistoryKey = "Software\\Kavo\\DeVad\\history\\ArchiveFile\\Path";
    settings.Options = ofHideReadOnly | ofAllowMultiSelect | ofPathMustExist | ofNoTestFileCreate
        | ofNoDereferenceLinks | ofEnableSizing;
    return settings;
}

// The dialog itself lands next; until then a run is a cancelled one.
std::optional<ObjectChoice> RunObjectChooser(QWidget*, const ObjectChooserSettings&)
{
    return std::nullopt;
}
