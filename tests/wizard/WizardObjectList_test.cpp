#include "support/core/Cp932.h"
#include "tests/common/ClickHeading.h"
#include "tests/common/ColumnTexts.h"
#include "tests/common/FilterCases.h"
#include "tests/common/HangingWalk.h"
#include "tests/common/NamedChild.h"
#include "tests/common/QtTestMain.h"
#include "tests/common/ScriptedPrompter.h"
#include "tests/common/SelectRows.h"
#include "tests/common/ShowWindow.h"
#include "tests/common/SizeTree.h"
#include "tests/common/TempFolder.h"
#include "support/core/ListSizes.h"
#include "support/core/SizeTexts.h"
#include "support/ui/FilterBox.h"
#include "wizard/WizardObjectList.h"
#include "wizard/WizardObjectModel.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCollator>
#include <QDateTime>
#include <QHeaderView>
#include <QLabel>
#include <QMimeData>
#include <QStatusBar>
#include <QTableView>
#include <QUrl>

#include <fstream>
#include <random>

namespace {

using Model = WizardObjectModel;

QString Text(const Model& model, int row, int column)
{
    return model.index(row, column).data().toString();
}

QStringList Names(const Model& model)
{
    return ColumnTexts(model, Model::ColName);
}

// Counts are made on worker threads and changes reach them through inotify: every wait is
// bounded only to end a broken test.
constexpr int Patience = 20000;

int RowOf(const Model& model, const std::string& path)
{
    for (int row = 0; row < model.rowCount(); ++row) {
        if (model.Row(row).Path == path)
            return row;
    }
    return -1;
}

QString SizeShown(const Model& model, const std::string& path)
{
    const int row = RowOf(model, path);
    return row < 0 ? QStringLiteral("<no row>") : Text(model, row, Model::ColSize);
}

// Host paths in the program's form (code page 932).
std::vector<std::string> ProgramPaths(const QStringList& paths)
{
    std::vector<std::string> converted;
    for (const QString& path : paths)
        converted.push_back(QStringToCp932(path).value());
    return converted;
}

}  // namespace

class TestWizardObjectList : public QObject {
    Q_OBJECT

    TempFolder tree_;

    QString Root() const { return QString::fromStdString(tree_.Path()); }
    std::string PathOf(const QString& name) const { return tree_.Path(name.toStdString()); }
    std::string MakeFile(const QString& name, qint64 size, const QDateTime& modified = {}) const
    {
        return tree_.MakeFile(name.toStdString(), size, modified);
    }
    std::string MakeFolder(const QString& name) const { return tree_.MakeFolder(name.toStdString()); }

    static QString Panel(const WizardObjectList& list, int panel)
    {
        return Named<QStatusBar>(list, "StatusBar_AddFile")->findChildren<QLabel*>().at(panel)->text();
    }

    // Shows the list on the screen, width pixels wide.
    static void Show(WizardObjectList& list, int width)
    {
        list.resize(width, 300);
        QVERIFY(Shown(list));
    }

    static QAction* Action(const WizardObjectList& list, const char* name) { return Named<QAction>(list, name); }

    static void Select(WizardObjectList& list, const QList<int>& rows) { SelectRows(*list.Table(), rows); }

    // The size tree under the folder prefix; gives the full paths of the names given, taken
    // in the tree.
    std::vector<std::string> MakeTree(const QString& prefix, const QStringList& names) const
    {
        MakeSizeTree(tree_, prefix.toStdString());
        std::vector<std::string> paths;
        for (const QString& name : names)
            paths.push_back(PathOf(prefix + QStringLiteral("/tree/") + name));
        return paths;
    }

    static QString SizeTip(const WizardObjectList& list)
    {
        return Named<QStatusBar>(list, "StatusBar_AddFile")->findChildren<QLabel*>().at(1)->toolTip();
    }

private slots:
    void initTestCase() { QVERIFY(tree_.IsValid()); }

    void groupsFoldersFilesAndMissingObjectsAndReversesOnSecondClick()
    {
        Model model;
        const std::string file = MakeFile(QStringLiteral("A.txt"), 10);
        const std::string folder = MakeFolder(QStringLiteral("Z"));
        const std::string missing = PathOf(QStringLiteral("0.txt"));
        model.AddWizardRow(missing);
        model.AddWizardRow(file);
        model.AddWizardRow(folder);
        QCOMPARE(model.Paths(), (std::vector<std::string> {folder, file, missing}));

        model.SortByColumn(Model::ColName);
        QCOMPARE(model.Paths(), (std::vector<std::string> {missing, file, folder}));
        QCOMPARE(model.Sorting().order, Qt::DescendingOrder);
    }

