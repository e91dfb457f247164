// The road of one catalog through the running program: the new wizard, a name, two objects
// through the chooser, the summary, Finish, the modified caption, Save, and the files.

#include "app/CatalogForm.h"
#include "catalog/CatalogStore.h"
#include "support/core/Cp932.h"
#include "support/core/MessageDlg.h"
#include "tests/app/OpenCatalogForm.h"
#include "tests/common/CatalogFolder.h"
#include "tests/common/FileBytes.h"
#include "tests/common/ModalDriver.h"
#include "tests/common/NamedChild.h"
#include "tests/common/QtTestMain.h"
#include "tests/common/ScriptedPrompter.h"
#include "tests/common/ShowWindow.h"
#include "tests/common/TempFolder.h"
#include "wizard/TessnaForm.h"
#include "wizard/WizardObjectList.h"

#include <QAction>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTreeWidget>
#include <QUrl>

#include <functional>
#include <memory>

class TestCatalogRoad : public QObject {
    Q_OBJECT

    CatalogFolder programFolder_;
    TempFolder objects_;
    ScriptedPrompter prompter_;

    // A program folder listing one catalog, file <fileName>.VrCat titled title holding /a,
    // and the main window over it with its boxes answered by prompter_.
    struct Opened {
        std::unique_ptr<CatalogFolder> folder = std::make_unique<CatalogFolder>();
        std::unique_ptr<TCatalogForm> form;
    };
    Opened OpenWithCatalog(const QString& fileName, const QString& title)
    {
        Opened open;
        open.folder->AddCatalog(title, {QStringLiteral("/a")}, fileName);
        open.form = OpenCatalogForm(*open.folder, prompter_);
        return open;
    }

    // Runs the update command on the only catalog, with the wizard driven by steps.
    void Update(TCatalogForm& form, const std::function<void(TTessnaForm&)>& steps)
    {
        auto* tree = Named<QTreeWidget>(form, "TreeView");
        tree->setCurrentItem(tree->topLevelItem(0));
        const ModalDriver<TTessnaForm> driver(steps);
        Named<QAction>(form, "ActF_CatUpdate")->trigger();
        QVERIFY(driver.Ran());
    }

    static void RenameAndFinish(TTessnaForm& wizard, const QString& name)
    {
        if (!name.isEmpty())
            Named<QLineEdit>(wizard, "EdtCatName")->setText(name);
        for (int page = 0; page < 3; ++page)
            ClickNamed(wizard, "BtnNext");
    }

private slots:
    void newCatalogFromWizardToFile()
    {
        const QString folder = QString::fromStdString(objects_.MakeFolder("Photos"));
        const QString file = QString::fromStdString(objects_.MakeFile("report.doc"));

        CatalogFormServices services;
        services.runObjectChooser = [&](QWidget*, const ObjectChooserSettings&) {
            return std::optional<ObjectChoice>(ObjectChoice {{folder.toStdString()}, {file.toStdString()}, true});
        };
        const auto opened = OpenCatalogForm(programFolder_, prompter_, std::move(services));
        TCatalogForm& form = *opened;
        QVERIFY(Shown(form));

        QString summary;
        const ModalDriver<TTessnaForm> driver([&](TTessnaForm& wizard) {
            QTest::keyClicks(Named<QLineEdit>(wizard, "EdtCatName"), QStringLiteral("Backup"));
            ClickNamed(wizard, "BtnNext");
            ClickNamed(wizard, "btnFile_AddFile");
            ClickNamed(wizard, "BtnNext");
            summary = Named<QPlainTextEdit>(wizard, "MemoFin")->toPlainText();
            ClickNamed(wizard, "BtnNext");
        });
        Named<QAction>(form, "ActF_CatNew")->trigger();
        QVERIFY(driver.Ran());

        QCOMPARE(summary, QStringLiteral("[Common]\nOperation=Compress\nTitle=Backup\n\n[Options]\n\n[Objects]\n") + folder
                              + QLatin1Char('\n') + file);
        QVERIFY(form.windowTitle().endsWith(QStringLiteral("- (更新)")));
        QVERIFY(Named<QAction>(form, "ActF_CatSave")->isEnabled());
        QCOMPARE(Named<QTreeWidget>(form, "TreeView")->currentItem()->text(0), QStringLiteral("Backup"));

        prompter_.Answer(mrYes);
        Named<QAction>(form, "ActF_CatSave")->trigger();
        QVERIFY(!form.Store().Modified());
        QCOMPARE(FileBytes(programFolder_.FilePath(QStringLiteral("Backup.VrCat"))),
                 "[Common]\r\nOperation=Compress\r\nTitle=Backup\r\n\r\n[Options]\r\n\r\n[Objects]\r\n" + folder.toUtf8()
                     + "\r\n" + file.toUtf8() + "\r\n");
        QCOMPARE(programFolder_.ControlFile(), QByteArray("[Compress]\r\n0=Backup.VrCat\r\n"));
    }

