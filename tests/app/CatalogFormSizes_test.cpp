#include "app/CatalogForm.h"
#include "app/ObjectListModel.h"
#include "support/core/SizeTexts.h"
#include "support/core/Cp932.h"
#include "support/core/SizeIndex.h"
#include "tests/app/OpenCatalogForm.h"
#include "tests/common/CatalogFolder.h"
#include "tests/common/ClickHeading.h"
#include "tests/common/ColumnTexts.h"
#include "tests/common/HangingWalk.h"
#include "tests/common/NamedChild.h"
#include "tests/common/QtTestMain.h"
#include "tests/common/ScriptedPrompter.h"
#include "tests/common/SizeTree.h"
#include "tests/common/TempFolder.h"
#include "wizard/TessnaForm.h"
#include "wizard/WizardObjectList.h"
#include "wizard/WizardObjectModel.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QTreeWidget>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

// Counts are made on worker threads and changes reach them through inotify: every wait is
// bounded only to end a broken test.
constexpr int Patience = 20000;

class TestCatalogFormSizes : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<CatalogFolder> catalogs_;
    std::unique_ptr<TempFolder> disk_;
    ScriptedPrompter prompter_;
    std::unique_ptr<TCatalogForm> form_;

    // Lists one catalog of the objects (names in the tree's folder; "/..." as they stand)
    // and opens the window on it.
    TCatalogForm& Open(const QStringList& names, CatalogFormServices services = {})
    {
        QStringList objects;
        for (const QString& name : names)
            objects << (name.startsWith('/') ? name : QString::fromStdString(disk_->Path(name.toStdString())));
        catalogs_->AddCatalog("Sizes", objects);
        form_ = OpenCatalogForm(*catalogs_, prompter_, std::move(services));
        return *form_;
    }

    QTableView* List() const { return Named<QTableView>(*form_, "ListView"); }
    QString TotalText() const { return Named<QLabel>(*form_, "StatusPanel1")->text(); }
    QString HintText() const { return Named<QLabel>(*form_, "StatusPanel2")->text(); }
    const ObjectListModel& Model() const { return form_->ObjectList(); }

    int RowOf(const QString& name) const
    {
        const std::string path = disk_->Path(name.toStdString());
        for (int row = 0; row < Model().Count(); ++row) {
            if (Model().Item(row).Path == path)
                return row;
        }
        return -1;
    }

    QString SizeShown(const QString& name) const
    {
        const int row = RowOf(name);
        return row < 0 ? QStringLiteral("<no row>")
                       : Model().index(row, ObjectListModel::ColSize).data().toString();
    }

    QString ToolTipOf(const QString& name) const
    {
        return Model().index(RowOf(name), ObjectListModel::ColName).data(Qt::ToolTipRole).toString();
    }

