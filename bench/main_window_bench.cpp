// The main window's object list with a catalog of 100,000 objects: filling it (every path
// looked at on disk, rows made, sorted by name and shown) against merely lstat-ing the same
// paths, sorting the filled list by the folder column and back, the filter box (each
// keystroke of typing a 10-character word and erasing it again, and clearing the box, each
// timed until the list has painted its new rows), and deleting every other row (50,000,
// scattered) through the delete command, then undoing that delete.

#include "app/CatalogForm.h"
#include "app/ObjectListModel.h"
#include "catalog/CatalogStore.h"
#include "support/core/MessageDlg.h"

#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QItemSelectionModel>
#include <QTableView>
#include <QUndoStack>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QLocale>
#include <QTableView>
#include <QTemporaryDir>

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kFolders = 100;
constexpr int kFilesPerFolder = 990;
constexpr int kFolderObjects = 500;
constexpr int kMissingObjects = 500;

// The program folder with one catalog of 100,000 objects: existing files in 100 folders,
// some folders and some paths where nothing exists, in a scattered order.
struct Fixture {
    QTemporaryDir dir;
    std::vector<std::string> paths;

    Fixture()
    {
        const QDir root(dir.path());
        for (int f = 0; f < kFolders; ++f) {
            const QString folder = QStringLiteral("data/folder%1").arg(f, 3, 10, QLatin1Char('0'));
            root.mkpath(folder);
            for (int i = 0; i < kFilesPerFolder; ++i) {
                const QString file = root.filePath(folder + QStringLiteral("/file%1.%2").arg(i).arg(i % 7 ? "txt" : "jpg"));
                QFile(file).open(QIODevice::WriteOnly);
                paths.push_back(file.toStdString());
            }
        }
        for (int i = 0; i < kFolderObjects; ++i) {
            const QString folder = root.filePath(QStringLiteral("data/sub%1").arg(i));
            root.mkpath(folder);
            paths.push_back(folder.toStdString());
        }
        for (int i = 0; i < kMissingObjects; ++i)
            paths.push_back(root.filePath(QStringLiteral("gone/missing%1.doc").arg(i)).toStdString());
        for (std::size_t i = 0; i < paths.size(); ++i)
            std::swap(paths[i], paths[(i * 7919) % paths.size()]);

        QByteArray text = "[Common]\r\nOperation=Compress\r\nTitle=Big\r\n\r\n[Options]\r\n\r\n[Objects]\r\n";
        for (const std::string& path : paths)
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
        form = std::make_unique<TCatalogForm>(TheFixture().dir.path().toStdString() + "/", std::move(services));
        form->show();
        QApplication::processEvents();
    }
    return *form;
}

// Wall-clock and processor time of one measured step. On a machine shared with other work
// the wall clock also counts the time others ran; the processor time is the step's own.
struct Timing {
    double wall = 0;
    double cpu = 0;
};

