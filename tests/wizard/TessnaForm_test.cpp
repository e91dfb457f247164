#include "support/core/Cp932.h"
#include "support/core/SizeTexts.h"
#include "support/ui/FilterBox.h"
#include "support/ui/ScreenFit.h"
#include "tests/common/ClearRegistry.h"
#include "tests/common/HangingWalk.h"
#include "tests/common/ModalDriver.h"
#include "tests/common/NamedChild.h"
#include "tests/common/QtTestMain.h"
#include "tests/common/ScriptedPrompter.h"
#include "tests/common/ShowWindow.h"
#include "tests/common/SizeTree.h"
#include "tests/common/TempFolder.h"
#include "wizard/TessnaForm.h"
#include "wizard/WizardObjectList.h"
#include "wizard/WizardObjectModel.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>

#include <functional>
#include <memory>

class TestTessnaForm : public QObject {
    Q_OBJECT

    TempFolder tree_;
    ScriptedPrompter boxes_;
    std::vector<int> helpContexts_;
    std::vector<std::string> listed_;

    std::string Folder() const { return tree_.Path() + '/'; }
    std::string MakeFile(const QString& name) const { return tree_.MakeFile(name.toStdString()); }

    CatalogWizardServices Services()
    {
        CatalogWizardServices services;
        services.programFolder = Folder();
        services.prompter = &boxes_;
        services.showHelp = [this](int context) { helpContexts_.push_back(context); };
        services.checkName = [this](const std::string& name) {
            return CatalogNameProblem(name, Folder(), listed_);
        };
        return services;
    }

    std::unique_ptr<TTessnaForm> ShowWizard(const TCatalogParam& param = {},
                                            CatalogWizardServices services = {.programFolder = {}})
    {
        if (services.programFolder.empty())
            services = Services();
        auto wizard = std::make_unique<TTessnaForm>(param, std::move(services));
        ShowActive(*wizard);
        return wizard;
    }

    static QLineEdit* NameBox(const TTessnaForm& wizard) { return Named<QLineEdit>(wizard, "EdtCatName"); }
    static QPushButton* Button(const TTessnaForm& wizard, const char* name) { return Named<QPushButton>(wizard, name); }
    static QString Summary(const TTessnaForm& wizard)
    {
        return Named<QPlainTextEdit>(wizard, "MemoFin")->toPlainText();
    }
    static QString TotalShown(const TTessnaForm& wizard) { return Named<QLabel>(wizard, "LblCatTotal")->text(); }
    static QString SummaryPath(const TTessnaForm& wizard)
    {
        return Named<QLabel>(wizard, "LblCatFileName")->text();
    }

private slots:
    void init()
    {
        boxes_ = ScriptedPrompter();
        helpContexts_.clear();
        listed_.clear();
    }

    void enterWithAnEmptyNameSaysWhyAndStaysOnTheFirstPage()
    {
        auto wizard = ShowWizard();
        QCOMPARE(QApplication::focusWidget(), NameBox(*wizard));
        QVERIFY(!Button(*wizard, "BtnBack")->isEnabled());
        QTest::keyClick(NameBox(*wizard), Qt::Key_Return);
        QCOMPARE(wizard->CurrentPage(), int(TTessnaForm::Page01));
        QCOMPARE(QApplication::focusWidget(), NameBox(*wizard));
        QCOMPARE(boxes_.boxes.size(), std::size_t(1));
        QCOMPARE(boxes_.boxes.back().msg, Cp932Text("カタログ名を指定してください。"));
        QCOMPARE(boxes_.boxes.back().dlgType, MsgDlgType::mtError);

        QTest::keyClicks(NameBox(*wizard), QStringLiteral("Back\\/:*?\"<>| up"));
        QCOMPARE(NameBox(*wizard)->text(), QStringLiteral("Back up"));
        QTest::keyClick(NameBox(*wizard), Qt::Key_Return);
        QCOMPARE(wizard->CurrentPage(), int(TTessnaForm::Page02));
        QVERIFY(Button(*wizard, "BtnBack")->isEnabled());
    }