    void sortsBySizeWithFoldersAndMissingAsZeroThenBackToName()
    {
        Model model;
        const std::string big = MakeFile(QStringLiteral("size/big.bin"), 5000);
        const std::string small = MakeFile(QStringLiteral("size/small.bin"), 7);
        const std::string folder = MakeFolder(QStringLiteral("size/sub"));
        for (const std::string& path : {big, small, folder})
            model.AddWizardRow(path);

        model.SortByColumn(Model::ColSize);
        QCOMPARE(model.Paths(), (std::vector<std::string> {folder, small, big}));
        model.SortByColumn(Model::ColSize);
        QCOMPARE(model.Paths(), (std::vector<std::string> {big, small, folder}));
        model.SortByColumn(Model::ColName);
        QCOMPARE(model.Sorting().order, Qt::AscendingOrder);
        QCOMPARE(model.Paths(), (std::vector<std::string> {folder, big, small}));
    }

    void ordersDatesToTheSecondAndPlacesNewRowsInTheCurrentOrder()
    {
        Model model;
        const QDateTime minute(QDate(2024, 5, 1), QTime(10, 15, 0));
        const std::string later = MakeFile(QStringLiteral("date/later.txt"), 1, minute.addSecs(40));
        const std::string earlier = MakeFile(QStringLiteral("date/earlier.txt"), 1, minute.addSecs(2));
        const std::string middle = MakeFile(QStringLiteral("date/middle.txt"), 1, minute.addSecs(20));
        const std::string older = MakeFile(QStringLiteral("date/older.txt"), 1, minute.addDays(-1));
        model.AddWizardRow(later);
        model.AddWizardRow(earlier);

        model.SortByColumn(Model::ColDate);
        QCOMPARE(model.Paths(), (std::vector<std::string> {earlier, later}));
        QCOMPARE(Text(model, 0, Model::ColDate), Text(model, 1, Model::ColDate));
        QCOMPARE(Text(model, 0, Model::ColDate), QStringLiteral("2024/05/01 10:15"));

        model.SortByColumn(Model::ColDate);
        model.AddWizardRow(middle);
        model.AddWizardRows({older});
        QCOMPARE(model.Paths(), (std::vector<std::string> {later, middle, earlier, older}));
        QCOMPARE(model.Sorting(), (SortState {Model::ColDate, Qt::DescendingOrder}));
    }

    void sortsByTypeAndFolderTexts()
    {
        Model model;
        const std::vector<std::string> paths = {
            MakeFile(QStringLiteral("t2/b.png"), 1), MakeFile(QStringLiteral("t1/c.txt"), 1),
            MakeFile(QStringLiteral("t2/a.txt"), 1), MakeFile(QStringLiteral("t1/d.png"), 1)};
        model.AddWizardRows(paths);
        QCollator collator {QLocale()};
        collator.setCaseSensitivity(Qt::CaseSensitive);
        for (const int column : {int(Model::ColType), int(Model::ColFolder)}) {
            model.SortByColumn(column);
            for (int row = 1; row < model.rowCount(); ++row)
                QVERIFY(collator.compare(Text(model, row - 1, column), Text(model, row, column)) <= 0);
            QVERIFY(Text(model, 0, column) != Text(model, 3, column));
        }
        QCOMPARE(Text(model, 0, Model::ColFolder), QString(Root() + QStringLiteral("/t1")));
    }

    void showsMissingObjectsWithEmptySizeTypeAndDate()
    {
        Model model;
        model.AddWizardRow(PathOf(QStringLiteral("gone/nothing.doc")));
        QCOMPARE(Text(model, 0, Model::ColName), QStringLiteral("nothing.doc"));
        QCOMPARE(Text(model, 0, Model::ColSize), QString());
        QCOMPARE(Text(model, 0, Model::ColType), QString());
        QCOMPARE(Text(model, 0, Model::ColDate), QString());
        QCOMPARE(Text(model, 0, Model::ColFolder), QString(Root() + QStringLiteral("/gone")));
        QVERIFY(model.index(0, Model::ColName).data(Qt::DecorationRole).isValid());
    }

    void showsSizesGroupedRightAlignedAndTheRootWithAnEmptyName()
    {
        Model model;
        model.AddWizardRow(MakeFile(QStringLiteral("sizes/grouped.bin"), 1234567));
        model.AddWizardRow("/");
        const int file = model.Row(0).Path == "/" ? 1 : 0;
        QCOMPARE(Text(model, file, Model::ColSize), QStringLiteral("1,234,567"));
        QVERIFY(model.index(file, Model::ColSize).data(Qt::TextAlignmentRole).toInt() & Qt::AlignRight);
        QCOMPARE(Text(model, 1 - file, Model::ColName), QString());
        QCOMPARE(Text(model, 1 - file, Model::ColFolder), QStringLiteral("/"));
        QCOMPARE(Text(model, 1 - file, Model::ColSize), QString());
    }

