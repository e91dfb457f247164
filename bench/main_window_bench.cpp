// The main window's object list with a catalog of 100,000 objects: filling it (every path
// looked at on disk, rows made, sorted by name and shown) against merely lstat-ing the same
// paths, sorting the filled list by the folder column and back, the filter box (each
// keystroke of typing a 10-character word and erasing it again, and clearing the box, each
// timed until the list has painted its new rows), and deleting every other row (50,000,
// scattered) through the delete command, then undoing that delete.

#include "app/CatalogForm.h"
#include "app/ObjectListModel.h"
#include "bench/BenchApplication.h"
#include "bench/FilterKeystrokes.h"
#include "bench/HundredThousandObjects.h"
#include "catalog/CatalogStore.h"
#include "support/core/MessageDlg.h"

#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QTableView>

#include <sys/stat.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

// The program folder with one catalog of the benchmarks' 100,000 objects.
struct Fixture {
    HundredThousandObjects objects;

    Fixture()
    {
        const QDir root(objects.dir.path());
        QByteArray text = "[Common]\r\nOperation=Compress\r\nTitle=Big\r\n\r\n[Options]\r\n\r\n[Objects]\r\n";
        for (const std::string& path : objects.paths)
            text += QByteArray::fromStdString(path) + "\r\n";
        QFile catalog(root.filePath("Big.VrCat"));
        catalog.open(QIODevice::WriteOnly);
        catalog.write(text);
        QFile control(root.filePath("VrCatCtl.ini"));
        control.open(QIODevice::WriteOnly);
        control.write("[Compress]\r\n0=Big.VrCat\r\n");
    }
};

Fixture& TheFixture()
{
    static Fixture fixture;
    return fixture;
}

// The delete command's question is answered Yes.
class YesPrompter : public Prompter {
public:
    int ShowMessageDlg(const std::string&, MsgDlgType, MsgDlgButtons, int) override { return mrYes; }
};
YesPrompter yes;

// The window lives from the first benchmark that needs it until before the application ends.
std::unique_ptr<TCatalogForm> form;

TCatalogForm& TheForm()
{
    if (!form) {
        CatalogFormServices services;
        services.prompter = &yes;
        // The sizes have a benchmark of their own: here none is counted, so that the steps
        // below time their own work and not the arrival of counts (a catalog of 100,000
        // objects keeps the counting busy for minutes).
        services.sizes.workers = 0;
        form = std::make_unique<TCatalogForm>(TheFixture().objects.dir.path().toStdString() + "/", std::move(services));
        form->show();
        QApplication::processEvents();
    }
    return *form;
}

Timing lstatTime;
Timing fillTime;
Timing sortTime;
Timing deleteTime;
Timing undoTime;

void BM_LstatEveryPath(benchmark::State& state)
{
    const auto& paths = TheFixture().objects.paths;
    for (auto _ : state) {
        const Stopwatch watch;
        int found = 0;
        struct stat facts {};
        for (const std::string& path : paths)
            found += ::lstat(path.c_str(), &facts) == 0;
        benchmark::DoNotOptimize(found);
        lstatTime = watch.Elapsed();
        state.SetIterationTime(lstatTime.wall);
    }
}

void BM_FillObjectList(benchmark::State& state)
{
    TCatalogForm& form = TheForm();
    for (auto _ : state) {
        const Stopwatch watch;
        form.FillObjectList(0);
        QApplication::processEvents();
        fillTime = watch.Elapsed();
        state.SetIterationTime(fillTime.wall);
    }
    state.counters["rows"] = form.ObjectList().Count();
}

void BM_SortByFolderAndBack(benchmark::State& state)
{
    TCatalogForm& form = TheForm();
    for (auto _ : state) {
        form.FillObjectList(0);
        const Stopwatch watch;
        form.SortObjectList(1);
        QApplication::processEvents();
        form.SortObjectList(0);
        QApplication::processEvents();
        sortTime = watch.Elapsed();
        state.SetIterationTime(sortTime.wall);
    }
}