private slots:
    void init()
    {
        catalogs_ = std::make_unique<CatalogFolder>();
        disk_ = std::make_unique<TempFolder>();
        prompter_ = ScriptedPrompter();
        MakeSizeTree(*disk_);
    }

    void cleanup()
    {
        form_.reset();
        disk_.reset();
    }

    // What each row shows once counted, and the catalog's total with every file once.
    void sizesArriveInTheColumnAndTheTotal_data()
    {
        QTest::addColumn<QStringList>("objects");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QString>("total");
        QTest::newRow("a folder, recursive") << QStringList{"tree"} << QStringList{"3,210"} << SizeTotalOf(3210, 3, 3);
        QTest::newRow("a file") << QStringList{"tree/sub/b"} << QStringList{"200"} << SizeTotalOf(200, 1, 0);
        QTest::newRow("nested objects count once")
            << QStringList{"tree/sub", "tree", "tree/a"} << QStringList{"3,200", "3,210", "10"} << SizeTotalOf(3210, 3, 3);
        QTest::newRow("a missing object shows no size")
            << QStringList{"tree/a", "tree/none"} << QStringList{"10", ""} << SizeTotalOf(10, 1, 0);
    }

    void sizesArriveInTheColumnAndTheTotal()
    {
        QFETCH(QStringList, objects);
        QFETCH(QStringList, shown);
        QFETCH(QString, total);
        Open(objects);
        QTRY_COMPARE_WITH_TIMEOUT(TotalText(), total, Patience);
        for (int i = 0; i < objects.size(); ++i)
            QCOMPARE(SizeShown(objects[i]), shown[i]);
        const QModelIndex size = Model().index(0, ObjectListModel::ColSize);
        QCOMPARE(size.data(Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignRight, Qt::AlignRight);
    }

    // While counting, the status bar tells how far the count has come.
    void progressShowsWhileCounting()
    {
        const HeldWalk held(12345);
        CatalogFormServices services;
        services.sizes.walk = held.Walk();
        Open({"tree"}, std::move(services));
        QTRY_COMPARE_WITH_TIMEOUT(TotalText(), CountingText(12345), Patience);
        held.Release();
        QTRY_COMPARE_WITH_TIMEOUT(TotalText(), SizeTotalOf(3210, 3, 3), Patience);
    }

    // Showing another catalog, or closing the window, cancels the walks at once: a walk that
    // would never end on its own ends.
    void leavingTheCatalogCancelsItsWalks_data()
    {
        QTest::addColumn<bool>("close");
        QTest::newRow("another catalog") << false;
        QTest::newRow("the window closes") << true;
    }

    void leavingTheCatalogCancelsItsWalks()
    {
        QFETCH(bool, close);
        auto cancelled = std::make_shared<std::atomic<bool>>(false);
        CatalogFormServices services;
        services.sizes.walk = [cancelled](const std::string& path, const ObjectWalk*, const std::vector<std::string>&,
                                          const WalkControl& control) {
            if (path.ends_with("/stuck")) {
                while (!*control.cancelled)
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
                *cancelled = true;
            }
            return WalkTree(path, control);
        };
        catalogs_->AddCatalog("Other", {QString::fromStdString(disk_->Path("tree"))});
        Open({"stuck"}, std::move(services));
        QTest::qWait(50);
        QVERIFY(!*cancelled);
        if (close)
            form_->close();
        else
            Named<QTreeWidget>(*form_, "TreeView")->setCurrentItem(
                Named<QTreeWidget>(*form_, "TreeView")->topLevelItem(0));
        QTRY_VERIFY_WITH_TIMEOUT(*cancelled, Patience);
    }

    // Changes on disk reach the column, the icon's group and the total without any action.
    void changesOnDiskFollow_data()
    {
        QTest::addColumn<QString>("object");
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("exists");
        QTest::addColumn<QString>("total");
        QTest::newRow("a file grows in place") << "tree" << "grow tree/sub/deeper/c" << "4,210" << true << SizeTotalOf(4210, 3, 3);
        QTest::newRow("a folder gains a file") << "tree" << "add tree/sub/d" << "3,215" << true << SizeTotalOf(3215, 4, 3);
        QTest::newRow("a listed file vanishes") << "tree/a" << "remove tree/a" << "" << false << SizeTotalOf(0, 0, 0);
        QTest::newRow("a listed file appears") << "tree/new" << "add tree/new" << "5" << true << SizeTotalOf(5, 1, 0);
    }

    void changesOnDiskFollow()
    {
        QFETCH(QString, object);
        QFETCH(QString, change);
        QFETCH(QString, shown);
        QFETCH(bool, exists);
        QFETCH(QString, total);
        Open({object});
        QTRY_VERIFY_WITH_TIMEOUT(form_->Sizes().Total({disk_->Path(object.toStdString())}).has_value(), Patience);
        ChangeOnDisk(*disk_, change);
        QTRY_COMPARE_WITH_TIMEOUT(TotalText(), total, Patience);
        QTRY_COMPARE_WITH_TIMEOUT(SizeShown(object), shown, Patience);
        QCOMPARE(Model().Item(RowOf(object)).Attributes != -1, exists);
    }

    // An object another listed object holds names its holder in its tooltip and, as the
    // current row, in the status bar; the others are not marked.
    void nestedObjectsAreMarked_data()
    {
        QTest::addColumn<QStringList>("objects");
        QTest::addColumn<QString>("held");
        QTest::addColumn<QString>("holder");
        QTest::addColumn<QString>("free");
        QTest::newRow("a file in a listed folder") << QStringList{"tree/sub/b", "tree/sub"} << "tree/sub/b"
                                                   << "tree/sub" << "tree/sub";
        QTest::newRow("a folder in a listed folder")
            << QStringList{"tree", "tree/sub", "tree/a"} << "tree/sub" << "tree" << "tree";
    }

    void nestedObjectsAreMarked()
    {
        QFETCH(QStringList, objects);
        QFETCH(QString, held);
        QFETCH(QString, holder);
        QFETCH(QString, free);
        Open(objects);
        const QString mark = NestedObjectText(disk_->Path(holder.toStdString()));
        QTRY_VERIFY_WITH_TIMEOUT(ToolTipOf(held).contains(mark), Patience);
        QCOMPARE(ToolTipOf(free), QString::fromStdString(disk_->Path(free.toStdString())));
        List()->setCurrentIndex(Model().index(RowOf(free), 0));
        QCOMPARE(HintText(), QString());
        List()->setCurrentIndex(Model().index(RowOf(held), 0));
        QCOMPARE(HintText(), mark);
    }

    // Past the watch budget the sizes are checked now and then, and the hint says so.
    void beyondTheWatchBudgetTheHintSaysSizesAreRechecked_data()
    {
        QTest::addColumn<int>("budget");
        QTest::addColumn<QString>("hint");
        QTest::newRow("every folder watched") << 100 << QString();
        QTest::newRow("one folder of three") << 1 << RescanningText();
    }

    void beyondTheWatchBudgetTheHintSaysSizesAreRechecked()
    {
        QFETCH(int, budget);
        QFETCH(QString, hint);
        CatalogFormServices services;
        services.sizes.watchBudget = std::size_t(budget);
        Open({"tree"}, std::move(services));
        QTRY_COMPARE_WITH_TIMEOUT(TotalText(), SizeTotalOf(3210, 3, 3), Patience);
        QCOMPARE(HintText(), hint);
    }

    // The size column sorts by bytes, objects of no size first, and back on a second click.
    void sortsBySize()
    {
        Open({"tree/sub/deeper/c", "tree/none", "tree/a", "tree"});
        QTRY_COMPARE_WITH_TIMEOUT(TotalText(), SizeTotalOf(3210, 3, 3), Patience);
        ClickHeading(List()->horizontalHeader(), ObjectListModel::ColSize);
        QCOMPARE(ColumnTexts(Model(), ObjectListModel::ColSize), (QStringList{"", "10", "3,000", "3,210"}));
        ClickHeading(List()->horizontalHeader(), ObjectListModel::ColSize);
        QCOMPARE(ColumnTexts(Model(), ObjectListModel::ColSize), (QStringList{"3,210", "3,000", "10", ""}));
    }

    // The wizard counts with the window's index: what the window counted costs it no new
    // walk, and its closing leaves the window's counts as they were.
    void theWizardTakesTheWindowsCounts()
    {
        auto walks = std::make_shared<std::atomic<int>>(0);
        CatalogFormServices services;
        services.sizes.walk = [walks](const std::string& path, const ObjectWalk* previous,
                                      const std::vector<std::string>& changed, const WalkControl& control) {
            ++*walks;
            return previous ? UpdateWalk(path, *previous, changed, control) : WalkTree(path, control);
        };
        QString shown;
        QString folderSize;
        services.runCatalogWizard = [&](QWidget* owner, TCatalogParam& data, const CatalogWizardServices& given) {
            TTessnaForm wizard(data, given, owner);
            wizard.show();
            wizard.BtnNextClick();
            const WizardObjectModel& rows = wizard.ObjectList().Model();
            folderSize = rows.index(0, WizardObjectModel::ColSize).data().toString();
            wizard.BtnNextClick();
            // At once: nothing is counted again.
            shown = Named<QLabel>(wizard, "LblCatTotal")->text();
            return QDialog::Rejected;
        };
        Open({"tree", "tree/sub/b"}, std::move(services));
        QTRY_COMPARE_WITH_TIMEOUT(TotalText(), SizeTotalOf(3210, 3, 3), Patience);
        Named<QAction>(*form_, "ActF_CatUpdate")->trigger();
        QCOMPARE(folderSize, QStringLiteral("3,210"));
        QCOMPARE(shown, SizeTotalOf(3210, 3, 3));
        QCOMPARE(walks->load(), 2);
        QCOMPARE(TotalText(), SizeTotalOf(3210, 3, 3));
        QCOMPARE(SizeShown("tree"), QStringLiteral("3,210"));
    }
};

TESSNA_QTEST_MAIN(TestCatalogFormSizes)
#include "CatalogFormSizes_test.moc"