    // The heading "サイズ" is drawn at the right of its column, like the sizes under it.
    void sizeHeadingIsRightAlignedOnScreen()
    {
        ScriptedPrompter prompter;
        WizardObjectList list({&prompter});
        Show(list, 600);
        QHeaderView* header = list.Table()->horizontalHeader();
        const QImage image = header->viewport()->grab().toImage();
        const int left = header->sectionViewportPosition(Model::ColSize);
        const int right = left + header->sectionSize(Model::ColSize);
        // The columns of the section's middle row that the heading's text darkens.
        const int y = header->height() / 2;
        QList<int> ink;
        for (int x = left + 3; x < right - 3; ++x) {
            if (qGray(image.pixel(x, y)) + 60 < qGray(image.pixel(left + 3, 2)))
                ink.append(x);
        }
        QVERIFY(!ink.isEmpty());
        QVERIFY(right - ink.back() < ink.front() - left);
    }

    void skipsOnlyExactDuplicates()
    {
        Model model;
        const std::string lower = PathOf(QStringLiteral("dup/a.txt"));
        QVERIFY(model.AddWizardRow(lower));
        QVERIFY(!model.AddWizardRow(lower));
        QCOMPARE(model.AddWizardRows({lower, PathOf(QStringLiteral("DUP/A.TXT")), PathOf(QStringLiteral("DUP/A.TXT"))}), 1);
        QCOMPARE(model.rowCount(), 2);
    }

    // Rows that compare equal included: a batch lands exactly as the same paths added one by
    // one, whatever the sort column and direction.
    void addsABatchInTheOrderOfSingleAdds()
    {
        std::vector<std::string> paths;
        for (int i = 0; i < 60; ++i)
            paths.push_back(i % 7 == 0 ? PathOf(QStringLiteral("batch/missing%1").arg(i))
                                       : MakeFile(QStringLiteral("batch/f%1.%2").arg(i).arg(i % 3 ? "txt" : "png"), i % 4));
        std::shuffle(paths.begin(), paths.end(), std::mt19937(7));
        const std::vector<std::string> first(paths.begin(), paths.begin() + 20);
        const std::vector<std::string> rest(paths.begin() + 20, paths.end());
        for (const int column : {0, 1, 2, 3, 4}) {
            for (const int clicks : {1, 2}) {
                Model single;
                Model batch;
                for (Model* model : {&single, &batch}) {
                    for (int click = 0; click < clicks; ++click)
                        model->SortByColumn(column);
                    model->AddWizardRows(first);
                }
                for (const std::string& path : rest)
                    single.AddWizardRow(path);
                batch.AddWizardRows(rest);
                QCOMPARE(batch.Paths(), single.Paths());
            }
        }
    }

    void keepsTheSelectionOnItsRowsWhenSorting()
    {
        ScriptedPrompter prompter;
        WizardObjectList list({&prompter});
        const std::string big = MakeFile(QStringLiteral("sel/big"), 900);
        list.AddWizardRows({MakeFile(QStringLiteral("sel/a"), 5), big, MakeFile(QStringLiteral("sel/c"), 50)});
        Select(list, {1});
        list.Table()->selectionModel()->setCurrentIndex(list.Model().index(1, 0), QItemSelectionModel::NoUpdate);
        Show(list, 600);
        ClickHeading(list.Table()->horizontalHeader(), Model::ColSize);
        QCOMPARE(list.Model().Sorting().column, int(Model::ColSize));
        const QModelIndexList selected = list.Table()->selectionModel()->selectedRows();
        QCOMPARE(selected.size(), 1);
        QCOMPARE(list.Model().Row(selected.front().row()).Path, big);
        QCOMPARE(list.Table()->currentIndex().row(), 2);
    }

    void countsObjectsAndSixtyFourBitTotals()
    {
        ScriptedPrompter prompter;
        WizardObjectList list({&prompter});
        QCOMPARE(Panel(list, 0), QStringLiteral("0 件のオブジェクト"));
        QCOMPARE(Panel(list, 1), QStringLiteral("0.00 KB"));
        QVERIFY(!Action(list, "ActAddFile_Del")->isEnabled());
        QVERIFY(!Action(list, "ActAddFile_AllDel")->isEnabled());

        const std::string huge = MakeFile(QStringLiteral("total/huge.iso"), 3LL << 30);
        list.AddWizardRows({huge, MakeFile(QStringLiteral("total/k.txt"), 1024), MakeFolder(QStringLiteral("total/sub"))});
        QCOMPARE(Panel(list, 0), QStringLiteral("3 件のオブジェクト"));
        QTRY_COMPARE(Panel(list, 1), QStringLiteral("3.00 GB"));
        QVERIFY(Action(list, "ActAddFile_AllDel")->isEnabled());

        Select(list, {0, 2});
        QCOMPARE(Panel(list, 0), QStringLiteral("2 件のオブジェクトを選択"));
        QTRY_COMPARE(Panel(list, 1), QStringLiteral("1.00 KB"));
        QVERIFY(Action(list, "ActAddFile_Del")->isEnabled());
    }