std::unique_ptr<FilterKeystrokes> filterKeystrokes;
FilterKeystrokes& Keystrokes()
{
    if (!filterKeystrokes) {
        TCatalogForm& form = TheForm();
        filterKeystrokes = std::make_unique<FilterKeystrokes>(*form.findChild<QLineEdit*>(QStringLiteral("EdtFilter")),
                                                              *form.findChild<QTableView*>(QStringLiteral("ListView")));
    }
    return *filterKeystrokes;
}

void BM_FilterTypeAndErase(benchmark::State& state)
{
    for (auto _ : state)
        state.SetIterationTime(Keystrokes().TypeAndErase());
}

void BM_FilterClear(benchmark::State& state)
{
    for (auto _ : state)
        state.SetIterationTime(Keystrokes().Clear());
}

// Every other row of the sorted list, selected: the objects are scattered through the catalog.
void SelectEveryOtherRow(TCatalogForm& form)
{
    auto* table = form.findChild<QTableView*>(QStringLiteral("ListView"));
    QItemSelection selection;
    for (int row = 0; row < form.ObjectList().Count(); row += 2)
        selection.select(table->model()->index(row, 0), table->model()->index(row, ObjectListModel::ColumnCount - 1));
    table->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

void BM_DeleteHalfAndUndo(benchmark::State& state)
{
    TCatalogForm& form = TheForm();
    auto* remove = form.findChild<QAction*>(QStringLiteral("ActI_ItemDelete"));
    auto* undo = form.findChild<QAction*>(QStringLiteral("ActE_Undo"));
    for (auto _ : state) {
        form.FillObjectList(0);
        SelectEveryOtherRow(form);
        QApplication::processEvents();
        const Stopwatch deleting;
        remove->trigger();
        QApplication::processEvents();
        deleteTime = deleting.Elapsed();
        const Stopwatch undoing;
        undo->trigger();
        QApplication::processEvents();
        undoTime = undoing.Elapsed();
        state.SetIterationTime(deleteTime.wall + undoTime.wall);
        if (form.Store().Catalog(0).Objects.size() != TheFixture().objects.paths.size())
            state.SkipWithError("the undo did not bring every object back");
    }
}

BENCHMARK(BM_LstatEveryPath)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FillObjectList)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortByFolderAndBack)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FilterTypeAndErase)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FilterClear)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DeleteHalfAndUndo)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    const BenchApplication application(argc, argv);
    TheFixture();
    BenchApplication::Run(argc, argv);

    std::printf("%d rows; last run of each step, wall clock / processor time:\n",
                TheForm().ObjectList().Count());
    std::printf("  lstat every path       %6.0f ms / %6.0f ms\n", lstatTime.wall * 1e3, lstatTime.cpu * 1e3);
    std::printf("  FillObjectList         %6.0f ms / %6.0f ms\n", fillTime.wall * 1e3, fillTime.cpu * 1e3);
    std::printf("  sort by folder and back %5.0f ms / %6.0f ms\n", sortTime.wall * 1e3, sortTime.cpu * 1e3);
    std::printf("fill / lstat (limit 3): %.2f wall clock, %.2f processor time\n",
                fillTime.wall / lstatTime.wall, fillTime.cpu / lstatTime.cpu);
    std::printf("sort and back / fill: %.2f wall clock, %.2f processor time (limit 1000 ms)\n",
                sortTime.wall / fillTime.wall, sortTime.cpu / fillTime.cpu);
    if (filterKeystrokes)
        filterKeystrokes->Print("main window's object list", TheForm().ObjectList().Count(), fillTime);
    std::printf("delete 50,000 of 100,000 rows %6.0f ms / %6.0f ms (limit 300 ms)\n", deleteTime.wall * 1e3,
                deleteTime.cpu * 1e3);
    std::printf("undo of that delete           %6.0f ms / %6.0f ms (limit 300 ms)\n", undoTime.wall * 1e3,
                undoTime.cpu * 1e3);
    filterKeystrokes.reset();
    form.reset();
    return 0;
}
