#include "app/CatalogForm.h"
#include "app/ObjectListModel.h"
#include "catalog/CatalogStore.h"
#include "support/core/Cp932.h"
#include "support/core/MessageDlg.h"
#include "support/ui/HelpViewer.h"
#include "support/ui/MessageForm.h"
#include "support/ui/StopBox.h"
#include "tests/app/OpenCatalogForm.h"
#include "tests/common/CatalogFolder.h"
#include "tests/common/ClickHeading.h"
#include "tests/common/ColumnTexts.h"
#include "tests/common/FileBytes.h"
#include "tests/common/FilterCases.h"
#include "tests/common/ModalDriver.h"
#include "tests/common/NamedChild.h"
#include "tests/common/QtTestMain.h"
#include "tests/common/ScriptedPrompter.h"
#include "tests/common/SelectRows.h"
#include "tests/common/ShowWindow.h"
#include "wizard/CatRenameForm.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTableView>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QWindow>

#include <memory>
#include <optional>

#include <sys/stat.h>

class TestCatalogForm : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<CatalogFolder> folder_;
    ScriptedPrompter prompter_;
    std::unique_ptr<TCatalogForm> form_;
    std::vector<std::string> stopBoxes_;
    std::optional<ScopedStopBoxHandler> stopBox_;
    QString existingFolder_;
    QString existingFile_;
    QString missing_;

    TCatalogForm& Open(CatalogFormServices services = {})
    {
        form_ = OpenCatalogForm(*folder_, prompter_, std::move(services));
        return *form_;
    }

    void ShowActive() { ::ShowActive(*form_); }

    // Lists the catalog "Big" of 1,500 missing objects, enough for a thousands separator.
    void AddBigCatalog()
    {
        QStringList objects;
        for (int i = 0; i < 1500; ++i)
            objects << QString("/nowhere/%1").arg(i);
        folder_->AddCatalog("Big", objects);
    }

    QAction* Action(const char* name) const { return Named<QAction>(*form_, name); }
    QTreeWidget* Tree() const { return Named<QTreeWidget>(*form_, "TreeView"); }
    QTableView* List() const { return Named<QTableView>(*form_, "ListView"); }
    QString CountText() const { return Named<QLabel>(*form_, "StatusPanel0")->text(); }

    QStringList Names() const { return ColumnTexts(*List()->model(), 0); }

    void ClickHeader(int column) { ClickHeading(List()->horizontalHeader(), column); }

    void SelectCatalog(int index) { Tree()->setCurrentItem(Tree()->topLevelItem(index)); }
    Qt::SortOrder Order() const { return form_->ObjectList().Sorting().order; }