    void columnsShowTenGigabytesAndLongNamesWholeAndTheLastFillsTheList()
    {
        ScriptedPrompter prompter;
        WizardObjectList list({&prompter});
        Show(list, 800);
        const std::string big = MakeFile(QStringLiteral("ten/写真_00_0000.jpg"), 10LL << 30);
        list.AddWizardRows({*QStringToCp932(QString::fromStdString(big))});
        QTableView* view = list.Table();
        QCOMPARE(Text(list.Model(), 0, Model::ColSize), QStringLiteral("10,737,418,240"));
        const auto fits = [&](int column, int icon) {
            const int text = view->fontMetrics().horizontalAdvance(Text(list.Model(), 0, column));
            return view->columnWidth(column) >= text + icon + 6;
        };
        QVERIFY(fits(Model::ColSize, 0));
        QVERIFY(fits(Model::ColName, view->iconSize().width() + 4));
        QVERIFY(fits(Model::ColDate, 0));
        QHeaderView* header = view->horizontalHeader();
        QTRY_COMPARE(header->sectionPosition(Model::ColFolder) + header->sectionSize(Model::ColFolder),
                     view->viewport()->width());
    }

    // Under locales whose blanks and digits have no code page 932 form the status bar
    // still shows the numbers.
    void countsAndSizesShowUnderEveryLocale()
    {
        // Restored however the test ends, so that no later test runs under these locales.
        const struct Restore {
            QLocale saved;
            ~Restore() { QLocale::setDefault(saved); }
        } restore;
        std::vector<std::string> paths;
        for (int i = 0; i < 1500; ++i)
            paths.push_back(PathOf(QStringLiteral("locale/missing%1").arg(i)));
        paths.push_back(MakeFile(QStringLiteral("locale/big.bin"), 1536 * 1024));
        const struct {
            QLocale locale;
            QString count;
            QString size;
        } cases[] = {
            {QLocale(QLocale::French, QLocale::France), QStringLiteral("1 501 件のオブジェクト"), QStringLiteral("1,50 MB")},
            {QLocale(QLocale::Arabic, QLocale::Egypt), QStringLiteral("1,501 件のオブジェクト"), QStringLiteral("1.50 MB")},
        };
        for (const auto& c : cases) {
            QLocale::setDefault(c.locale);
            ScriptedPrompter prompter;
            WizardObjectList list({&prompter});
            list.AddWizardRows(paths);
            QCOMPARE(Panel(list, 0), c.count);
            // Each of the 1,501 objects is counted on a worker and handed back through the
            // event loop, which QTRY only turns between its short sleeps.
            QTRY_COMPARE_WITH_TIMEOUT(Panel(list, 1), c.size, Patience);
        }
    }

    void deletesTheSelectedRowsAfterTheQuestion()
    {
        ScriptedPrompter prompter;
        WizardObjectList list({&prompter});
        list.AddWizardRows({MakeFile(QStringLiteral("del/a"), 1), MakeFile(QStringLiteral("del/b"), 1),
                            MakeFile(QStringLiteral("del/c"), 1), MakeFile(QStringLiteral("del/d"), 1)});
        Select(list, {0, 2, 3});
        prompter.Answer(mrNo);
        list.ActAddFile_DelExecute();
        QCOMPARE(list.RowCount(), 4);
        QCOMPARE(prompter.boxes.back().msg, Cp932Text("3 件のオブジェクトを削除します\r\nよろしいですか？"));
        QCOMPARE(prompter.boxes.back().dlgType, MsgDlgType::mtConfirmation);

        prompter.Answer(mrYes);
        list.ActAddFile_DelExecute();
        QCOMPARE(Names(list.Model()), QStringList {QStringLiteral("b")});
        QCOMPARE(Panel(list, 0), QStringLiteral("1 件のオブジェクト"));

        Select(list, {0});
        prompter.Answer(mrYes);
        list.ActAddFile_DelExecute();
        QCOMPARE(prompter.boxes.back().msg, Cp932Text("b を削除します\r\nよろしいですか？"));
        QCOMPARE(list.RowCount(), 0);
        QVERIFY(list.Model().AddWizardRow(PathOf(QStringLiteral("del/a"))));
    }

    void deletesAllRowsAfterTheQuestion()
    {
        ScriptedPrompter prompter;
        WizardObjectList list({&prompter});
        list.AddWizardRows({MakeFile(QStringLiteral("all/a"), 100), MakeFile(QStringLiteral("all/b"), 1)});
        prompter.Answer(mrNo);
        list.ActAddFile_AllDelExecute();
        QCOMPARE(list.RowCount(), 2);
        prompter.Answer(mrYes);
        list.ActAddFile_AllDelExecute();
        QCOMPARE(prompter.boxes.back().msg, Cp932Text("すべてのオブジェクトを削除してもよろしいですか？"));
        QCOMPARE(list.RowCount(), 0);
        QTRY_COMPARE(Panel(list, 1), QStringLiteral("0.00 KB"));
        QCOMPARE(Panel(list, 0), QStringLiteral("0 件のオブジェクト"));
        QVERIFY(!Action(list, "ActAddFile_Del")->isEnabled());
        QVERIFY(!Action(list, "ActAddFile_AllDel")->isEnabled());
    }