    void updateWithTheSameNameChangesTheCatalogInPlace()
    {
        // The file was renamed: its displayed name is Renamed, its title still Old.
        const Opened open = OpenWithCatalog(QStringLiteral("Renamed"), QStringLiteral("Old"));
        TCatalogForm& form = *open.form;
        Update(form, [](TTessnaForm& wizard) {
            QCOMPARE(Named<QLineEdit>(wizard, "EdtCatName")->text(), QStringLiteral("Renamed"));
            wizard.ObjectList().AddWizardRow("/b");
            RenameAndFinish(wizard, {});
        });
        QCOMPARE(form.Store().Count(), 1);
        QCOMPARE(form.Store().Catalog(0).Objects, (std::vector<std::string> {"/a", "/b"}));
        QCOMPARE(form.Store().Catalog(0).Title, std::string("Old"));
        QVERIFY(form.Store().Modified());
    }

    void updateUnderANewNameAddsACatalogAndKeepsTheOld()
    {
        const Opened open = OpenWithCatalog(QStringLiteral("Alpha"), QStringLiteral("Alpha"));
        TCatalogForm& form = *open.form;
        Update(form, [](TTessnaForm& wizard) {
            wizard.ObjectList().AddWizardRow("/b");
            RenameAndFinish(wizard, QStringLiteral("Beta"));
        });
        QCOMPARE(form.Store().Count(), 2);
        QCOMPARE(form.Store().Catalog(0).Objects, std::vector<std::string> {"/a"});
        QCOMPARE(form.Store().Catalog(1).FileName, open.folder->FilePath(QStringLiteral("Beta.VrCat")).toStdString());
        QCOMPARE(form.Store().Catalog(1).Objects, (std::vector<std::string> {"/a", "/b"}));
    }

    void cancelledUpdateChangesNothing()
    {
        const Opened open = OpenWithCatalog(QStringLiteral("Alpha"), QStringLiteral("Alpha"));
        TCatalogForm& form = *open.form;
        Update(form, [](TTessnaForm& wizard) {
            wizard.ObjectList().AddWizardRow("/b");
            wizard.close();
        });
        QCOMPARE(form.Store().Catalog(0).Objects, std::vector<std::string> {"/a"});
        QVERIFY(!form.Store().Modified());
    }

    void dropOntoTheObjectListAddsLikeTheAddCommand()
    {
        const Opened open = OpenWithCatalog(QStringLiteral("Alpha"), QStringLiteral("Alpha"));
        const QString file = QString::fromStdString(objects_.MakeFile("dropped.txt"));
        const QString subfolder = QString::fromStdString(objects_.MakeFolder("Dropped"));
        TCatalogForm& form = *open.form;
        auto* tree = Named<QTreeWidget>(form, "TreeView");
        tree->setCurrentItem(tree->topLevelItem(0));

        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(file), QUrl::fromLocalFile(subfolder), QUrl::fromLocalFile(QStringLiteral("/nowhere/x")),
                      QUrl(QStringLiteral("https://example.com/")), QUrl::fromLocalFile(file)});
        QWidget* viewport = Named<QTableView>(form, "ListView")->viewport();
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &enter);
        const std::size_t boxes = prompter_.boxes.size();
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &drop);
        // Nothing is shown before the drop has returned.
        QCOMPARE(prompter_.boxes.size(), boxes);

        QTRY_COMPARE(form.Store().Catalog(0).Objects, (std::vector<std::string> {"/a", subfolder.toStdString(), file.toStdString()}));
        QVERIFY(form.Store().Modified());
        QCOMPARE(prompter_.boxes.back().text, QStringLiteral("パスではない 1 行を無視しました。\nhttps://example.com/\n"
                                                             "次の 1 件は見つからないため追加しませんでした。\n/nowhere/x"));
    }
};

TESSNA_QTEST_MAIN(TestCatalogRoad)
#include "CatalogRoad_test.moc"
