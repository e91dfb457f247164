// Adding one chooser result of 10,000 objects to the wizard's list, against merely lstat-ing
// the same paths in the same run. The list keeps every row in sorted order as it comes, so
// the add must stay close to the cost of the one status query each object needs.

#include "support/core/MessageDlg.h"
#include "wizard/WizardObjectList.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int ObjectCount = 10'000;
constexpr double AllowedRatio = 3.0;

class SilentPrompter : public Prompter {
public:
    int ShowMessageDlg(const std::string&, TMsgDlgType, TMsgDlgButtons, int) override { return mrYes; }
};

// Files in a few folders with names in random order, and the folders themselves.
struct ObjectTree {
    QTemporaryDir root;
    std::vector<std::string> folders;
    std::vector<std::string> files;

    ObjectTree()
    {
        std::mt19937 random(20261208);
        std::vector<int> numbers(ObjectCount);
        for (int i = 0; i < ObjectCount; ++i)
            numbers[static_cast<std::size_t>(i)] = i;
        std::shuffle(numbers.begin(), numbers.end(), random);
        const char* extensions[] = {".txt", ".doc", ".jpg", ".c", ".tar.gz", ""};
        for (int folder = 0; folder < 10; ++folder) {
            const QString path = root.path() + QStringLiteral("/folder%1").arg(folder);
            QDir().mkpath(path);
            folders.push_back(path.toStdString());
        }
        for (int i = 0; i < ObjectCount - static_cast<int>(folders.size()); ++i) {
            const int number = numbers[static_cast<std::size_t>(i)];
            const std::string path = folders[static_cast<std::size_t>(number % 10)] + "/object_"
                + std::to_string(number) + extensions[number % 6];
            QFile file(QString::fromStdString(path));
            file.open(QIODevice::WriteOnly);
            file.write(std::string(static_cast<std::size_t>(number % 5000), 'x').c_str());
            files.push_back(path);
        }
    }

    std::vector<std::string> All() const
    {
        std::vector<std::string> all = folders;
        all.insert(all.end(), files.begin(), files.end());
        return all;
    }
};

ObjectTree& Tree()
{
    static ObjectTree tree;
    return tree;
}

double bestLstat = std::numeric_limits<double>::max();
double bestAdd = std::numeric_limits<double>::max();

double Seconds(std::chrono::steady_clock::duration duration)
{
    return std::chrono::duration<double>(duration).count();
}

void BM_LstatPaths(benchmark::State& state)
{
    const std::vector<std::string> paths = Tree().All();
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        struct stat facts {};
        for (const std::string& path : paths)
            benchmark::DoNotOptimize(::lstat(path.c_str(), &facts));
        const double elapsed = Seconds(std::chrono::steady_clock::now() - start);
        bestLstat = std::min(bestLstat, elapsed);
        state.SetIterationTime(elapsed);
    }
}

void BM_AddChooserResult(benchmark::State& state)
{
    const ObjectTree& tree = Tree();
    SilentPrompter prompter;
    for (auto _ : state) {
        TWizardObjectList list(prompter);
        list.SetChooserRunner([&tree](QWidget*, const ObjectChooserSettings&) {
            return ObjectChoice {tree.folders, tree.files, true};
        });
        const auto start = std::chrono::steady_clock::now();
        list.ActAddFile_FileExecute();
        const double elapsed = Seconds(std::chrono::steady_clock::now() - start);
        if (list.RowCount() != ObjectCount)
            state.SkipWithError("not every object was added");
        bestAdd = std::min(bestAdd, elapsed);
        state.SetIterationTime(elapsed);
    }
}

BENCHMARK(BM_LstatPaths)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_AddChooserResult)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    const double ratio = bestAdd / bestLstat;
    std::printf("adding %d objects: %.2f ms, lstat of the same paths: %.2f ms, ratio %.2f (limit %.1f)\n",
                ObjectCount, bestAdd * 1000, bestLstat * 1000, ratio, AllowedRatio);
    return ratio <= AllowedRatio ? EXIT_SUCCESS : EXIT_FAILURE;
}