    // The filter counts the shown rows against all of them while the size stays the whole
    // list's; delete and delete all take only shown rows; added rows it hides are told.
    void filterActsOnTheShownRowsAndSizesTheWholeList()
    {
        ScriptedPrompter prompter;
        WizardObjectList list({&prompter});
        const std::string gamma = MakeFile(QStringLiteral("filt/gamma.bin"), 1024);
        list.AddWizardRows({MakeFile(QStringLiteral("filt/alpha.txt"), 1024), MakeFile(QStringLiteral("filt/beta.txt"), 2048), gamma});
        list.Filter()->setText(QStringLiteral("ＴＸＴ"));
        QCOMPARE(Names(list.Model()), (QStringList {"alpha.txt", "beta.txt"}));
        QCOMPARE(Panel(list, 0), QStringLiteral("2 / 3 件のオブジェクト"));
        QTRY_COMPARE(Panel(list, 1), QStringLiteral("4.00 KB"));
        QCOMPARE(list.RowCount(), 3);

        const std::string delta = MakeFile(QStringLiteral("filt/delta.bin"), 1);
        list.AddWizardRows({delta, MakeFile(QStringLiteral("filt/epsilon.txt"), 1)});
        QCOMPARE(Names(list.Model()), (QStringList {"alpha.txt", "beta.txt", "epsilon.txt"}));
        QCOMPARE(Panel(list, 0), QStringLiteral("3 / 5 件のオブジェクト"));
        QCOMPARE(Panel(list, 2), QStringLiteral("追加した 1 件はフィルタ外です"));

        Select(list, {0});
        prompter.Answer(mrYes);
        list.ActAddFile_DelExecute();
        QCOMPARE(prompter.boxes.back().msg, Cp932Text("alpha.txt を削除します\r\nよろしいですか？"));
        prompter.Answer(mrYes);
        list.ActAddFile_AllDelExecute();
        QCOMPARE(prompter.boxes.back().msg, Cp932Text("表示されている 2 件のオブジェクトをすべて削除してもよろしいですか？"));
        QCOMPARE(list.Model().Paths(), (std::vector<std::string> {delta, gamma}));
        QCOMPARE(Panel(list, 0), QStringLiteral("0 / 2 件のオブジェクト"));
        QVERIFY(!Action(list, "ActAddFile_AllDel")->isEnabled());
        list.Filter()->clear();
        QCOMPARE(Names(list.Model()), (QStringList {"delta.bin", "gamma.bin"}));
        QCOMPARE(Panel(list, 2), QString());
    }

    // Each text of the shared filter cases shows its objects and counts them against all.
    void filterCasesShowTheirObjects()
    {
        ScriptedPrompter prompter;
        WizardObjectList list({&prompter});
        list.AddWizardRows(ProgramPaths(MakeFilterObjects(Root() + QStringLiteral("/cases"))));
        for (const FilterCase& c : FilterCases) {
            list.Filter()->setText(c.typed);
            QCOMPARE(SortedNames(Names(list.Model())), SortedNames(c.shown));
            QCOMPARE(Panel(list, 0), FilterCountText(c));
        }
    }