private slots:
    void init()
    {
        folder_ = std::make_unique<CatalogFolder>();
        prompter_ = ScriptedPrompter();
        stopBoxes_.clear();
        stopBox_.emplace([this](QWidget*, const std::string& text) { stopBoxes_.push_back(text); });
        const QDir dir(folder_->dir.path());
        QVERIFY(dir.mkpath("objects/zfolder"));
        existingFolder_ = dir.filePath("objects/zfolder");
        existingFile_ = dir.filePath("objects/afile.txt");
        WriteFile(existingFile_, "x");
        missing_ = dir.filePath("objects/0missing.txt");
    }

    void cleanup()
    {
        form_.reset();
        stopBox_.reset();
    }

    void listsTheCatalogsAndShowsTheLastOne()
    {
        folder_->AddCatalog("First", {existingFile_});
        folder_->AddCatalog("Second", {existingFile_, existingFolder_});
        Open();
        QCOMPARE(Tree()->topLevelItemCount(), 2);
        QCOMPARE(Tree()->currentItem()->text(0), QString("Second"));
        QCOMPARE(Named<QLabel>(*form_, "PnlTreeTop")->text(), QString("Second"));
        QCOMPARE(Names(), QStringList({"zfolder", "afile.txt"}));
        QCOMPARE(List()->model()->index(1, 1).data().toString(), folder_->dir.filePath("objects"));
        QCOMPARE(CountText(), QString("2 件のオブジェクト"));
        QCOMPARE(form_->windowTitle(), QString("Tessna "));
        QVERIFY(!Action("ActF_CatSave")->isEnabled());
    }

    void sortsFoldersFilesThenMissingAndReverses()
    {
        folder_->AddCatalog("Mixed", {missing_, existingFile_, existingFolder_});
        Open();
        QCOMPARE(Names(), QStringList({"zfolder", "afile.txt", "0missing.txt"}));
        List()->setCurrentIndex(List()->model()->index(0, 0));
        ClickHeader(0);
        QCOMPARE(Order(), Qt::DescendingOrder);
        QCOMPARE(Names(), QStringList({"0missing.txt", "afile.txt", "zfolder"}));
        // The selected row and the current row move with their object.
        QCOMPARE(List()->currentIndex().row(), 2);
        QCOMPARE(List()->selectionModel()->selectedRows().value(0).row(), 2);
        QCOMPARE(List()->horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);
        ClickHeader(0);
        QCOMPARE(Names(), QStringList({"zfolder", "afile.txt", "0missing.txt"}));
        QCOMPARE(List()->currentIndex().row(), 0);
    }

    void keepsTheSortColumnAcrossCatalogs()
    {
        folder_->AddCatalog("One", {"/b/y/1", "/a/z/2", "/c/x/3"});
        folder_->AddCatalog("Two", {"/q/2", "/p/3", "/r/1"});
        Open();
        ClickHeader(1);
        QCOMPARE(form_->ObjectList().Sorting().column, 1);
        QCOMPARE(Order(), Qt::AscendingOrder);
        QCOMPARE(Names(), QStringList({"3", "2", "1"}));
        ClickHeader(1);
        QCOMPARE(Names(), QStringList({"1", "2", "3"}));
        SelectCatalog(0);
        QCOMPARE(form_->ObjectList().Sorting().column, 1);
        QCOMPARE(Order(), Qt::DescendingOrder);
        QCOMPARE(Names(), QStringList({"3", "1", "2"}));
        ClickHeader(0);
        QCOMPARE(Order(), Qt::AscendingOrder);
        QCOMPARE(Names(), QStringList({"2", "1", "3"}));
    }

    void countsRowsAndSelectedRows()
    {
        AddBigCatalog();
        Open();
        QCOMPARE(CountText(), QString("1,500 件のオブジェクト"));
        QVERIFY(!Action("ActI_ItemDelete")->isEnabled());
        QItemSelectionModel* selection = List()->selectionModel();
        SelectRows(*List(), {3, 7, 9});
        QCOMPARE(CountText(), QString("3 件のオブジェクトを選択"));
        QVERIFY(Action("ActI_ItemDelete")->isEnabled());
        ClickHeader(1);
        QCOMPARE(selection->selectedRows().size(), 3);
        selection->clearSelection();
        QCOMPARE(CountText(), QString("1,500 件のオブジェクト"));
    }

    // Blanks and digits without a code page 932 form never take the count away.
    void countsUnderLocalesWithoutCodePage932Signs()
    {
        AddBigCatalog();
        const QLocale saved;
        const std::pair<QLocale, QString> cases[] = {
            {QLocale(QLocale::French, QLocale::France), QString("1 500 件のオブジェクト")},
            {QLocale(QLocale::Arabic, QLocale::Egypt), QString("1,500 件のオブジェクト")},
        };
        for (const auto& [locale, count] : cases) {
            QLocale::setDefault(locale);
            Open();
            ShowActive();
            QCOMPARE(CountText(), count);
            QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, List()->visualRect(List()->model()->index(0, 0)).center());
            QCOMPARE(CountText(), QString("1 件のオブジェクトを選択"));
        }
        QLocale::setDefault(saved);
    }

    void countPanelIsAThirdOfTheStatusBarFromTheFirstShowing()
    {
        Open();
        QVERIFY(Shown(*form_));
        QCOMPARE(Named<QLabel>(*form_, "StatusPanel0")->width(), form_->width() / 3);
        form_->resize(form_->width() + 90, form_->height());
        QTRY_COMPARE(Named<QLabel>(*form_, "StatusPanel0")->width(), form_->width() / 3);
    }

    // Hints follow the highlighted entry in every menu of the main menu while any menu is
    // open, also after moving to the next menu with the keys or the mouse.
    void menuHintsFollowEveryMenuWhileOneIsOpen()
    {
        folder_->AddCatalog("Alpha", {"/a"});
        Open();
        ShowActive();
        QMenuBar* bar = form_->menuBar();
        QStatusBar* status = form_->statusBar();
        const auto openMenu = [] { return qobject_cast<QMenu*>(QApplication::activePopupWidget()); };

        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(Action("ActF")).center());
        QTRY_VERIFY(openMenu());
        QTest::keyClick(openMenu(), Qt::Key_Down);
        QTRY_COMPARE(status->currentMessage(), openMenu()->activeAction()->statusTip());
        QVERIFY(!status->currentMessage().isEmpty());

        QTest::keyClick(openMenu(), Qt::Key_Right);
        QTRY_COMPARE(openMenu(), Action("ActE")->menu());
        QTest::qWait(50);
        QMenu* edit = openMenu();
        QTest::mouseMove(edit, edit->actionGeometry(Action("ActI_ItemFileAdd")).center());
        QTRY_COMPARE(status->currentMessage(), Action("ActI_ItemFileAdd")->statusTip());

        QTest::mouseMove(form_->windowHandle(), bar->mapTo(form_.get(), bar->actionGeometry(Action("ActH")).center()));
        QTRY_COMPARE(openMenu(), Action("ActH")->menu());
        QTest::qWait(50);
        QMenu* help = openMenu();
        QTest::mouseMove(help, help->actionGeometry(Action("ActH_About")).center());
        QTRY_COMPARE(status->currentMessage(), Action("ActH_About")->statusTip());

        QTest::keyClick(help, Qt::Key_Escape);
        QTRY_VERIFY(!openMenu());
        QTRY_COMPARE(status->currentMessage(), QString());
        QVERIFY(Named<QLabel>(*form_, "StatusPanel0")->isVisible());
    }

    void deleteAsksAndSelectsTheNeighbour()
    {
        folder_->AddCatalog("Alpha", {"/a"});
        folder_->AddCatalog("Beta", {"/b1", "/b2"});
        folder_->AddCatalog("Gamma", {"/g"});
        Open();
        SelectCatalog(1);
        prompter_.Answer(mrNo);
        Action("ActF_CatDelete")->trigger();
        QCOMPARE(prompter_.boxes.back().msg, Cp932Text("Beta を削除しますか？"));
        QCOMPARE(prompter_.boxes.back().buttons, mbYesNo);
        QCOMPARE(Tree()->topLevelItemCount(), 3);
        QVERIFY(!form_->Store().Modified());
        prompter_.Answer(mrCancel);  // the close box means No
        Action("ActF_CatDelete")->trigger();
        QCOMPARE(Tree()->topLevelItemCount(), 3);
        QVERIFY(!form_->Store().Modified());

        prompter_.Answer(mrYes);
        Action("ActF_CatDelete")->trigger();
        QCOMPARE(Tree()->topLevelItemCount(), 2);
        QCOMPARE(Tree()->currentItem()->text(0), QString("Gamma"));
        QCOMPARE(Names(), QStringList({"g"}));
        QVERIFY(form_->Store().Modified());
        QCOMPARE(form_->windowTitle(), QString("Tessna - (更新)"));
        QVERIFY(Action("ActF_CatSave")->isEnabled());
    }

    void deletingTheLastCatalogEmptiesTheWindow()
    {
        folder_->AddCatalog("Only", {"/x", "/y"});
        Open();
        prompter_.Answer(mrYes);
        Action("ActF_CatDelete")->trigger();
        QCOMPARE(Tree()->topLevelItemCount(), 0);
        QCOMPARE(form_->ObjectList().Count(), 0);
        QCOMPARE(CountText(), QString("0 件のオブジェクト"));
        QCOMPARE(form_->CurrentCatalogNode(), -1);
        for (const char* name : {"ActF_CatUpdate", "ActF_CatDelete", "ActF_CatRename", "ActI_ItemFileAdd"})
            QVERIFY2(!Action(name)->isEnabled(), name);
        QVERIFY(Action("ActF_CatNew")->isEnabled());
        const auto boxes = prompter_.boxes.size();
        Action("ActF_CatDelete")->trigger();
        QCOMPARE(prompter_.boxes.size(), boxes);
    }

    void renameThroughTheDialog()
    {
        folder_->AddCatalog("Backup", {"/b"});
        folder_->AddCatalog("Photos", {"/p"});
        Open();
        SelectCatalog(0);

        const ModalDriver<TCatRenameForm> driver([this](TCatRenameForm& dialog) {
            auto* edit = Named<QLineEdit>(dialog, "TxtNew");
            auto* ok = Named<QPushButton>(dialog, "btnOK");
            QCOMPARE(Named<QLineEdit>(dialog, "TxtOld")->text(), QString("Backup"));
            QTest::keyClicks(edit, "BACKUP");
            QTest::mouseClick(ok, Qt::LeftButton);
            QCOMPARE(prompter_.boxes.back().msg, Cp932Text("変更前と変更後の名前が同じです。"));
            edit->setText("photos");
            QTest::mouseClick(ok, Qt::LeftButton);
            QVERIFY(Cp932ToDisplay(prompter_.boxes.back().msg).contains("photos"));
            edit->setText("Back,up");
            QTest::mouseClick(ok, Qt::LeftButton);
            QVERIFY(Cp932ToDisplay(prompter_.boxes.back().msg).startsWith("ファイル：Back,up"));
            QCOMPARE(prompter_.boxes.size(), 3u);
            QVERIFY(dialog.isVisible());
            edit->setText("Archive ");
            QTest::keyClick(edit, Qt::Key_Return);
        });
        Action("ActF_CatRename")->trigger();
        QVERIFY(driver.Ran());
        QCOMPARE(Tree()->topLevelItem(0)->text(0), QString("Archive "));
        QCOMPARE(Named<QLabel>(*form_, "PnlTreeTop")->text(), QString("Archive "));
        const TCatalogEntry& entry = form_->Store().Catalog(0);
        QCOMPARE(QString::fromStdString(entry.FileName), folder_->dir.filePath("Archive .VrCat"));
        QCOMPARE(entry.Title, std::string("Backup"));
        QVERIFY(form_->Store().Modified());
    }

    // Catalog commands are undone and redone step by step, each showing the catalog it
    // changed; the 編集 menu opens with the two commands.
    void catalogCommandsAreUndoneAndRedoneShowingWhatChanged()
    {
        folder_->AddCatalog("Alpha", {"/a"});
        folder_->AddCatalog("Beta", {"/b1", "/b2"});
        folder_->AddCatalog("Gamma", {"/g"});
        CatalogFormServices services;
        services.runRenameDialog = [](QWidget*, const std::string&, std::string& newName, const RenameDialogServices&) {
            newName = "First";
            return QDialog::Accepted;
        };
        Open(std::move(services));
        const QList<QAction*> edit = Action("ActE")->menu()->actions();
        QCOMPARE(edit.at(0), Action("ActE_Undo"));
        QCOMPARE(edit.at(1), Action("ActE_Redo"));
        QCOMPARE(Action("ActE_Redo")->shortcuts(),
                 (QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)}));
        SelectCatalog(1);
        prompter_.Answer(mrYes);
        Action("ActF_CatDelete")->trigger();
        SelectCatalog(0);
        Action("ActF_CatRename")->trigger();
        QCOMPARE(Action("ActE_Undo")->text(), QString("元に戻す(&U): カタログの名称変更"));
        SelectCatalog(1);

        Action("ActE_Undo")->trigger();
        QCOMPARE(Tree()->currentItem()->text(0), QString("Alpha"));
        QCOMPARE(Action("ActE_Undo")->text(), QString("元に戻す(&U): カタログの削除"));
        Action("ActE_Undo")->trigger();
        QCOMPARE(Tree()->topLevelItemCount(), 3);
        QCOMPARE(Tree()->currentItem()->text(0), QString("Beta"));
        QCOMPARE(Names(), QStringList({"b1", "b2"}));
        QVERIFY(!form_->Store().Modified());
        QVERIFY(!Action("ActE_Undo")->isEnabled());
        QCOMPARE(form_->windowTitle(), QString("Tessna "));

        Action("ActE_Redo")->trigger();
        QCOMPARE(Tree()->topLevelItemCount(), 2);
        QVERIFY(form_->Store().Modified());
        QCOMPARE(Action("ActE_Redo")->text(), QString("やり直し(&R): カタログの名称変更"));
    }

    // Save asks and writes the list also when every catalog was deleted.
    void saveWritesAnEmptyList()
    {
        folder_->AddCatalog("Only", {"/x"});
        Open();
        prompter_.Answer(mrYes);
        Action("ActF_CatDelete")->trigger();
        prompter_.Answer(mrYes);
        Action("ActF_CatSave")->trigger();
        QCOMPARE(prompter_.boxes.back().msg, Cp932Text("カタログリストを保存しますか？"));
        QCOMPARE(folder_->ControlFile(), QByteArray());
        QCOMPARE(form_->windowTitle(), QString("Tessna "));
        QVERIFY(!Action("ActF_CatSave")->isEnabled());
    }

    void cancelledRenameChangesNothing()
    {
        folder_->AddCatalog("Backup", {"/b"});
        CatalogFormServices services;
        services.runRenameDialog = [](QWidget*, const std::string&, std::string&, const RenameDialogServices&) {
            return QDialog::Rejected;
        };
        Open(std::move(services));
        Action("ActF_CatRename")->trigger();
        QCOMPARE(Tree()->topLevelItem(0)->text(0), QString("Backup"));
        QVERIFY(!form_->Store().Modified());
    }

    void saveAsksAndWrites()
    {
        folder_->AddCatalog("Alpha", {"/a"});
        folder_->AddCatalog("Beta", {"/b"});
        Open();
        prompter_.Answer(mrYes);
        Action("ActF_CatDelete")->trigger();
        prompter_.Answer(mrNo);
        Action("ActF_CatSave")->trigger();
        QCOMPARE(prompter_.boxes.back().msg, Cp932Text("カタログリストを保存しますか？"));
        QVERIFY(form_->Store().Modified());
        QVERIFY(folder_->ControlFile().contains("Beta"));
        prompter_.Answer(mrCancel);  // the close box means No
        Action("ActF_CatSave")->trigger();
        QVERIFY(form_->Store().Modified());
        QVERIFY(folder_->ControlFile().contains("Beta"));

        prompter_.Answer(mrYes);
        ShowActive();
        QTest::keySequence(form_.get(), QKeySequence(Qt::CTRL | Qt::Key_S));
        QVERIFY(!form_->Store().Modified());
        QVERIFY(!folder_->ControlFile().contains("Beta"));
        QVERIFY(folder_->ControlFile().contains("Alpha"));
        QCOMPARE(form_->windowTitle(), QString("Tessna "));
        QVERIFY(!Action("ActF_CatSave")->isEnabled());
    }

    void closeQuestionYesNoCancel_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("closes");
        QTest::addColumn<bool>("saved");
        QTest::newRow("yes") << mrYes << true << true;
        QTest::newRow("no") << mrNo << true << false;
        QTest::newRow("cancel") << mrCancel << false << false;
    }

    void closeQuestionYesNoCancel()
    {
        QFETCH(int, answer);
        QFETCH(bool, closes);
        QFETCH(bool, saved);
        folder_->AddCatalog("Alpha", {"/a"});
        folder_->AddCatalog("Beta", {"/b"});
        Open();
        ShowActive();
        prompter_.Answer(mrYes);
        Action("ActF_CatDelete")->trigger();
        prompter_.Answer(answer);
        QTest::keyClick(Named<QTreeWidget>(*form_, "TreeView"), Qt::Key_Escape);
        QCOMPARE(prompter_.boxes.back().msg, Cp932Text("カタログリストは更新されています。保存しますか？"));
        QCOMPARE(prompter_.boxes.back().buttons, mbYesNoCancel);
        QCOMPARE(form_->isVisible(), !closes);
        QCOMPARE(!folder_->ControlFile().contains("Beta"), saved);
    }

    // A close request (the window manager's close box) reaches the main window's platform
    // window while the close question is open over it: the question stays until answered,
    // and the program goes on.
    void theCloseBoxDuringTheCloseQuestionLeavesTheQuestionOpen()
    {
        folder_->AddCatalog("Alpha", {"/a"});
        form_ = std::make_unique<TCatalogForm>(folder_->Path());
        ShowActive();
        form_->Store().SetModified(true);
        bool questionStayed = false;
        bool windowStayed = false;
        ModalDriver<TMessageForm> driver([&](TMessageForm& question) {
            for (int request = 0; request < 2; ++request) {
                QCloseEvent closeBox;
                QCoreApplication::sendEvent(form_->windowHandle(), &closeBox);
            }
            QCoreApplication::processEvents();
            questionStayed = question.isVisible();
            windowStayed = form_->isVisible() && form_->windowHandle()->handle() != nullptr;
            question.Button(mbCancel)->click();
        });
        Action("ActF_Close")->trigger();
        QVERIFY(driver.Ran());
        QVERIFY(questionStayed);
        QVERIFY(windowStayed);
        QVERIFY(form_->isVisible());
        QVERIFY(form_->Store().Modified());
    }

    // Delete and Shift+F10 act on the list with the focus, F2 renames, Esc is shown beside
    // 終了 as its shortcut.
    void keysOfTheListsAndTheMenu()
    {
        folder_->AddCatalog("Alpha", {"/a"});
        folder_->AddCatalog("Beta", {"/x/b"});
        int renames = 0;
        CatalogFormServices services;
        services.runRenameDialog = [&renames](QWidget*, const std::string&, std::string&, const RenameDialogServices&) {
            ++renames;
            return QDialog::Rejected;
        };
        Open(std::move(services));
        ShowActive();
        const auto popupBy = [](QWidget* list) {
            QString opened;
            const ModalDriver<QMenu> driver([&opened](QMenu& menu) { opened = menu.objectName(); });
            list->setFocus();
            QTest::keyClick(list, Qt::Key_F10, Qt::ShiftModifier);
            return opened;
        };

        Tree()->setFocus();
        prompter_.Answer(mrNo);
        QTest::keyClick(Tree(), Qt::Key_Delete);
        QCOMPARE(prompter_.boxes.back().msg, Cp932Text("Beta を削除しますか？"));
        QTest::keyClick(Tree(), Qt::Key_F2);
        QCOMPARE(renames, 1);
        QCOMPARE(popupBy(Tree()), QStringLiteral("PopTree"));

        // Delete acts only in the list that has the focus: wait until it has it.
        QTRY_VERIFY(form_->isActiveWindow());
        List()->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(List()));
        SelectRows(*List(), {0});
        prompter_.Answer(mrYes);
        QTest::keyClick(List(), Qt::Key_Delete);
        QCOMPARE(prompter_.boxes.back().msg, Cp932Text("b を削除しますか？"));
        QCOMPARE(form_->Store().Catalog(1).Objects, std::vector<std::string> {});
        QCOMPARE(popupBy(List()), QStringLiteral("PopView"));
        QCOMPARE(form_->Store().Count(), 2);

        QCOMPARE(Action("ActF_Close")->shortcut(), QKeySequence(Qt::Key_Escape));
        QCOMPARE(Action("ActF_CatRename")->shortcut(), QKeySequence(Qt::Key_F2));
    }

    // カタログを開く lists catalog files of the program folder by the load rules and names
    // what it cannot list.
    void openListsExistingCatalogFiles()
    {
        folder_->AddCatalog("Alpha", {"/a"});
        folder_->AddCatalog("Beta", {"/b"});
        std::vector<ObjectChooserSettings> asked;
        std::optional<ObjectChoice> choice;
        CatalogFormServices services;
        services.runObjectChooser = [&](QWidget*, const ObjectChooserSettings& settings) {
            asked.push_back(settings);
            return choice;
        };
        Open(std::move(services));
        prompter_.Answer(mrYes);
        Action("ActF_CatDelete")->trigger();
        QCOMPARE(Tree()->topLevelItemCount(), 1);

        const std::string alpha = folder_->Path() + "Alpha.VrCat";
        const std::string beta = folder_->Path() + "Beta.VrCat";
        choice = ObjectChoice {{}, {beta, alpha}, true};
        Action("ActF_CatOpen")->trigger();
        QCOMPARE(asked.size(), std::size_t(1));
        QCOMPARE(asked[0].Title, Cp932Text("カタログを開く"));
        QCOMPARE(asked[0].Filter, Cp932Text("カタログファイル (*.VrCat)|*.VrCat"));
        QCOMPARE(asked[0].InitialDir, folder_->Path());
        QVERIFY(asked[0].Options & ofFileMustExist);
        QCOMPARE(Tree()->topLevelItemCount(), 2);
        QCOMPARE(Tree()->currentItem()->text(0), QStringLiteral("Beta"));
        QCOMPARE(Names(), QStringList {QStringLiteral("b")});
        QVERIFY(form_->Store().Modified());
        QCOMPARE(prompter_.boxes.back().msg,
                 Cp932Text("カタログ「Alpha」は既にカタログリストにあります（大文字と小文字は区別しません）。"));
        QVERIFY(Named<QAction>(*form_, "ActF")->menu()->actions().contains(Action("ActF_CatOpen")));
    }

    void anUnreadableCatalogIsToldOnceShownGreyedAndKept()
    {
        folder_->AddCatalog("Alpha", {"/a"});
        QVERIFY(folder_->AddUnreadableCatalog("loop"));
        folder_->AddCatalog("Beta", {"/b"});
        Open();
        QCOMPARE(stopBoxes_.size(), 1u);
        QVERIFY(Cp932ToDisplay(stopBoxes_[0]).contains("\nファイル loop.VrCat は開けません: リンク"));
        QCOMPARE(Tree()->topLevelItemCount(), 3);
        QTreeWidgetItem* loop = Tree()->topLevelItem(1);
        QCOMPARE(loop->text(0), QString("loop"));
        QVERIFY(loop->toolTip(0).contains("読み込めなかった"));
        QVERIFY(loop->foreground(0) != Tree()->topLevelItem(0)->foreground(0));

        SelectCatalog(1);
        QCOMPARE(form_->ObjectList().Count(), 0);
        QCOMPARE(CountText(), QString("読み込めないカタログです"));
        for (const char* name : {"ActF_CatUpdate", "ActF_CatRename", "ActI_ItemFileAdd"})
            QVERIFY2(!Action(name)->isEnabled(), name);
        QVERIFY(Action("ActF_CatDelete")->isEnabled());

        SelectCatalog(0);
        QVERIFY(Action("ActF_CatRename")->isEnabled());
        prompter_.Answer(mrYes);
        Action("ActF_CatDelete")->trigger();
        prompter_.Answer(mrYes);
        Action("ActF_CatSave")->trigger();
        QVERIFY(!form_->Store().Modified());
        QCOMPARE(folder_->ControlFile(), QByteArray("[Compress]\r\n0=loop.VrCat\r\n1=Beta.VrCat\r\n"));
        QVERIFY(QFileInfo(folder_->dir.filePath("loop.VrCat")).isSymLink());
        QCOMPARE(stopBoxes_.size(), 1u);
    }

    void aLoadFailureGoesToTheStopBox()
    {
        folder_->AddCatalog("Alpha", {"/a"});
        Open();
        form_.reset();
        const QString control = folder_->dir.filePath("VrCatCtl.ini");
        QVERIFY(QFile::remove(control));
        QCOMPARE(::mkfifo(control.toLocal8Bit().constData(), 0644), 0);
        Open();
        QCOMPARE(stopBoxes_, std::vector<std::string>{Cp932Text("ファイル " + folder_->Path() + "VrCatCtl.ini は開けません.")});
        QVERIFY(prompter_.boxes.empty());
        QCOMPARE(Tree()->topLevelItemCount(), 0);
    }

    void aFailedSaveAtCloseGoesToTheStopBoxAndKeepsTheWindow()
    {
        folder_->AddCatalog("Alpha", {"/a"});
        Open();
        ShowActive();
        QVERIFY(QFile::remove(folder_->dir.filePath("Alpha.VrCat")));
        QVERIFY(QDir(folder_->dir.path()).mkdir("Alpha.VrCat"));
        form_->Store().AddObjects(0, {"/new"});
        prompter_.Answer(mrYes);  // save at close
        prompter_.Answer(mrYes);  // overwrite what changed on disk
        Action("ActF_Close")->trigger();
        QCOMPARE(stopBoxes_.size(), 1u);
        QCOMPARE(Cp932ToDisplay(stopBoxes_[0]), "ファイル " + folder_->dir.filePath("Alpha.VrCat") + " を作成できません: その名前のフォルダがあります.");
        QCOMPARE(prompter_.boxes.size(), 2u);
        QVERIFY(form_->isVisible());
        QVERIFY(form_->Store().Modified());
    }

    void closesWithoutAQuestionWhenUnmodified()
    {
        folder_->AddCatalog("Alpha", {"/a"});
        Open();
        QVERIFY(Shown(*form_));
        Action("ActF_Close")->trigger();
        QVERIFY(!form_->isVisible());
        QVERIFY(prompter_.boxes.empty());
    }

    void captionAndSaveFollowModified()
    {
        folder_->AddCatalog("Alpha", {"/a"});
        Open();
        form_->Store().SetModified(true);
        QCOMPARE(form_->windowTitle(), QString("Tessna - (更新)"));
        QVERIFY(Action("ActF_CatSave")->isEnabled());
        form_->Store().SetModified(false);
        QCOMPARE(form_->windowTitle(), QString("Tessna "));
        QVERIFY(!Action("ActF_CatSave")->isEnabled());
    }

    void placementAndTreeWidthPersist()
    {
        folder_->AddCatalog("Alpha", {"/a"});
        Open();
        QVERIFY(Shown(*form_));
        QCOMPARE(Named<QWidget>(*form_, "PnlTree")->width(), 160);
        form_->setGeometry(60, 90, 700, 420);   // within the test screen of 800 by 600
        auto* splitter = Named<QSplitter>(*form_, "Splitter");
        splitter->setSizes({230, 465});
        QTRY_COMPARE(Named<QWidget>(*form_, "PnlTree")->width(), 230);
        const QRect placed = form_->geometry();
        form_.reset();

        Open();
        QVERIFY(Shown(*form_));
        QTRY_COMPARE(form_->geometry(), placed);
        QTRY_COMPARE(Named<QWidget>(*form_, "PnlTree")->width(), 230);
    }

    void startedMaximisedKeepsTheTreeWidthOnly()
    {
        folder_->AddCatalog("Alpha", {"/a"});
        Open();
        QVERIFY(Shown(*form_));
        form_->setGeometry(150, 100, 640, 400);
        Named<QSplitter>(*form_, "Splitter")->setSizes({200, 435});
        QTRY_COMPARE(Named<QWidget>(*form_, "PnlTree")->width(), 200);
        form_.reset();

        CatalogFormServices services;
        services.startedMaximized = true;
        Open(std::move(services));
        QVERIFY(Shown(*form_));
        QVERIFY(form_->geometry().topLeft() != QPoint(150, 100));
        QTRY_COMPARE(Named<QWidget>(*form_, "PnlTree")->width(), 200);
    }

    void rightClickSelectsTheCatalogOfItsMenu()
    {
        folder_->AddCatalog("Alpha", {"/a"});
        folder_->AddCatalog("Beta", {"/b"});
        Open();
        QVERIFY(Shown(*form_));
        int nodeInMenu = -1;
        const ModalDriver<QMenu> menu([this, &nodeInMenu](QMenu&) { nodeInMenu = form_->CurrentCatalogNode(); });
        const QRect first = Tree()->visualItemRect(Tree()->topLevelItem(0));
        QContextMenuEvent event(QContextMenuEvent::Mouse, first.center(), Tree()->viewport()->mapToGlobal(first.center()));
        QApplication::sendEvent(Tree()->viewport(), &event);
        QVERIFY(menu.Ran());
        QCOMPARE(nodeInMenu, 0);
        QCOMPARE(Tree()->currentItem()->text(0), QString("Alpha"));
        QCOMPARE(Names(), QStringList({"a"}));
    }

    void helpOpensTheHelpFileOfTheProgramFolder()
    {
        WriteFile(folder_->dir.filePath("TESSNA.HLP"),
                  "<html><body><a name=\"contents\"></a><p>Contents here</p>"
                  "<a name=\"2101\"></a><p>New catalog</p></body></html>");
        folder_->AddCatalog("Alpha", {"/a"});
        Open();
        ShowActive();
        QTest::keyClick(form_.get(), Qt::Key_F1);
        HelpViewer* viewer = HelpViewer::Of(form_.get());
        QVERIFY(viewer->isVisible());
        QVERIFY(viewer->Browser()->toPlainText().contains("Contents here"));
        viewer->Quit();
        QVERIFY(!viewer->isVisible());
    }

    void objectColumnsGrowWithTheFontAndTheFolderFillsTheList()
    {
        const QString name = QStringLiteral("写真_00_0000.jpg");
        folder_->AddCatalog("Photos", {QDir(folder_->dir.path()).filePath(name)});
        Open();
        ShowActive();
        form_->resize(1000, 400);
        QHeaderView* header = List()->horizontalHeader();
        const int icon = List()->style()->pixelMetric(QStyle::PM_SmallIconSize);
        QVERIFY(header->sectionSize(0) >= List()->fontMetrics().horizontalAdvance(name) + icon + 10);
        QTRY_COMPARE(header->sectionPosition(1) + header->sectionSize(1), List()->viewport()->width());
    }

    // The filter shows the rows whose name or folder holds every word, width and case aside,
    // counts them against all objects, and stays set across a sort and another catalog.
    void filterNarrowsTheListAndCountsTheShownRows()
    {
        folder_->AddCatalog("Other", {existingFile_, existingFolder_});
        folder_->AddCatalog("Mixed", {missing_, existingFile_, existingFolder_});
        Open();
        auto* box = Named<QLineEdit>(*form_, "EdtFilter");
        QCOMPARE(box->placeholderText(), QString("フィルタ"));
        QCOMPARE(box->accessibleName(), QString("フィルタ"));
        QCOMPARE(box->text(), QString());

        box->setText("ＴＸＴ");
        QCOMPARE(Names(), QStringList({"afile.txt", "0missing.txt"}));
        QCOMPARE(CountText(), QString("2 / 3 件のオブジェクト"));
        ClickHeader(0);
        QCOMPARE(Names(), QStringList({"0missing.txt", "afile.txt"}));
        box->setText("txt objects AFILE");
        QCOMPARE(Names(), QStringList({"afile.txt"}));
        QCOMPARE(CountText(), QString("1 / 3 件のオブジェクト"));

        SelectCatalog(0);
        QCOMPARE(Names(), QStringList({"afile.txt"}));
        QCOMPARE(CountText(), QString("1 / 2 件のオブジェクト"));
        box->clear();
        QCOMPARE(Names(), QStringList({"afile.txt", "zfolder"}));
        QCOMPARE(CountText(), QString("2 件のオブジェクト"));
    }

    // Each text of the shared filter cases shows its objects and counts them against all.
    void filterCasesShowTheirObjects()
    {
        folder_->AddCatalog("Filter", MakeFilterObjects(folder_->dir.filePath("filter")));
        Open();
        auto* box = Named<QLineEdit>(*form_, "EdtFilter");
        for (const FilterCase& c : FilterCases) {
            box->setText(c.typed);
            QCOMPARE(SortedNames(Names()), SortedNames(c.shown));
            QCOMPARE(CountText(), FilterCountText(c));
        }
    }

    // Ctrl+E and F3 reach the box; Esc clears it, then hands the focus to the list, and never
    // closes the window; Enter takes the focus to the first row.
    void filterBoxKeys()
    {
        folder_->AddCatalog("Mixed", {missing_, existingFile_, existingFolder_});
        Open();
        ShowActive();
        auto* box = Named<QLineEdit>(*form_, "EdtFilter");
        Tree()->setFocus();
        QTest::keyClick(Tree(), Qt::Key_E, Qt::ControlModifier);
        QTRY_COMPARE(QApplication::focusWidget(), box);
        QTest::keyClicks(box, "zfold");
        QCOMPARE(Names(), QStringList({"zfolder"}));

        QTest::keyClick(box, Qt::Key_Return);
        QTRY_COMPARE(QApplication::focusWidget(), List());
        QCOMPARE(List()->currentIndex().row(), 0);
        QCOMPARE(CountText(), QString("1 件のオブジェクトを選択"));

        QTest::keyClick(List(), Qt::Key_F3);
        QTRY_COMPARE(QApplication::focusWidget(), box);
        QCOMPARE(box->selectedText(), QString("zfold"));
        QTest::keyClick(box, Qt::Key_Escape);
        QCOMPARE(box->text(), QString());
        QCOMPARE(Names().size(), 3);
        QCOMPARE(QApplication::focusWidget(), box);
        QTest::keyClick(box, Qt::Key_Escape);
        QTRY_COMPARE(QApplication::focusWidget(), List());
        QVERIFY(form_->isVisible());
        QVERIFY(prompter_.boxes.empty());
    }

    void actionsCarryTheirCaptionsKeysAndGlyphs()
    {
        Open();
        QCOMPARE(Action("ActF_CatNew")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_N));
        QCOMPARE(Action("ActF_CatSave")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
        QCOMPARE(Action("ActI_ItemFileAdd")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F));
        QCOMPARE(Action("ActH_Topic")->shortcut(), QKeySequence(Qt::Key_F1));
        QCOMPARE(Action("ActF_CatUpdate")->text(), QString("修正ウイザード(&U)"));
        for (const char* name : {"ActF_CatNew", "ActF_CatUpdate", "ActF_CatDelete", "ActF_CatRename", "ActF_CatSave",
                                 "ActF_Close", "ActI_ItemFileAdd", "ActI_ItemDelete", "ActH_Topic"}) {
            QVERIFY2(!Action(name)->icon().pixmap(16, 16).isNull(), name);
            QVERIFY2(!Action(name)->toolTip().isEmpty(), name);
        }
        QVERIFY(!Action("ActF_Property")->isVisible());
    }
};

TESSNA_QTEST_MAIN(TestCatalogForm)
#include "CatalogForm_test.moc"
