#include "chooser/CabOpenDialogEx.h"
#include "chooser/DialogTemplates.h"
#include "chooser/KnownFolders.h"
#include "chooser/ObjectChooser.h"
#include "chooser/OpenDialogWindow.h"
#include "support/core/Cp932.h"
#include "support/core/WinReg.h"
#include "support/ui/ImageList.h"
#include "support/ui/ObjectIcons.h"
#include "support/ui/UnfocusedSelection.h"
#include "tests/chooser/ChooserTestFolder.h"
#include "tests/chooser/FileListRows.h"
#include "tests/common/ClearRegistry.h"
#include "tests/common/ClickHeading.h"
#include "tests/common/ModalDriver.h"
#include "tests/common/NamedChild.h"
#include "tests/common/QtTestMain.h"
#include "tests/common/ScriptedPrompter.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTreeView>

namespace {

using Paths = std::vector<std::string>;

constexpr char HistoryKey[] = "Software\\Kavo\\DeVad\\history\\ArchiveFile\\Path";

void Click(QWidget* widget)
{
    QVERIFY(widget);
    QTest::mouseClick(widget, Qt::LeftButton);
}

}  // namespace

class TestCabOpenDialogEx : public QObject {
    Q_OBJECT

    // One place, "b", for the folder "b c" of the tree, in which the chooser starts.
    void AddPlaceOfFolderBC(TCabOpenDialogEx& chooser) const
    {
        TCabinetItem& place = chooser.Items.Add();
        place.Caption = "b";
        place.FolderPath = tree_->Path("b c");
        chooser.InitialDir = tree_->Path();
    }

private slots:
    void init()
    {
        ClearRegistry();
        tree_ = std::make_unique<ChooserTestFolder>();
        for (const char* folder : {"a", "b c", "zz"})
            tree_->MakeDir(folder);
        for (const char* file : {"my file.txt", "w.txt", "x.txt", "y.txt"})
            tree_->MakeFile(file);
    }

    void SelectingFoldersAndFilesConfirmsBothListsInOrder()
    {
        TCabOpenDialogEx chooser(nullptr);
        chooser.Options |= ofAllowMultiSelect;
        chooser.InitialDir = tree_->Path();
        QString boxText;
        ModalDriver<OpenDialogWindow> driver([&](OpenDialogWindow& dialog) {
            QVERIFY(!dialog.OkButton()->isVisible());
            QTRY_VERIFY(Listed(dialog, {"a", "b c", "zz", "my file.txt", "w.txt", "x.txt", "y.txt"}));
            for (const char* name : {"y.txt", "a", "my file.txt", "b c", "x.txt"})
                CtrlClick(dialog, QString::fromUtf8(name));
            boxText = dialog.FileNameBox()->text();
            ClickNamed(dialog, "BtnConfirm");
        });
        QVERIFY(chooser.RunChooser());
        QCOMPARE(boxText, QStringLiteral("\"+a\" \"+b c\" \"my file.txt\" \"x.txt\" \"y.txt\""));
        QCOMPARE(chooser.SelectedFolders, (Paths{tree_->Path("a"), tree_->Path("b c")}));
        QCOMPARE(chooser.SelectedFiles,
                 (Paths{tree_->Path("my file.txt"), tree_->Path("x.txt"), tree_->Path("y.txt")}));
    }

    void EnteringAFolderClearsItsMarkerAndAConfirmOfNothingSaysSo()
    {
        tree_->MakeDir("a/inner");
        ScriptedPrompter boxes;
        TCabOpenDialogEx chooser(nullptr, {&boxes});
        chooser.Options |= ofAllowMultiSelect | ofPathMustExist;
        chooser.InitialDir = tree_->Path();
        bool stayedOpen = false;
        ModalDriver<OpenDialogWindow> driver([&](OpenDialogWindow& dialog) {
            QTRY_VERIFY(Listed(dialog, {"a"}));
            const QPoint folder = dialog.FileList()->visualRect(IndexOf(dialog, "a")).center();
            QTest::mouseClick(dialog.FileList()->viewport(), Qt::LeftButton, {}, folder);
            QCOMPARE(dialog.FileNameBox()->text(), QStringLiteral("+a"));
            QTest::mouseDClick(dialog.FileList()->viewport(), Qt::LeftButton, {}, folder);
            QTRY_COMPARE(dialog.CurrentFolder(), tree_->QtPath("a"));
            QCOMPARE(dialog.FileNameBox()->text(), QString());
            dialog.FileNameBox()->setText(QStringLiteral("+a"));
            ClickNamed(dialog, "BtnConfirm");
            stayedOpen = dialog.isVisible();
        });
        QVERIFY(!chooser.RunChooser());
        QVERIFY(stayedOpen);
        QCOMPARE(boxes.boxes.size(), std::size_t(1));
        QVERIFY(Cp932ToDisplay(boxes.boxes.front().msg).startsWith(QStringLiteral("+a\n")));
    }