    // Select all takes the rows the filter shows, and delete removes those alone.
    void selectAllAndDeleteTakeOnlyTheShownRows()
    {
        ScriptedPrompter prompter;
        WizardObjectList list({&prompter});
        list.AddWizardRows(ProgramPaths(MakeFilterObjects(Root() + QStringLiteral("/all"))));
        ShowActive(list);
        list.Filter()->setText(QStringLiteral("txt"));
        list.Table()->setFocus();
        QTest::keyClick(list.Table(), Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(list.Table()->selectionModel()->selectedRows().size(), 3);
        QCOMPARE(Panel(list, 0), QStringLiteral("3 件のオブジェクトを選択"));
        prompter.Answer(mrYes);
        QTest::keyClick(list.Table(), Qt::Key_Delete);
        QCOMPARE(prompter.boxes.back().msg, Cp932Text("3 件のオブジェクトを削除します\r\nよろしいですか？"));
        QCOMPARE(list.RowCount(), 2);
        QCOMPARE(Panel(list, 0), QStringLiteral("0 / 2 件のオブジェクト"));
        list.Filter()->clear();
        QCOMPARE(SortedNames(Names(list.Model())), SortedNames({"Beach.JPG", "Ｒｅｐｏｒｔ.doc"}));
    }

    // Ctrl+E reaches the box; Enter takes the focus to the first row; Esc clears, then
    // hands the focus back to the list.
    void filterBoxKeys()
    {
        ScriptedPrompter prompter;
        WizardObjectList list({&prompter});
        list.AddWizardRows({MakeFile(QStringLiteral("keys/one.txt"), 1), MakeFile(QStringLiteral("keys/two.bin"), 1)});
        ShowActive(list);
        list.Table()->setFocus();
        QTest::keyClick(list.Table(), Qt::Key_E, Qt::ControlModifier);
        QTRY_COMPARE(QApplication::focusWidget(), list.Filter());
        QTest::keyClicks(list.Filter(), "two");
        QCOMPARE(Names(list.Model()), QStringList {"two.bin"});
        QTest::keyClick(list.Filter(), Qt::Key_Enter, Qt::KeypadModifier);
        QTRY_COMPARE(QApplication::focusWidget(), list.Table());
        QCOMPARE(Panel(list, 0), QStringLiteral("1 件のオブジェクトを選択"));

        list.Filter()->setFocus();
        QTest::keyClick(list.Filter(), Qt::Key_Escape);
        QCOMPARE(Names(list.Model()), (QStringList {"one.txt", "two.bin"}));
        QCOMPARE(QApplication::focusWidget(), list.Filter());
        QTest::keyClick(list.Filter(), Qt::Key_Escape);
        QTRY_COMPARE(QApplication::focusWidget(), list.Table());
        QVERIFY(prompter.boxes.empty());
    }

    // A folder shows everything below it; the total counts an object another listed object
    // holds once, for the whole list, for a selection and while a filter hides rows; the
    // held object names its holder.
    void foldersShowTheirSizeAndTheTotalCountsNestedObjectsOnce_data()
    {
        QTest::addColumn<QStringList>("objects");
        QTest::addColumn<QStringList>("sizes");
        QTest::addColumn<QString>("total");
        QTest::addColumn<QString>("totalTip");
        QTest::addColumn<int>("held");  // index into objects, or -1
        QTest::addColumn<int>("holder");
        QTest::newRow("a folder") << QStringList {"."} << QStringList {"3,210"} << "3.13 KB" << SizeTotalOf(3210, 3, 3) << -1 << -1;
        QTest::newRow("a file in a listed folder") << QStringList {".", "sub/b"} << QStringList {"3,210", "200"}
                                                   << "3.13 KB" << SizeTotalOf(3210, 3, 3) << 1 << 0;
        QTest::newRow("a folder in a listed folder") << QStringList {"sub", "sub/deeper"} << QStringList {"3,200", "3,000"}
                                                     << "3.13 KB" << SizeTotalOf(3200, 2, 2) << 1 << 0;
        QTest::newRow("apart") << QStringList {"sub/deeper", "a"} << QStringList {"3,000", "10"} << "2.94 KB"
                               << SizeTotalOf(3010, 2, 1) << -1 << -1;
        QTest::newRow("an empty folder and a missing object") << QStringList {"sub/deeper/none", "sub/deeper/c"}
                                                              << QStringList {"", "3,000"} << "2.93 KB"
                                                              << SizeTotalOf(3000, 1, 0) << -1 << -1;
    }

    void foldersShowTheirSizeAndTheTotalCountsNestedObjectsOnce()
    {
        QFETCH(QStringList, objects);
        QFETCH(QStringList, sizes);
        QFETCH(QString, total);
        QFETCH(QString, totalTip);
        QFETCH(int, held);
        QFETCH(int, holder);
        ScriptedPrompter prompter;
        WizardObjectList list({&prompter});
        const std::vector<std::string> paths = MakeTree(QStringLiteral("nest-") + QTest::currentDataTag(), objects);
        list.AddWizardRows(paths);
        QTRY_COMPARE_WITH_TIMEOUT(Panel(list, 1), total, Patience);
        QCOMPARE(SizeTip(list), totalTip);
        for (std::size_t i = 0; i < paths.size(); ++i)
            QCOMPARE(SizeShown(list.Model(), paths[i]), sizes[int(i)]);

        for (int object = 0; object < objects.size(); ++object) {
            const int row = RowOf(list.Model(), paths[std::size_t(object)]);
            const QString tip = list.Model().index(row, Model::ColName).data(Qt::ToolTipRole).toString();
            list.Table()->setCurrentIndex(list.Model().index(row, 0));
            const QString mark = object == held ? NestedObjectText(paths[std::size_t(holder)]) : QString();
            QCOMPARE(Panel(list, 2), mark);
            QCOMPARE(tip, mark.isEmpty() ? QString::fromStdString(paths[std::size_t(object)])
                                         : QString::fromStdString(paths[std::size_t(object)]) + '\n' + mark);
        }

        list.Table()->selectAll();
        QCOMPARE(Panel(list, 1), total);
        list.Table()->clearSelection();
        list.Filter()->setText(QStringLiteral("nothing matches this"));
        QCOMPARE(list.Model().rowCount(), 0);
        QCOMPARE(Panel(list, 1), total);
    }

    // While a folder is counted its size is blank and the status bar tells how far the count
    // has come; the dialog goes on answering meanwhile.
    void progressShowsWhileAFolderIsCounted()
    {
        const HeldWalk held(12345);
        ScriptedPrompter prompter;
        WizardObjectListServices services {&prompter};
        services.sizeOptions.walk = held.Walk();
        WizardObjectList list(services);
        const std::vector<std::string> paths = MakeTree(QStringLiteral("progress"), {"."});
        list.AddWizardRows(paths);
        QTRY_COMPARE_WITH_TIMEOUT(Panel(list, 1), CountingText(12345), Patience);
        QCOMPARE(SizeShown(list.Model(), paths[0]), QString());
        held.Release();
        QTRY_COMPARE_WITH_TIMEOUT(Panel(list, 1), QStringLiteral("3.13 KB"), Patience);
        QCOMPARE(SizeShown(list.Model(), paths[0]), QStringLiteral("3,210"));
    }

    // Changes on disk reach the size column, the row's kind and the total without any action.
    void changesOnDiskFollow_data()
    {
        QTest::addColumn<QString>("object");
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("exists");
        QTest::addColumn<QString>("total");
        QTest::newRow("a file in a listed folder grows") << "." << "grow sub/deeper/c" << "4,210" << true << SizeTotalOf(4210, 3, 3);
        QTest::newRow("a listed file grows") << "a" << "grow a" << "1,010" << true << SizeTotalOf(1010, 1, 0);
        QTest::newRow("a listed folder gains a file") << "sub" << "add sub/d" << "3,205" << true << SizeTotalOf(3205, 3, 2);
        QTest::newRow("a listed file vanishes") << "a" << "remove a" << "" << false << SizeTotalOf(0, 0, 0);
        QTest::newRow("a listed file appears") << "new" << "add new" << "5" << true << SizeTotalOf(5, 1, 0);
    }

    void changesOnDiskFollow()
    {
        QFETCH(QString, object);
        QFETCH(QString, change);
        QFETCH(QString, shown);
        QFETCH(bool, exists);
        QFETCH(QString, total);
        ScriptedPrompter prompter;
        WizardObjectList list({&prompter});
        const QString prefix = QStringLiteral("live-") + QTest::currentDataTag();
        const std::string path = MakeTree(prefix, {object}).front();
        list.AddWizardRows({path});
        QTRY_VERIFY_WITH_TIMEOUT(list.Sizes().Total().has_value(), Patience);
        ChangeOnDisk(tree_, change.section(' ', 0, 0) + ' ' + prefix + QStringLiteral("/tree/") + change.section(' ', 1));
        QTRY_COMPARE_WITH_TIMEOUT(SizeTip(list), total, Patience);
        QTRY_COMPARE_WITH_TIMEOUT(SizeShown(list.Model(), path), shown, Patience);
        QCOMPARE(list.Model().Row(0).kind() != TWizardObjectRow::Kind::Missing, exists);
    }

    // A list sorted by size stays sorted when a count changes a row's place.
    void aRowMovesToItsPlaceWhenItsSizeChanges()
    {
        ScriptedPrompter prompter;
        WizardObjectList list({&prompter});
        const std::vector<std::string> paths = MakeTree(QStringLiteral("move"), {"a", "sub/b", "sub"});
        list.AddWizardRows(paths);
        ClickHeading(list.Table()->horizontalHeader(), Model::ColSize);
        QTRY_COMPARE_WITH_TIMEOUT(list.Model().Paths(), paths, Patience);
        std::ofstream(paths[0], std::ios::app) << std::string(5000, 'x');
        QTRY_COMPARE_WITH_TIMEOUT(list.Model().Paths(), (std::vector<std::string> {paths[1], paths[2], paths[0]}), Patience);
    }

    // Clearing the filter brings back the rows above the current one, which stays in sight.
    void clearingTheFilterKeepsTheCurrentRowInSight()
    {
        ScriptedPrompter prompter;
        WizardObjectList list({&prompter});
        std::vector<std::string> paths;
        for (int i = 0; i < 60; ++i)
            paths.push_back(PathOf(QStringLiteral("sight/row%1.txt").arg(i, 2, 10, QLatin1Char('0'))));
        list.AddWizardRows(paths);
        Show(list, 500);
        list.Filter()->setText(QStringLiteral("row59"));
        list.Table()->setCurrentIndex(list.Model().index(0, 0));
        list.Filter()->clear();
        QTableView* table = list.Table();
        QCOMPARE(table->currentIndex().row(), 59);
        QTRY_VERIFY(table->viewport()->rect().contains(table->visualRect(table->currentIndex())));
    }

    void addsTheChooserResultFoldersFirst()
    {
        ScriptedPrompter prompter;
        ObjectChooserSettings seen;
        const std::string file = MakeFile(QStringLiteral("choose/a.txt"), 1);
        const std::string folder = MakeFolder(QStringLiteral("choose/z"));
        std::optional<ObjectChoice> choice = ObjectChoice {{folder}, {file, file}, true};
        WizardObjectList list({&prompter, [&](QWidget*, const ObjectChooserSettings& settings) {
            seen = settings;
            return choice;
        }});
        list.ActAddFile_FileExecute();
        QCOMPARE(list.Model().Paths(), (std::vector<std::string> {folder, file}));
        QCOMPARE(seen.Title, Cp932Text("圧縮するオブジェクトを選択(複数選択可)"));

        QVERIFY(prompter.boxes.empty());

        // A chosen object the list holds is named as not added.
        choice = ObjectChoice {{}, {file}, true};
        list.ActAddFile_FileExecute();
        QCOMPARE(list.RowCount(), 2);
        QCOMPARE(prompter.boxes.size(), std::size_t(1));
        QCOMPARE(prompter.boxes.back().text,
                 QStringLiteral("次の 1 件は既に一覧にあるため追加しませんでした。\n") + QString::fromStdString(file));

        choice.reset();
        list.ActAddFile_FileExecute();
        QCOMPARE(list.RowCount(), 2);
    }

    void refusesChosenAndPastedNamesACatalogCannotHold()
    {
        ScriptedPrompter prompter;
        const std::string broken = MakeFile(QStringLiteral("hold/a\rb.txt"), 1);
        const std::string file = MakeFile(QStringLiteral("hold/ok.txt"), 1);
        WizardObjectList list({&prompter, [&](QWidget*, const ObjectChooserSettings&) {
            return std::optional<ObjectChoice>(ObjectChoice {{}, {broken, file}, true});
        }});
        Action(list, "ActAddFile_File")->trigger();
        QCOMPARE(list.Model().Paths(), (std::vector<std::string> {file}));
        QCOMPARE(prompter.boxes.size(), std::size_t(1));
        QVERIFY(prompter.boxes.back().text.endsWith(Root() + QStringLiteral("/hold/a<CR>b.txt")));

        list.Model().RemoveAllRows();
        const std::string korean = MakeFile(QStringLiteral("hold/한국.txt"), 1);
        auto* data = new QMimeData;
        data->setUrls({QUrl::fromLocalFile(QString::fromStdString(broken)), QUrl::fromLocalFile(QString::fromStdString(korean)),
                       QUrl::fromLocalFile(QString::fromStdString(file))});
        QApplication::clipboard()->setMimeData(data);
        Action(list, "ActAddFile_Paste")->trigger();
        QCOMPARE(list.Model().Paths(), (std::vector<std::string> {file}));
        QCOMPARE(prompter.boxes.size(), std::size_t(2));
        QVERIFY(prompter.boxes.back().text.contains(Root() + QStringLiteral("/hold/한국.txt")));
        QVERIFY(prompter.boxes.back().text.contains(Root() + QStringLiteral("/hold/a<CR>b.txt")));
    }

    // A paste names every line it ignored, every path that names nothing on disk and every
    // path the list already holds.
    void pastesPathsAndNamesWhatItLeftOut()
    {
        ScriptedPrompter prompter;
        WizardObjectList list({&prompter});
        const std::string file = MakeFile(QStringLiteral("paste/a.txt"), 1);
        const std::string folder = MakeFolder(QStringLiteral("paste/dir"));
        const std::string missing = PathOf(QStringLiteral("paste/gone.txt"));
        QApplication::clipboard()->setText(
            QString::fromStdString(file + "\r\n\nnot a path\n" + folder + "/\n" + missing + "\nrelative/x\n"));
        Action(list, "ActAddFile_Paste")->trigger();
        QCOMPARE(list.Model().Paths(), (std::vector<std::string> {folder, file}));
        QCOMPARE(prompter.boxes.size(), std::size_t(1));
        QCOMPARE(prompter.boxes.back().text,
                 QStringLiteral("パスではない 2 行を無視しました。\nnot a path\nrelative/x\n"
                                "次の 1 件は見つからないため追加しませんでした。\n")
                     + QString::fromStdString(missing));
        QCOMPARE(Action(list, "ActAddFile_Paste")->shortcut(), QKeySequence(QKeySequence::Paste));

        QApplication::clipboard()->setText(QString::fromStdString(file));
        Action(list, "ActAddFile_Paste")->trigger();
        QCOMPARE(list.RowCount(), 2);
        QCOMPARE(prompter.boxes.back().text,
                 QStringLiteral("次の 1 件は既に一覧にあるため追加しませんでした。\n") + QString::fromStdString(file));
    }

    void addsDroppedFiles()
    {
        ScriptedPrompter prompter;
        WizardObjectList list({&prompter});
        const std::string file = MakeFile(QStringLiteral("drop/a.txt"), 1);
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(QString::fromStdString(file)), QUrl(QStringLiteral("https://example.com/x"))});
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(list.Table()->viewport(), &enter);
        QVERIFY(enter.isAccepted());
        {
            // The drag's data goes with the drop event: the list must keep a copy.
            QMimeData dragData;
            dragData.setUrls(data.urls());
            QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &dragData, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(list.Table()->viewport(), &drop);
            QVERIFY(drop.isAccepted());
        }
        // Nothing is shown before the drop has returned.
        QVERIFY(prompter.boxes.empty());
        QTRY_COMPARE(list.Model().Paths(), (std::vector<std::string> {file}));
        QCOMPARE(prompter.boxes.back().text, QStringLiteral("パスではない 1 行を無視しました。\nhttps://example.com/x"));
    }
};

TESSNA_QTEST_MAIN(TestWizardObjectList)
#include "WizardObjectList_test.moc"
