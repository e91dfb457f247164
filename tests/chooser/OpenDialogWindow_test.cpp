// Where the open dialog starts and what it lists, over a whole run of the program: the
// folder remembered between choosers lives as long as the process, so the first test is the
// run's first chooser.
#include "chooser/CabOpenDialogEx.h"
#include "chooser/KnownFolders.h"
#include "chooser/ObjectChooser.h"
#include "chooser/OpenDialogWindow.h"
#include "support/core/Cp932.h"
#include "tests/chooser/ChooserTestFolder.h"
#include "tests/chooser/FileListRows.h"
#include "tests/common/ClearRegistry.h"
#include "tests/common/ModalDriver.h"
#include "tests/common/NamedChild.h"
#include "tests/common/QtTestMain.h"
#include "tests/common/ScopedEnv.h"
#include "tests/common/ScriptedPrompter.h"

#include <QLineEdit>
#include <QListWidget>

#include <memory>

namespace {

// The folder the next chooser of the run opens in, found by opening one.
QString NextStartFolder()
{
    QString startedIn;
    ModalDriver<OpenDialogWindow> driver([&](OpenDialogWindow& dialog) {
        startedIn = dialog.CurrentFolder();
        dialog.reject();
    });
    RunObjectChooser(nullptr, ObjectsToCompressSettings());
    return startedIn;
}

}  // namespace

class TestOpenDialogWindow : public QObject {
    Q_OBJECT

private:
    ChooserTestFolder home_;
    ChooserTestFolder elsewhere_;
    std::unique_ptr<ScopedEnv> homeVariable_;

private slots:
    void initTestCase()
    {
        ClearRegistry();
        homeVariable_ = std::make_unique<ScopedEnv>("HOME", home_.QtPath().toLocal8Bit());
        // Started from another folder, as a program started from its own folder is.
        QVERIFY(QDir::setCurrent(elsewhere_.QtPath()));
    }

    void cleanupTestCase() { homeVariable_.reset(); }

    void TheRunsFirstChooserStartsInTheHomeFolder()
    {
        QCOMPARE(NextStartFolder(), home_.QtPath());
    }

    // A full path typed into the name box moves the next chooser to that object's folder, as
    // a click on an object of the folder shown does.
    void ATypedFullPathMovesTheNextChooserToItsFolder()
    {
        elsewhere_.MakeDir("far");
        const std::string report = elsewhere_.MakeFile("far/report.txt");
        ModalDriver<OpenDialogWindow> driver([&](OpenDialogWindow& dialog) {
            dialog.FileNameBox()->setText(*Cp932ToQString(report));
            dialog.FileNameBox()->setFocus();
            QTest::keyClick(dialog.FileNameBox(), Qt::Key_Return);
        });
        const auto choice = RunObjectChooser(nullptr, ObjectsToCompressSettings());
        QVERIFY(choice);
        QCOMPARE(choice->SelectedFiles, std::vector<std::string>{report});
        QCOMPARE(NextStartFolder(), elsewhere_.QtPath("far"));
    }

    // Ctrl+H shows the hidden files and folders (names starting with a dot) and hides them
    // again, from wherever the focus is in the dialog.
    void CtrlHShowsAndHidesHiddenEntries()
    {
        elsewhere_.MakeDir("dots/.config");   // makes dots too
        elsewhere_.MakeFile("dots/.secret");
        elsewhere_.MakeFile("dots/plain.txt");
        std::vector<bool> listed;
        ModalDriver<OpenDialogWindow> driver([&](OpenDialogWindow& dialog) {
            QVERIFY(QTest::qWaitForWindowActive(&dialog));
            const auto hiddenListed = [&] {
                return IndexOf(dialog, QStringLiteral(".config")).isValid() && IndexOf(dialog, QStringLiteral(".secret")).isValid();
            };
            QTRY_VERIFY(Listed(dialog, {QStringLiteral("plain.txt")}));
            listed.push_back(hiddenListed());
            for (QWidget* focus : {static_cast<QWidget*>(dialog.FileNameBox()), static_cast<QWidget*>(dialog.FileList())}) {
                focus->setFocus();
                QTest::keyClick(focus, Qt::Key_H, Qt::ControlModifier);
                listed.push_back(hiddenListed());
            }
            QVERIFY(Listed(dialog, {QStringLiteral("plain.txt")}));
            dialog.reject();
        });
        ObjectChooserSettings settings = ObjectsToCompressSettings();
        settings.InitialDir = elsewhere_.Path("dots");
        RunObjectChooser(nullptr, settings);
        QCOMPARE(listed, (std::vector<bool>{false, true, false}));
    }

    // A user without a desktop folder gets the home folder for the desktop's place, not a box
    // saying that the folder does not exist.
    void AMissingDesktopFolderLeadsHome()
    {
        QCOMPARE(GetSpecialFolderPath(CSIDL_DESKTOP), home_.Path());
        QCOMPARE(GetSpecialFolderPath(CSIDL_PERSONAL), home_.Path());

        ScriptedPrompter boxes;
        TCabOpenDialogEx chooser(nullptr, {&boxes});
        LoadCabinetItems(chooser.Items);
        chooser.InitialDir = elsewhere_.Path();
        QString shown;
        ModalDriver<OpenDialogWindow> driver([&](OpenDialogWindow& dialog) {
            auto* side = Named<QListWidget>(dialog, "SideList");
            QCOMPARE(side->item(0)->text(), QStringLiteral("デスクトップ"));
            QTest::mouseClick(side->viewport(), Qt::LeftButton, {}, side->visualItemRect(side->item(0)).center());
            shown = dialog.CurrentFolder();
            dialog.reject();
        });
        chooser.RunChooser();
        QCOMPARE(shown, home_.QtPath());
        QVERIFY(boxes.boxes.empty());

        home_.MakeDir("Desktop");
        QCOMPARE(GetSpecialFolderPath(CSIDL_DESKTOP), home_.Path("Desktop"));
    }
};

TESSNA_QTEST_MAIN(TestOpenDialogWindow)
#include "OpenDialogWindow_test.moc"