double CpuSeconds()
{
    timespec now {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

class Stopwatch {
public:
    Timing Elapsed() const { return {double(wall_.nsecsElapsed()) / 1e9, CpuSeconds() - cpuStart_}; }

private:
    QElapsedTimer wall_ = [] { QElapsedTimer timer; timer.start(); return timer; }();
    double cpuStart_ = CpuSeconds();
};

Timing lstatTime;
Timing fillTime;
Timing sortTime;
Timing deleteTime;
Timing undoTime;

void BM_LstatEveryPath(benchmark::State& state)
{
    const auto& paths = TheFixture().paths;
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

// The word narrows step by step: "f" leaves nearly every row, "file12" a tenth of the files,
// the whole word one file per folder.
const QString kFilterWord = QStringLiteral("file12.txt");
std::vector<Timing> keystrokes;
Timing clearTime;

// What a keystroke waits for: the box's change handled and the list painted with its rows.
void ShowAnswer(TCatalogForm& form)
{
    QApplication::processEvents();
    QApplication::processEvents();
    form.findChild<QTableView*>(QStringLiteral("ListView"))->viewport()->repaint();
}

void BM_FilterTypeAndErase(benchmark::State& state)
{
    TCatalogForm& form = TheForm();
    auto* box = form.findChild<QLineEdit*>(QStringLiteral("EdtFilter"));
    for (auto _ : state) {
        box->clear();
        ShowAnswer(form);
        keystrokes.clear();
        double wall = 0;
        const auto keystroke = [&](const auto& type) {
            const Stopwatch watch;
            type();
            ShowAnswer(form);
            keystrokes.push_back(watch.Elapsed());
            wall += keystrokes.back().wall;
        };
        for (const QChar key : kFilterWord)
            keystroke([&] { box->insert(QString(key)); });
        for (qsizetype i = 0; i < kFilterWord.size(); ++i)
            keystroke([&] { box->backspace(); });
        state.SetIterationTime(wall);
    }
}

void BM_FilterClear(benchmark::State& state)
{
    TCatalogForm& form = TheForm();
    auto* box = form.findChild<QLineEdit*>(QStringLiteral("EdtFilter"));
    for (auto _ : state) {
        box->setText(kFilterWord.left(4));
        ShowAnswer(form);
        const Stopwatch watch;
        box->clear();
        ShowAnswer(form);
        clearTime = watch.Elapsed();
        state.SetIterationTime(clearTime.wall);
    }
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
        if (form.Store().Catalog(0).Objects.size() != TheFixture().paths.size())
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
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    // The window's placement goes to a settings folder of its own, not the user's.
    QTemporaryDir settings;
    qputenv("XDG_CONFIG_HOME", settings.path().toLocal8Bit());
    QApplication application(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    TheFixture();

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    std::printf("%d rows; last run of each step, wall clock / processor time:\n",
                TheForm().ObjectList().Count());
    std::printf("  lstat every path       %6.0f ms / %6.0f ms\n", lstatTime.wall * 1e3, lstatTime.cpu * 1e3);
    std::printf("  FillObjectList         %6.0f ms / %6.0f ms\n", fillTime.wall * 1e3, fillTime.cpu * 1e3);
    std::printf("  sort by folder and back %5.0f ms / %6.0f ms\n", sortTime.wall * 1e3, sortTime.cpu * 1e3);
    std::printf("fill / lstat (limit 3): %.2f wall clock, %.2f processor time\n",
                fillTime.wall / lstatTime.wall, fillTime.cpu / lstatTime.cpu);
    std::printf("sort and back / fill: %.2f wall clock, %.2f processor time (limit 1000 ms)\n",
                sortTime.wall / fillTime.wall, sortTime.cpu / fillTime.cpu);
    if (!keystrokes.empty()) {
        const auto longest = std::max_element(keystrokes.begin(), keystrokes.end(),
                                              [](const Timing& a, const Timing& b) { return a.wall < b.wall; });
        double wall = 0;
        double cpu = 0;
        for (const Timing& step : keystrokes) {
            wall += step.wall;
            cpu += step.cpu;
        }
        std::printf("filter, typing \"%s\" and erasing it (%zu keystrokes), last run:\n",
                    qPrintable(kFilterWord), keystrokes.size());
        std::printf("  each keystroke, wall clock ms:");
        for (const Timing& step : keystrokes)
            std::printf(" %.1f", step.wall * 1e3);
        std::printf("\n  longest keystroke      %6.1f ms / %6.1f ms (limit 50 ms)\n", longest->wall * 1e3,
                    longest->cpu * 1e3);
        std::printf("  mean keystroke         %6.1f ms / %6.1f ms\n", wall / double(keystrokes.size()) * 1e3,
                    cpu / double(keystrokes.size()) * 1e3);
        std::printf("  clearing the filter    %6.1f ms / %6.1f ms (limit 50 ms)\n", clearTime.wall * 1e3,
                    clearTime.cpu * 1e3);
        std::printf("longest keystroke / FillObjectList: %.3f wall clock, %.3f processor time\n",
                    longest->wall / fillTime.wall, longest->cpu / fillTime.cpu);
    }
    std::printf("delete 50,000 of 100,000 rows %6.0f ms / %6.0f ms (limit 300 ms)\n", deleteTime.wall * 1e3,
                deleteTime.cpu * 1e3);
    std::printf("undo of that delete           %6.0f ms / %6.0f ms (limit 300 ms)\n", undoTime.wall * 1e3,
                undoTime.cpu * 1e3);
    form.reset();
    return 0;
}