    // Enter presses the button that has the focus; in the name box it still means Next.
    void enterPressesTheFocusedButton()
    {
        const auto tabTo = [](QPushButton* button) {
            for (int i = 0; i < 20 && QApplication::focusWidget() != button; ++i)
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), button);
            QTest::keyClick(button, Qt::Key_Return);
        };
        auto wizard = ShowWizard();
        QTest::keyClicks(NameBox(*wizard), QStringLiteral("Keys"));
        tabTo(Button(*wizard, "BtnNext"));
        QCOMPARE(wizard->CurrentPage(), int(TTessnaForm::Page02));
        wizard->ObjectList().AddWizardRow(MakeFile(QStringLiteral("keys/a.txt")));
        tabTo(Button(*wizard, "BtnNext"));
        QCOMPARE(wizard->CurrentPage(), int(TTessnaForm::Page03));
        tabTo(Button(*wizard, "BtnBack"));
        QCOMPARE(wizard->CurrentPage(), int(TTessnaForm::Page02));
        tabTo(Button(*wizard, "BtnNext"));
        QCOMPARE(Button(*wizard, "BtnNext")->text(), QStringLiteral("完了(&F)"));
        QTest::keyClick(Button(*wizard, "BtnNext"), Qt::Key_Enter);
        QVERIFY(!wizard->Cancelled());
        QVERIFY(wizard->isHidden());
    }

    void needsAnObjectOnTheSecondPage()
    {
        auto wizard = ShowWizard();
        NameBox(*wizard)->setText(QStringLiteral("Backup"));
        wizard->BtnNextClick();
        wizard->BtnNextClick();
        QCOMPARE(wizard->CurrentPage(), int(TTessnaForm::Page02));
        QCOMPARE(boxes_.boxes.back().msg, Cp932Text("圧縮するオブジェクトを指定してください。"));
        QCOMPARE(boxes_.boxes.back().dlgType, MsgDlgType::mtInformation);
    }

    void cancelAsksOnlyWhenSomethingWasEntered()
    {
        auto empty = ShowWizard();
        empty->BtnCancelClick();
        QVERIFY(empty->isHidden());
        QVERIFY(empty->Cancelled());
        QVERIFY(boxes_.boxes.empty());

        auto named = ShowWizard();
        NameBox(*named)->setText(QStringLiteral("x"));
        boxes_.Answer(mrNo);
        named->BtnCancelClick();
        QVERIFY(named->isVisible());
        QCOMPARE(boxes_.boxes.back().msg, Cp932Text("終了しますか？"));
        boxes_.Answer(mrYes);
        named->BtnCancelClick();
        QVERIFY(named->isHidden());
        QVERIFY(named->Cancelled());
    }

    void rebuildsTheSummaryAfterGoingBackAndFinishesInListOrder()
    {
        auto wizard = ShowWizard();
        NameBox(*wizard)->setText(QStringLiteral("Backup"));
        wizard->BtnNextClick();
        const std::string report = MakeFile(QStringLiteral("Data/report.doc"));
        const std::string photos = Folder() + "Data/Photos";
        QDir().mkpath(QString::fromStdString(photos));
        wizard->ObjectList().AddWizardRow(report);
        wizard->ObjectList().AddWizardRow(photos);
        wizard->BtnNextClick();
        QCOMPARE(Button(*wizard, "BtnNext")->text(), QStringLiteral("完了(&F)"));
        QCOMPARE(SummaryPath(*wizard), QString::fromStdString(Folder() + "Backup.VrCat"));
        QCOMPARE(Summary(*wizard), QString::fromStdString("[Common]\nOperation=Compress\nTitle=Backup\n\n[Options]\n\n[Objects]\n"
                                                          + photos + "\n" + report));

        wizard->BtnBackClick();
        wizard->BtnBackClick();
        QCOMPARE(wizard->CurrentPage(), int(TTessnaForm::Page01));
        QCOMPARE(Button(*wizard, "BtnNext")->text(), QStringLiteral("次へ(&N)"));
        NameBox(*wizard)->setText(QStringLiteral("Archive 2"));
        wizard->BtnNextClick();
        wizard->BtnNextClick();
        QVERIFY(Summary(*wizard).contains(QStringLiteral("Title=Archive 2\n")));
        QCOMPARE(SummaryPath(*wizard), QString::fromStdString(Folder() + "Archive 2.VrCat"));

        wizard->BtnNextClick();
        QVERIFY(!wizard->Cancelled());
        QCOMPARE(wizard->Param().Common, (std::vector<std::string> {"Operation=Compress", "Title=Archive 2"}));
        QVERIFY(wizard->Param().Options.empty());
        QCOMPARE(wizard->Param().Objects, (std::vector<std::string> {photos, report}));
    }

    void modifyModeStartsFromTheCatalogAndItsObjects()
    {
        TCatalogParam param;
        param.FileName = "/elsewhere/Tool/Backup.VrCat";
        const std::string b = MakeFile(QStringLiteral("modify/b.txt"));
        const std::string a = MakeFile(QStringLiteral("modify/a.txt"));
        param.InitialObjects = {b, a, b};
        auto wizard = ShowWizard(param);
        QVERIFY(wizard->ModifyMode());
        QCOMPARE(NameBox(*wizard)->text(), QStringLiteral("Backup"));
        QCOMPARE(wizard->ObjectList().RowCount(), 2);

        wizard->BtnNextClick();
        wizard->BtnNextClick();
        QCOMPARE(SummaryPath(*wizard), QStringLiteral("/elsewhere/Tool/Backup.VrCat"));
        wizard->BtnHelpClick();
        QCOMPARE(helpContexts_, std::vector<int> {2102});

        wizard->BtnBackClick();
        wizard->BtnBackClick();
        NameBox(*wizard)->setText(QStringLiteral("Backup2"));
        wizard->BtnNextClick();
        wizard->BtnNextClick();
        QCOMPARE(SummaryPath(*wizard), QString::fromStdString(Folder() + "Backup2.VrCat"));
        wizard->BtnNextClick();
        QCOMPARE(wizard->Param().Objects, (std::vector<std::string> {a, b}));
        QCOMPARE(wizard->Param().FileName, param.FileName);
        QCOMPARE(wizard->Param().InitialObjects, param.InitialObjects);
    }

    void cancelInModifyModeAlwaysAsks()
    {
        TCatalogParam param;
        param.FileName = Folder() + "Kept.VrCat";
        auto wizard = ShowWizard(param);
        boxes_.Answer(mrYes);
        wizard->BtnCancelClick();
        QCOMPARE(boxes_.boxes.size(), std::size_t(1));
        QVERIFY(wizard->Cancelled());
    }

    // Esc is Cancel with its question, F1 is Help, Delete deletes the selected objects.
    void keysReachTheirCommands()
    {
        auto wizard = ShowWizard();
        QTest::keyClicks(NameBox(*wizard), QStringLiteral("Keys"));
        QTest::keyClick(NameBox(*wizard), Qt::Key_F1);
        QCOMPARE(helpContexts_, std::vector<int> {2101});
        boxes_.Answer(mrNo);
        QTest::keyClick(NameBox(*wizard), Qt::Key_Escape);
        QCOMPARE(boxes_.boxes.back().msg, Cp932Text("終了しますか？"));
        QVERIFY(wizard->isVisible());

        wizard->BtnNextClick();
        wizard->ObjectList().AddWizardRow(MakeFile(QStringLiteral("keys/a.txt")));
        QTableView* list = wizard->ObjectList().Table();
        list->setFocus();
        list->selectRow(0);
        boxes_.Answer(mrYes);
        QTest::keyClick(list, Qt::Key_Delete);
        QCOMPARE(boxes_.boxes.back().msg, Cp932Text("a.txt を削除します\r\nよろしいですか？"));
        QCOMPARE(wizard->ObjectList().RowCount(), 0);

        boxes_.Answer(mrYes);
        QTest::keyClick(list, Qt::Key_Escape);
        QVERIFY(wizard->isHidden());
        QVERIFY(wizard->Cancelled());
    }

    // On page 2 Esc and Enter in the filter box belong to the box: neither cancels the
    // wizard nor presses a button.
    void filterKeysOnPageTwoStayInTheBox()
    {
        TCatalogParam param;
        param.FileName = Folder() + "Kept.VrCat";
        param.InitialObjects = {MakeFile(QStringLiteral("page2/one.txt")), MakeFile(QStringLiteral("page2/two.bin"))};
        auto wizard = ShowWizard(param);
        wizard->BtnNextClick();
        QLineEdit* box = wizard->ObjectList().Filter();
        QTableView* list = wizard->ObjectList().Table();
        QTest::keyClick(list, Qt::Key_F3);
        QTRY_COMPARE(QApplication::focusWidget(), box);
        QTest::keyClicks(box, QStringLiteral("two"));
        QTest::keyClick(box, Qt::Key_Return);
        QTRY_COMPARE(QApplication::focusWidget(), list);
        QCOMPARE(list->currentIndex().row(), 0);

        box->setFocus();
        QTest::keyClick(box, Qt::Key_Escape);
        QCOMPARE(box->text(), QString());
        QTest::keyClick(box, Qt::Key_Escape);
        QTRY_COMPARE(QApplication::focusWidget(), list);
        QCOMPARE(wizard->CurrentPage(), int(TTessnaForm::Page02));
        QVERIFY(wizard->isVisible());
        QVERIFY(boxes_.boxes.empty());
    }

    // In modify mode page 1 says what a changed name does; a new catalog has nothing to say.
    void modifyModeSaysThatANewNameMakesANewCatalog()
    {
        const auto note = [](const TTessnaForm& wizard) { return Named<QLabel>(wizard, "LblNewName"); };
        auto fresh = ShowWizard();
        QVERIFY(note(*fresh)->isHidden());
        TCatalogParam param;
        param.FileName = Folder() + "Kept.VrCat";
        auto update = ShowWizard(param);
        QVERIFY(note(*update)->isVisible());
        QCOMPARE(note(*update)->text(), QStringLiteral("名前を変えると新しいカタログになり、このカタログはそのまま残ります。"));
    }

    // A new name whose file is on disk but not listed may list that file instead, while the
    // wizard holds no objects; No keeps the wizard open on the name.
    void offersToListTheExistingFileOfANewName()
    {
        const std::string file = MakeFile(QStringLiteral("Old.VrCat"));
        std::vector<std::string> opened;
        CatalogWizardServices services = Services();
        services.listExistingFile = [&opened](const std::string& path) { opened.push_back(path); };
        TTessnaForm wizard({}, services);
        ShowActive(wizard);
        NameBox(wizard)->setText(QStringLiteral("Old"));
        boxes_.Answer(mrNo);
        wizard.BtnNextClick();
        QVERIFY(wizard.isVisible());
        QCOMPARE(wizard.CurrentPage(), int(TTessnaForm::Page01));
        QVERIFY(opened.empty());
        QCOMPARE(boxes_.boxes.back().msg, UnlistedFileOffer(file));
        QCOMPARE(boxes_.boxes.back().buttons, mbYesNo);

        boxes_.Answer(mrYes);
        wizard.BtnNextClick();
        QCOMPARE(opened, std::vector<std::string> {file});
        QVERIFY(wizard.isHidden());
        QVERIFY(wizard.Cancelled());
    }

    void helpOpensTheNewCatalogTopic()
    {
        auto wizard = ShowWizard();
        wizard->BtnHelpClick();
        QCOMPARE(helpContexts_, std::vector<int> {2101});
    }

    void refusesANameThatAnotherListedCatalogWrites()
    {
        listed_ = {"Taken", "Mine"};
        auto wizard = ShowWizard();
        QTest::keyClicks(NameBox(*wizard), QStringLiteral("Taken"));
        QTest::keyClick(NameBox(*wizard), Qt::Key_Return);
        QCOMPARE(wizard->CurrentPage(), int(TTessnaForm::Page01));
        QCOMPARE(boxes_.boxes.back().dlgType, MsgDlgType::mtError);
        QVERIFY(Cp932ToDisplay(boxes_.boxes.back().msg).contains(QStringLiteral("Taken")));
        QCOMPARE(NameBox(*wizard)->text(), QStringLiteral("Taken"));

        TCatalogParam param;
        param.FileName = "/elsewhere/Tool/Mine.VrCat";
        auto update = ShowWizard(param);
        update->BtnNextClick();
        QCOMPARE(update->CurrentPage(), int(TTessnaForm::Page02));
        update->BtnBackClick();
        NameBox(*update)->setText(QStringLiteral("Taken"));
        const std::size_t before = boxes_.boxes.size();
        update->BtnNextClick();
        QCOMPARE(update->CurrentPage(), int(TTessnaForm::Page01));
        QCOMPARE(boxes_.boxes.size(), before + 1);
    }

    void refusesWhatTheCatalogNameRuleRefusesAndKeepsTheText()
    {
        listed_ = {"Backup"};
        MakeFile(QStringLiteral("既存.VrCat"));
        const QList<QPair<QString, QString>> cases = {
            {QStringLiteral("   "), QStringLiteral("空白だけのカタログ名は使えません。")},
            {QStringLiteral(" lead"), QStringLiteral("カタログ名「 lead」はカタログに保存すると元のとおりに読み戻せない")},
            {QString(270, u'x'), QStringLiteral("カタログ名が長すぎます。")},
            {QStringLiteral("既存"), QStringLiteral("ファイル「%1既存.VrCat」は既にあり、カタログリストにはありません。")
                                         .arg(QString::fromStdString(Folder()))},
            {QStringLiteral("BACKUP"), QStringLiteral("カタログ「BACKUP」は既にカタログリストにあります（大文字と小文字は区別しません）。\n"
                                                      "別のカタログ名を指定してください。")}};
        auto wizard = ShowWizard();
        for (const auto& [typed, message] : cases) {
            NameBox(*wizard)->clear();
            // Keys type ASCII only; a Japanese name arrives as an input method commits it.
            if (typed.front().unicode() < 0x80)
                QTest::keyClicks(NameBox(*wizard), typed);
            else
                NameBox(*wizard)->insert(typed);
            QTest::keyClick(NameBox(*wizard), Qt::Key_Return);
            QCOMPARE(wizard->CurrentPage(), int(TTessnaForm::Page01));
            QCOMPARE(boxes_.boxes.back().dlgType, MsgDlgType::mtError);
            QVERIFY2(boxes_.boxes.back().text.startsWith(message), qPrintable(boxes_.boxes.back().text));
            QCOMPARE(NameBox(*wizard)->text(), typed);
        }
        QCOMPARE(boxes_.boxes.size(), std::size_t(cases.size()));
    }

    void refusesAPastedNameWithPathCharacters()
    {
        auto wizard = ShowWizard();
        NameBox(*wizard)->setText(QStringLiteral("../../escape"));
        wizard->BtnNextClick();
        QCOMPARE(wizard->CurrentPage(), int(TTessnaForm::Page01));
        QCOMPARE(boxes_.boxes.size(), std::size_t(1));
        QCOMPARE(boxes_.boxes.back().dlgType, MsgDlgType::mtError);
        NameBox(*wizard)->setText(QStringLiteral("a,b"));
        wizard->BtnNextClick();
        QCOMPARE(wizard->CurrentPage(), int(TTessnaForm::Page01));
        QCOMPARE(boxes_.boxes.size(), std::size_t(2));
    }

    // The wizard can be made larger, never smaller than designed; the object list takes
    // all the room, and the next wizard opens at the size the last one was left at.
    void growsWithTheListAndKeepsItsSize()
    {
        ClearRegistry();
        const QSize larger(60, 40);   // within the test screen of 800 by 600
        QSize designed;
        {
            auto wizard = ShowWizard();
            designed = wizard->size();
            QCOMPARE(wizard->minimumSize(), designed);
            QVERIFY(wizard->maximumWidth() > designed.width() && wizard->maximumHeight() > designed.height());
            QVERIFY(wizard->windowFlags() & Qt::WindowMaximizeButtonHint);
            QTest::keyClicks(NameBox(*wizard), QStringLiteral("x"));
            Button(*wizard, "BtnNext")->click();
            QWidget* table = wizard->ObjectList().Table();
            const QSize before = table->size();
            wizard->resize(designed + larger);
            QTRY_COMPARE(table->size(), before + larger);
        }
        auto wizard = ShowWizard();
        QCOMPARE(wizard->size(), designed + larger);
    }

    // Fitted to a screen's available area, the wizard lies within it on every page with
    // every button and text whole inside it; a wizard designed wider than the area is
    // narrowed, never left wider, and one that fits keeps its designed size.
    void fitsTheAvailableAreaOnEveryPage_data()
    {
        QTest::addColumn<QRect>("available");
        QTest::newRow("1280 by 900 at scale 2") << QRect(0, 0, 640, 450);
        QTest::newRow("the same under a panel") << QRect(0, 30, 640, 420);
        QTest::newRow("1280 by 900 at scale 1") << QRect(0, 0, 1280, 900);
    }
    void fitsTheAvailableAreaOnEveryPage()
    {
        QFETCH(QRect, available);
        ClearRegistry();
        auto wizard = ShowWizard();
        const QSize designed = wizard->size();
        FitInto(wizard.get(), available);
        QTRY_VERIFY(available.contains(wizard->frameGeometry()));
        if (designed.width() <= available.width() && designed.height() <= available.height())
            QCOMPARE(wizard->size(), designed);
        QTest::keyClicks(NameBox(*wizard), QStringLiteral("Fit"));
        // Every button and text of the page lies inside the wizard at its full width, its
        // wrapped lines at their full height.
        const auto everythingReachable = [&] {
            QCoreApplication::processEvents();
            for (QWidget* widget : wizard->findChildren<QWidget*>()) {
                if (!widget->isVisibleTo(wizard.get()) || !(qobject_cast<QPushButton*>(widget) || qobject_cast<QLabel*>(widget)))
                    continue;
                const QRect inWizard(widget->mapTo(wizard.get(), QPoint()), widget->size());
                const QByteArray name = widget->objectName().toUtf8() + ' ' + widget->property("text").toString().toUtf8();
                QVERIFY2(wizard->rect().contains(inWizard), name);
                QVERIFY2(widget->width() >= widget->minimumSizeHint().width(), name);
                QVERIFY2(widget->height() >= widget->heightForWidth(widget->width()), name);
            }
        };
        everythingReachable();
        Button(*wizard, "BtnNext")->click();
        wizard->ObjectList().AddWizardRow(MakeFile(QStringLiteral("fit/a.txt")));
        QCOMPARE(wizard->CurrentPage(), int(TTessnaForm::Page02));
        everythingReachable();
        Button(*wizard, "BtnNext")->click();
        QCOMPARE(wizard->CurrentPage(), int(TTessnaForm::Page03));
        everythingReachable();
        QVERIFY(available.contains(wizard->frameGeometry()));
    }

    void closeBoxEndsTheRunWithoutAQuestion()
    {
        auto wizard = ShowWizard();
        NameBox(*wizard)->setText(QStringLiteral("x"));
        wizard->close();
        QVERIFY(wizard->isHidden());
        QVERIFY(wizard->Cancelled());
        QVERIFY(boxes_.boxes.empty());
    }

    // The run is modal: act on the wizard once it is up, then look at the record.
    void runLeavesTheRecordUntouchedWhenCancelledAndFillsItWhenFinished()
    {
        const std::string object = MakeFile(QStringLiteral("run/a.txt"));
        const auto drive = [&object](const std::function<void(TTessnaForm&)>& steps) {
            return std::make_unique<ModalDriver<TTessnaForm>>([&object, steps](TTessnaForm& wizard) {
                NameBox(wizard)->setText(QStringLiteral("Run"));
                wizard.BtnNextClick();
                wizard.ObjectList().AddWizardRow(object);
                wizard.BtnNextClick();
                steps(wizard);
            });
        };
        TCatalogParam param;
        param.Common = {"keep"};
        const TCatalogParam original = param;
        const auto cancel = drive([](TTessnaForm& wizard) { wizard.close(); });
        QCOMPARE(RunCatalogWizard(nullptr, param, Services()), QDialog::Rejected);
        QVERIFY(cancel->Ran());
        QCOMPARE(param.Common, original.Common);
        QVERIFY(param.Objects.empty());

        const auto finish = drive([](TTessnaForm& wizard) { wizard.BtnNextClick(); });
        QCOMPARE(RunCatalogWizard(nullptr, param, Services()), QDialog::Accepted);
        QVERIFY(finish->Ran());
        QCOMPARE(param.Common, (std::vector<std::string> {"Operation=Compress", "Title=Run"}));
        QCOMPARE(param.Objects, std::vector<std::string> {object});
    }

    // Page 3 tells the catalog's total under the summary, each file once, and follows the
    // count from its progress to its end.
    void thirdPageShowsTheCatalogTotal_data()
    {
        QTest::addColumn<QStringList>("objects");
        QTest::addColumn<QString>("total");
        QTest::newRow("a folder and a file in it") << QStringList {"tree", "tree/sub/b"} << SizeTotalOf(3210, 3, 3);
        QTest::newRow("a file and a missing object") << QStringList {"tree/a", "tree/none"} << SizeTotalOf(10, 1, 0);
    }

    void thirdPageShowsTheCatalogTotal()
    {
        QFETCH(QStringList, objects);
        QFETCH(QString, total);
        const QString prefix = QStringLiteral("total-") + QTest::currentDataTag();
        MakeSizeTree(tree_, prefix.toStdString());
        TCatalogParam param;
        param.FileName = Folder() + "Total.VrCat";
        for (const QString& object : objects)
            param.InitialObjects.push_back(tree_.Path((prefix + '/' + object).toStdString()));
        const HeldWalk held(7);
        CatalogWizardServices services = Services();
        services.sizeOptions.walk = held.Walk();
        auto wizard = ShowWizard(param, std::move(services));
        wizard->BtnNextClick();
        wizard->BtnNextClick();
        QCOMPARE(wizard->CurrentPage(), int(TTessnaForm::Page03));
        QTRY_COMPARE_WITH_TIMEOUT(TotalShown(*wizard), CountingText(7 * objects.size()), 20000);
        held.Release();
        QTRY_COMPARE_WITH_TIMEOUT(TotalShown(*wizard), total, 20000);
    }

    // However the wizard closes, it returns while a count of its objects hangs (as on a dead
    // mount), and that count is told to end.
    void closingWhileACountHangsReturnsAtOnce_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("result");
        QTest::newRow("close box") << "close" << int(QDialog::Rejected);
        QTest::newRow("Cancel confirmed") << "cancel" << int(QDialog::Rejected);
        QTest::newRow("Finish") << "finish" << int(QDialog::Accepted);
    }

    void closingWhileACountHangsReturnsAtOnce()
    {
        QFETCH(QString, how);
        QFETCH(int, result);
        const std::string folder = tree_.MakeFolder("hang-" + how.toStdString());
        HangingWalk hanging(tree_.Path("fifo-" + how.toStdString()));
        CatalogWizardServices services = Services();
        services.sizeOptions.walk = hanging.Walk();
        boxes_.Answer(mrYes);
        const ModalDriver<TTessnaForm> driver([&](TTessnaForm& wizard) {
            NameBox(wizard)->setText(QStringLiteral("Hang"));
            wizard.BtnNextClick();
            wizard.ObjectList().AddWizardRow(folder);
            QTRY_VERIFY_WITH_TIMEOUT(hanging.Hung(), 20000);
            if (how == "close") {
                wizard.close();
            } else if (how == "cancel") {
                wizard.BtnCancelClick();
            } else {
                wizard.BtnNextClick();
                wizard.BtnNextClick();
            }
            QVERIFY(wizard.isHidden());
            QVERIFY(hanging.Cancelled());  // by the closing itself, the wizard still there
        });
        TCatalogParam param;
        QCOMPARE(int(RunCatalogWizard(nullptr, param, services)), result);
        QVERIFY(driver.Ran());
        QVERIFY(!hanging.Ended());
        QVERIFY(hanging.Cancelled());
        hanging.LetGo();
        QTRY_VERIFY_WITH_TIMEOUT(hanging.Ended(), 20000);
    }
};

TESSNA_QTEST_MAIN(TestTessnaForm)
#include "TessnaForm_test.moc"