    // A click on a heading sorts by it, again reverses it; the selected row and the current
    // row stay on their name.
    void HeadingClicksSortAndKeepTheSelectedName()
    {
        TCabOpenDialogEx chooser(nullptr);
        chooser.InitialDir = tree_->Path();
        ModalDriver<OpenDialogWindow> driver([&](OpenDialogWindow& dialog) {
            QTreeView* list = dialog.FileList();
            QTRY_VERIFY(Listed(dialog, {"a", "b c", "zz", "my file.txt", "w.txt", "x.txt", "y.txt"}));
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(IndexOf(dialog, "x.txt")).center());
            const auto selectedName = [&] {
                const QModelIndexList rows = list->selectionModel()->selectedRows();
                return rows.size() == 1 ? rows.front().data().toString() : QString();
            };
            ClickHeading(list->header(), 0);
            QVERIFY(Listed(dialog, {"y.txt", "x.txt", "w.txt", "my file.txt", "zz", "b c", "a"}));
            QCOMPARE(selectedName(), QStringLiteral("x.txt"));
            QCOMPARE(list->currentIndex(), IndexOf(dialog, "x.txt"));
            ClickHeading(list->header(), 0);
            QVERIFY(Listed(dialog, {"a", "b c", "zz", "my file.txt", "w.txt", "x.txt", "y.txt"}));
            QCOMPARE(selectedName(), QStringLiteral("x.txt"));
            QCOMPARE(list->currentIndex(), IndexOf(dialog, "x.txt"));
        });
        QVERIFY(!chooser.RunChooser());
    }

    void SizeColumnHoldsTenGigabytes()
    {
        TCabOpenDialogEx chooser(nullptr);
        ModalDriver<OpenDialogWindow> driver([](OpenDialogWindow& dialog) {
            QTreeView* list = dialog.FileList();
            QVERIFY(list->columnWidth(1) >= list->fontMetrics().horizontalAdvance(QStringLiteral("10,485,760 KB")) + 6);
        });
        QVERIFY(!chooser.RunChooser());
    }

    void OneFolderShowsBareAndTypedMissingNamesAreDropped()
    {
        ScriptedPrompter boxes;
        TCabOpenDialogEx chooser(nullptr, {&boxes});
        SetUpMultiSelect(chooser);
        ModalDriver<OpenDialogWindow> driver([&](OpenDialogWindow& dialog) {
            QTRY_VERIFY(Listed(dialog, {"zz"}));
            CtrlClick(dialog, QStringLiteral("zz"));
            QCOMPARE(dialog.FileNameBox()->text(), QStringLiteral("+zz"));
            dialog.FileNameBox()->setText(QStringLiteral("\"+zz\" \"nothing.txt\" \"w.txt\""));
            ClickNamed(dialog, "BtnConfirm");
        });
        QVERIFY(chooser.RunChooser());
        QCOMPARE(chooser.SelectedFolders, Paths{tree_->Path("zz")});
        QCOMPARE(chooser.SelectedFiles, Paths{tree_->Path("w.txt")});
        // The user is told which typed name was left out.
        QCOMPARE(boxes.boxes.size(), 1u);
        QVERIFY(boxes.boxes[0].text.contains(tree_->QtPath("nothing.txt")));
    }

    void TypedFolderPathChangesTheFolderAndEnterConfirmsAName()
    {
        ScriptedPrompter boxes;
        TCabOpenDialogEx chooser(nullptr, {&boxes});
        SetUpMultiSelect(chooser);
        tree_->MakeFile("b c/inner.txt");
        QString folderAfterTyping;
        ModalDriver<OpenDialogWindow> driver([&](OpenDialogWindow& dialog) {
            dialog.FileNameBox()->setText(tree_->QtPath("b c"));
            dialog.FileNameBox()->setFocus();
            QTest::keyClick(&dialog, Qt::Key_Return);
            folderAfterTyping = dialog.CurrentFolder();
            QCOMPARE(dialog.FileNameBox()->text(), QString());
            // A name in a folder that does not exist is refused and the dialog stays.
            dialog.FileNameBox()->setText(QStringLiteral("/no/such/folder/x.txt"));
            QTest::keyClick(&dialog, Qt::Key_Return);
            QVERIFY(dialog.isVisible());
            dialog.FileNameBox()->setText(QStringLiteral("inner.txt"));
            QTest::keyClick(&dialog, Qt::Key_Return);
        });
        QVERIFY(chooser.RunChooser());
        QCOMPARE(folderAfterTyping, tree_->QtPath("b c"));
        QCOMPARE(boxes.boxes.size(), std::size_t(1));
        QVERIFY(boxes.boxes[0].msg.starts_with("/no/such/folder/x.txt"));
        QCOMPARE(chooser.SelectedFiles, Paths{tree_->Path("b c/inner.txt")});
        QVERIFY(chooser.SelectedFolders.empty());
    }

    void BackspaceGoesUpAndEnterOpensAFolder()
    {
        TCabOpenDialogEx chooser(nullptr);
        chooser.Options |= ofAllowMultiSelect;
        chooser.InitialDir = tree_->Path("zz");
        ModalDriver<OpenDialogWindow> driver([&](OpenDialogWindow& dialog) {
            dialog.FileList()->setFocus();
            QTest::keyClick(dialog.FileList(), Qt::Key_Backspace);
            QCOMPARE(dialog.CurrentFolder(), tree_->QtPath());
            QTRY_VERIFY(Listed(dialog, {"a"}));
            CtrlClick(dialog, QStringLiteral("a"));
            QTest::keyClick(dialog.FileList(), Qt::Key_Return);
            QCOMPARE(dialog.CurrentFolder(), tree_->QtPath("a"));
        });
        QVERIFY(!chooser.RunChooser());
        QVERIFY(driver.Ran());
    }

    void ClickOnAPlaceJumpsToItsFolder()
    {
        TCabOpenDialogEx chooser(nullptr);
        AddPlaceOfFolderBC(chooser);
        QString shown;
        ModalDriver<OpenDialogWindow> driver([&](OpenDialogWindow& dialog) {
            auto* side = Named<QListWidget>(dialog, "SideList");
            QVERIFY(side);
            QCOMPARE(side->count(), 1);
            QTest::mouseClick(side->viewport(), Qt::LeftButton, {},
                              side->visualItemRect(side->item(0)).center());
            shown = dialog.CurrentFolder();
            // Enter on a place jumps there again and never confirms what the box holds.
            dialog.ShowFolder(tree_->QtPath());
            dialog.FileNameBox()->setText(QStringLiteral("w.txt"));
            side->setFocus();
            side->setCurrentRow(0);
            QTest::keyClick(side, Qt::Key_Return);
            QVERIFY(dialog.isVisible());
            QCOMPARE(dialog.CurrentFolder(), tree_->QtPath("b c"));
        });
        QVERIFY(!chooser.RunChooser());
        QCOMPARE(shown, tree_->QtPath("b c"));
        // The place's icon was looked up when the side list was built.
        QCOMPARE(chooser.Items.Items(0).ImageIndex, GetFileIconIndex(tree_->Path("b c")));
    }

    // The selected place shows whether the keys go to the list: the focused selection
    // colour while they do, the unfocused one while they go elsewhere.
    void ThePlaceListShowsWhetherItHasTheFocus()
    {
        UseUnfocusedSelection();
        TCabOpenDialogEx chooser(nullptr);
        AddPlaceOfFolderBC(chooser);
        QImage focused;
        QImage unfocused;
        ModalDriver<OpenDialogWindow> driver([&](OpenDialogWindow& dialog) {
            auto* side = Named<QListWidget>(dialog, "SideList");
            QVERIFY(QTest::qWaitForWindowActive(&dialog));
            QTest::mouseClick(side->viewport(), Qt::LeftButton, {}, side->visualItemRect(side->item(0)).center());
            QTRY_VERIFY(side->hasFocus());
            focused = side->viewport()->grab().toImage();
            dialog.FileNameBox()->setFocus();
            QTRY_VERIFY(!side->hasFocus());
            unfocused = side->viewport()->grab().toImage();
            dialog.reject();
        });
        chooser.RunChooser();
        const auto shows = [](const QImage& image, QPalette::ColorGroup group) {
            const QRgb colour = QApplication::palette().color(group, QPalette::Highlight).rgb();
            for (int y = 0; y < image.height(); ++y) {
                for (int x = 0; x < image.width(); ++x) {
                    if (image.pixel(x, y) == colour)
                        return true;
                }
            }
            return false;
        };
        QVERIFY(shows(focused, QPalette::Active));
        QVERIFY(!shows(unfocused, QPalette::Active));
        QVERIFY(shows(unfocused, QPalette::Inactive));
    }

    void SavedFolderIsInTheNextRunEvenAfterCancel()
    {
        {
            TCabOpenDialogEx chooser(nullptr);
            chooser.Key = HistoryKey;
            chooser.InitialDir = tree_->Path("zz");
            ModalDriver<OpenDialogWindow> driver([&](OpenDialogWindow& dialog) {
                auto* save = Named<QPushButton>(dialog, "BtnSaveHistory");
                QVERIFY(save->isEnabled());
                Click(save);
                QVERIFY(!save->isEnabled());
                dialog.JumpTo(tree_->QtPath("a"));
                QVERIFY(save->isEnabled());
                Click(save);
                QCOMPARE(Named<QComboBox>(dialog, "CmbHistory")->count(), 2);
                Click(dialog.DlgItem(IDCANCEL));
            });
            QVERIFY(!chooser.RunChooser());
            QCOMPARE(chooser.Favorites(), (Paths{tree_->Path("a"), tree_->Path("zz")}));
        }
        TCabOpenDialogEx next(nullptr);
        next.Key = HistoryKey;
        next.InitialDir = tree_->Path();
        QString jumpedTo;
        QString firstAfterJump;
        bool saveEnabledThere = true;
        ModalDriver<OpenDialogWindow> driver([&](OpenDialogWindow& dialog) {
            auto* history = Named<QComboBox>(dialog, "CmbHistory");
            QCOMPARE(history->count(), 2);
            QCOMPARE(history->currentText(), tree_->QtPath("a"));
            history->setFocus();
            QTest::keyClick(history, Qt::Key_Down);
            jumpedTo = dialog.CurrentFolder();
            firstAfterJump = history->itemText(0);
            saveEnabledThere = Named<QPushButton>(dialog, "BtnSaveHistory")->isEnabled();
        });
        QVERIFY(!next.RunChooser());
        QCOMPARE(jumpedTo, tree_->QtPath("zz"));
        QCOMPARE(firstAfterJump, tree_->QtPath("zz"));
        QVERIFY(!saveEnabledThere);
        QCOMPARE(next.Favorites(), (Paths{tree_->Path("zz"), tree_->Path("a")}));
    }

    // Given no folder, a chooser opens where the previous one of the run was closed, by
    // confirming or by cancelling.
    void NextChooserOpensWhereThePreviousOneClosed()
    {
        const auto runTo = [&](const std::string& folder, bool confirm) {
            QString startedIn;
            ModalDriver<OpenDialogWindow> driver([&](OpenDialogWindow& dialog) {
                startedIn = dialog.CurrentFolder();
                dialog.FileNameBox()->setText(tree_->QtPath(folder));
                dialog.FileNameBox()->setFocus();
                QTest::keyClick(dialog.FileNameBox(), Qt::Key_Return);
                QCOMPARE(dialog.CurrentFolder(), tree_->QtPath(folder));
                if (confirm) {
                    QTRY_VERIFY(Listed(dialog, {"inner.txt"}));
                    CtrlClick(dialog, QStringLiteral("inner.txt"));
                    ClickNamed(dialog, "BtnConfirm");
                } else {
                    Click(dialog.DlgItem(IDCANCEL));
                }
            });
            RunObjectChooser(nullptr, ObjectsToCompressSettings());
            return startedIn;
        };
        tree_->MakeFile("a/inner.txt");
        runTo("zz", false);
        QCOMPARE(runTo("a", true), tree_->QtPath("zz"));
        QCOMPARE(runTo("zz", false), tree_->QtPath("a"));
    }

    void AHistoryOfTheWrongTypeEndsTheRunWithItsError()
    {
        TRegistry registry;
        registry.OpenKey(HistoryKey, true);
        registry.WriteString("Count", "3");
        TCabOpenDialogEx chooser(nullptr);
        chooser.Key = HistoryKey;
        chooser.InitialDir = tree_->Path();
        QVERIFY_THROWS_EXCEPTION(ERegistryException, chooser.RunChooser());
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
    }

    void ApplyDirRefusesToConfirmWithoutAFolder()
    {
        ScriptedPrompter boxes;
        TCabOpenDialogEx chooser(nullptr, {&boxes});
        chooser.Options |= ofAllowMultiSelect;
        chooser.ApplyDir = true;
        chooser.InitialDir = tree_->Path();
        bool stayed = false;
        ModalDriver<OpenDialogWindow> driver([&](OpenDialogWindow& dialog) {
            QTRY_VERIFY(Listed(dialog, {"a", "x.txt"}));
            CtrlClick(dialog, QStringLiteral("x.txt"));
            ClickNamed(dialog, "BtnConfirm");
            stayed = dialog.isVisible();
            CtrlClick(dialog, QStringLiteral("a"));
            ClickNamed(dialog, "BtnConfirm");
        });
        QVERIFY(chooser.RunChooser());
        QVERIFY(stayed);
        QCOMPARE(boxes.boxes.size(), std::size_t(1));
        QCOMPARE(boxes.boxes[0].msg, Cp932Text("フォルダを選択して下さい"));
        QCOMPARE(boxes.boxes[0].dlgType, MsgDlgType::mtError);
        QCOMPARE(chooser.SelectedFolders, Paths{tree_->Path("a")});
        QCOMPARE(chooser.SelectedFiles, Paths{tree_->Path("x.txt")});
    }

    void NamesWithoutCodePageFormAreRefusedByName()
    {
        // é and à have no code page 932 form; ア has one.
        QFile(tree_->QtPath() + QStringLiteral("/\u30a2-caf\u00e9.txt")).open(QIODevice::WriteOnly);
        QDir().mkpath(tree_->QtPath() + QStringLiteral("/d\u00e9j\u00e0"));
        ScriptedPrompter boxes;
        TCabOpenDialogEx chooser(nullptr, {&boxes});
        chooser.Options |= ofAllowMultiSelect;
        chooser.InitialDir = tree_->Path();
        ModalDriver<OpenDialogWindow> driver([&](OpenDialogWindow& dialog) {
            const QString file = QStringLiteral("\u30a2-caf\u00e9.txt");
            const QString folder = QStringLiteral("d\u00e9j\u00e0");
            QTRY_VERIFY(Listed(dialog, {folder, "zz", "w.txt", file}));
            for (const QString& name : {folder, QStringLiteral("zz"), file, QStringLiteral("w.txt")})
                CtrlClick(dialog, name);
            QCOMPARE(dialog.FileNameBox()->text(), QStringLiteral("\"+zz\" \"w.txt\""));
            ClickNamed(dialog, "BtnConfirm");
        });
        QVERIFY(chooser.RunChooser());
        QCOMPARE(chooser.SelectedFolders, Paths{tree_->Path("zz")});
        QCOMPARE(chooser.SelectedFiles, Paths{tree_->Path("w.txt")});
        QCOMPARE(boxes.boxes.size(), std::size_t(1));
        const std::string& msg = boxes.boxes[0].msg;
        QVERIFY(msg.find("d?j?") != std::string::npos);
        QVERIFY(msg.find(Cp932Text("ア-caf?.txt")) != std::string::npos);
        // On the screen the box shows the names as the host does.
        QVERIFY(boxes.boxes[0].text.contains(tree_->QtPath() + QStringLiteral("/d\u00e9j\u00e0")));
        QVERIFY(boxes.boxes[0].text.contains(tree_->QtPath() + QStringLiteral("/\u30a2-caf\u00e9.txt")));
    }

    void ChosenNamesArriveWholeWhateverTheyHold()
    {
        for (const char* name : {"a\"b.txt", "st*r.txt", "q?.txt", " pad .txt"})
            tree_->MakeFile(name);
        ScriptedPrompter boxes;
        TCabOpenDialogEx chooser(nullptr, {&boxes});
        SetUpMultiSelect(chooser);
        // Clicked: one name with a quote, then several together.
        ModalDriver<OpenDialogWindow> clicked([&](OpenDialogWindow& dialog) {
            QTRY_VERIFY(Listed(dialog, {" pad .txt", "a\"b.txt", "q?.txt", "st*r.txt"}));
            CtrlClick(dialog, QStringLiteral("a\"b.txt"));
            ClickNamed(dialog, "BtnConfirm");
        });
        QVERIFY(chooser.RunChooser());
        QCOMPARE(chooser.SelectedFiles, Paths{tree_->Path("a\"b.txt")});
        ModalDriver<OpenDialogWindow> several([&](OpenDialogWindow& dialog) {
            QTRY_VERIFY(Listed(dialog, {" pad .txt", "a\"b.txt", "q?.txt", "st*r.txt"}));
            for (const char* name : {" pad .txt", "a\"b.txt", "st*r.txt"})
                CtrlClick(dialog, QString::fromLatin1(name));
            ClickNamed(dialog, "BtnConfirm");
        });
        QVERIFY(chooser.RunChooser());
        QCOMPARE(chooser.SelectedFiles, (Paths{tree_->Path(" pad .txt"), tree_->Path("a\"b.txt"), tree_->Path("st*r.txt")}));
        // Typed: a name that exists is that file, not a pattern and not two names.
        for (const char* typed : {"q?.txt", "a\"b.txt"}) {
            ModalDriver<OpenDialogWindow> typing([&](OpenDialogWindow& dialog) {
                dialog.FileNameBox()->setText(QString::fromLatin1(typed));
                QTest::keyClick(dialog.FileNameBox(), Qt::Key_Return);
            });
            QVERIFY(chooser.RunChooser());
            QCOMPARE(chooser.SelectedFiles, Paths{tree_->Path(typed)});
        }
        QVERIFY(boxes.boxes.empty());
        // A confirm that leaves nothing is no success, and the user is told why.
        ModalDriver<OpenDialogWindow> nothing([&](OpenDialogWindow& dialog) {
            dialog.FileNameBox()->setText(QStringLiteral("nothing.txt"));
            QTest::keyClick(dialog.FileNameBox(), Qt::Key_Return);
        });
        QVERIFY(!chooser.RunChooser());
        QCOMPARE(boxes.boxes.size(), 1u);
        QVERIFY(boxes.boxes[0].text.contains(QStringLiteral("nothing.txt")));
    }

    void ComputerFolderClearsTheNameBox()
    {
        TCabOpenDialogEx chooser(nullptr);
        chooser.Options |= ofAllowMultiSelect;
        chooser.InitialDir = tree_->Path();
        TCabinetItem& place = chooser.Items.Add();
        place.SetRootFolder(TRootFolder::rfMyComputer);
        std::string folderThere = "unset";
        ModalDriver<OpenDialogWindow> driver([&](OpenDialogWindow& dialog) {
            dialog.FileNameBox()->setText(QStringLiteral("kept"));
            auto* side = Named<QListWidget>(dialog, "SideList");
            QTest::mouseClick(side->viewport(), Qt::LeftButton, {},
                              side->visualItemRect(side->item(0)).center());
            QCOMPARE(dialog.FileNameBox()->text(), QStringLiteral("kept"));
            QCOMPARE(dialog.CurrentFolder(), QString());
            folderThere = chooser.GetCurrentFolder();
            QTRY_VERIFY(dialog.ListIndexOf(QStringLiteral("/")).isValid());
            dialog.FileList()->selectionModel()->select(dialog.ListIndexOf(QStringLiteral("/")),
                                                        QItemSelectionModel::Select | QItemSelectionModel::Rows);
            QCOMPARE(dialog.FileNameBox()->text(), QString());
        });
        QVERIFY(!chooser.RunChooser());
        QCOMPARE(folderThere, std::string());
        QVERIFY(chooser.SelectedFolders.empty());
    }

    void PlaceIconsAreLookedUpOnlyWhenNoneWasChosen()
    {
        TCabOpenDialogEx chooser(nullptr);
        TCabinetItem desktop;
        desktop.SetRootFolder(TRootFolder::rfDesktop);
        TCabinetItem folder;
        folder.FolderPath = tree_->Path("a");
        TCabinetItem chosen = folder;
        chosen.ImageIndex = 7;
        QCOMPARE(chooser.GetItemImageIndex(desktop), GetDesktopIconIndex());
        QCOMPARE(chooser.GetItemImageIndex(folder), GetFileIconIndex(tree_->Path("a")));
        QVERIFY(chooser.GetItemImageIndex(folder) != GetFileIconIndex(tree_->Path("x.txt")));
        QCOMPARE(chooser.GetItemImageIndex(chosen), 7);
        QCOMPARE(&chooser.GetImages(), &GetSystemImageList());

        const TImageList own(QSize(32, 32));
        chooser.ImageList = &own;
        QCOMPARE(chooser.GetItemImageIndex(desktop), 0);
        QCOMPARE(chooser.GetItemImageIndex(chosen), 7);
        QCOMPARE(&chooser.GetImages(), &own);
    }

    void SearchModeShowsItsLabelsAndFollowsTheCheckBox()
    {
        TCabOpenDialogEx chooser(nullptr);
        chooser.DialogType = TDialogType::dtSearchfiles;
        chooser.SubPath = false;
        chooser.InitialDir = tree_->Path();
        std::vector<int> commands;
        chooser.OnCommandEx = [&](TCabOpenDialog&, QWidget*, QWidget*, int cmd) { commands.push_back(cmd); };
        ModalDriver<OpenDialogWindow> driver([&](OpenDialogWindow& dialog) {
            QCOMPARE(qobject_cast<QLabel*>(dialog.DlgItem(stc2))->text(), QStringLiteral("書庫の種類(&T):"));
            QCOMPARE(qobject_cast<QLabel*>(dialog.DlgItem(stc3))->text(), QStringLiteral("圧縮するﾌｧｲﾙ(&N):"));
            auto* check = qobject_cast<QAbstractButton*>(dialog.DlgItem(IdSubPath));
            QVERIFY(!check->isChecked());
            check->click();
        });
        QVERIFY(!chooser.RunChooser());
        QVERIFY(chooser.SubPath);
        QVERIFY(chooser.TemplateName.find("SEARCH") != std::string::npos);
        QCOMPARE(commands, std::vector<int>{IdSubPath});
    }

    void HistoryRowLinesUpWithTheStandardControls()
    {
        TCabOpenDialogEx chooser(nullptr);
        chooser.InitialDir = tree_->Path();
        ModalDriver<OpenDialogWindow> driver([&](OpenDialogWindow& dialog) {
            dialog.resize(900, 600);
            QTRY_COMPARE(dialog.DlgItem(IdHistoryList)->width(), dialog.DlgItem(cmb1)->width());
            QCOMPARE(dialog.DlgItem(IdHistoryList)->x(), dialog.DlgItem(cmb1)->x());
            QCOMPARE(dialog.DlgItem(IdSaveHistory)->x(), dialog.DlgItem(IDCANCEL)->x());
            QCOMPARE(dialog.DlgItem(IdConfirm)->x(), dialog.DlgItem(IDCANCEL)->x());
        });
        QVERIFY(!chooser.RunChooser());
        QVERIFY(driver.Ran());
    }

private:
    std::unique_ptr<ChooserTestFolder> tree_;

    // Several names at once, in existing folders, starting in the test folder.
    void SetUpMultiSelect(TCabOpenDialogEx& chooser) const
    {
        chooser.Options |= ofAllowMultiSelect | ofPathMustExist;
        chooser.InitialDir = tree_->Path();
    }
};

TESSNA_QTEST_MAIN(TestCabOpenDialogEx)
#include "CabOpenDialogEx_test.moc"
