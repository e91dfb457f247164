#include "app/ObjectListModel.h"
#include "chooser/CabOpenDialog.h"
#include "chooser/CabinetItem.h"
#include "chooser/FolderModel.h"
#include "support/ui/ImageList.h"
#include "support/ui/ObjectIcons.h"
#include "tests/common/IconTheme.h"
#include "tests/common/QtTestMain.h"
#include "tests/common/TempFolder.h"
#include "wizard/WizardObjectModel.h"

#include <QSignalSpy>

#include <algorithm>
#include <filesystem>

namespace {

qint64 IconKey(const QModelIndex& index)
{
    return qvariant_cast<QIcon>(index.data(Qt::DecorationRole)).cacheKey();
}

}  // namespace

class TestEveryList : public QObject {
    Q_OBJECT

    PlainTextIconTheme theme_;

private slots:
    // A name or a missing path looks the same in the main window's list, the wizard's list,
    // the chooser's file list and its places, and the type text agrees with the icon.
    void EveryListShowsAnObjectAlike()
    {
        TempFolder folder;
        for (const char* name : {".txt", "a.txt", ".bashrc"})
            folder.Write(name, "");
        std::filesystem::create_directory(folder.Path("sub"));
        const std::vector<std::string> paths
            = {folder.Path(".txt"), folder.Path("a.txt"), folder.Path(".bashrc"), folder.Path("sub"), folder.Path("gone.txt")};

        ObjectListModel objects;
        objects.SetObjects(paths);
        WizardObjectModel wizard;
        for (const std::string& path : paths)
            wizard.AddWizardRow(path);
        FolderModel files(nullptr);
        QSignalSpy loaded(&files, &FolderModel::loaded);
        files.Load(QString::fromStdString(folder.Path()));
        QVERIFY(loaded.wait());
        const TCabOpenDialog chooser(nullptr);

        const std::vector<std::string> wizardOrder = wizard.Paths();
        for (std::size_t i = 0; i < paths.size(); ++i) {
            const std::string& path = paths[i];
            const qint64 shown = IconKey(objects.index(int(i), ObjectListModel::ColName));
            const int wizardRow = int(std::find(wizardOrder.begin(), wizardOrder.end(), path) - wizardOrder.begin());
            QCOMPARE(IconKey(wizard.index(wizardRow, WizardObjectModel::ColName)), shown);
            TCabinetItem place;
            place.FolderPath = path;
            QCOMPARE(GetSystemImageList().Icon(chooser.GetItemImageIndex(place)).cacheKey(), shown);
            // The chooser's file list shows neither hidden files nor missing ones.
            const QModelIndex file = files.IndexOf(QString::fromStdString(path));
            QCOMPARE(file.isValid(), i == 1 || i == 3);
            if (!file.isValid())
                continue;
            QCOMPARE(IconKey(file), shown);
            if (!files.IsDir(file))
                QCOMPARE(files.index(file.row(), FolderModel::TypeColumn).data().toString(),
                         wizard.index(wizardRow, WizardObjectModel::ColType).data().toString());
        }

        const qint64 plainText = FileIconForName(QStringLiteral("a.txt")).cacheKey();
        QVERIFY(plainText != GenericFileIcon().cacheKey());
        QCOMPARE(IconKey(objects.index(0, ObjectListModel::ColName)), GenericFileIcon().cacheKey());
        QCOMPARE(IconKey(objects.index(1, ObjectListModel::ColName)), plainText);
        QCOMPARE(IconKey(objects.index(2, ObjectListModel::ColName)), GenericFileIcon().cacheKey());
        QCOMPARE(IconKey(objects.index(3, ObjectListModel::ColName)), FolderIcon().cacheKey());
        QCOMPARE(IconKey(objects.index(4, ObjectListModel::ColName)), MissingFileIcon().cacheKey());
    }
};

TESSNA_QTEST_MAIN(TestEveryList)

#include "EveryList_test.moc"
