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
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int ObjectCount = 10'000;
constexpr double AllowedRatio = 3.0;

class SilentPrompter : public Prompter {
public:
    int ShowMessageDlg(const std::string&, MsgDlgType, MsgDlgButtons, int) override { return mrYes; }
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

double Seconds(std::chrono::steady_clock::duration duration)
{
    return std::chrono::duration<double>(duration).count();
}

template <typename Work>
double Timed(Work work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return Seconds(std::chrono::steady_clock::now() - start);
}

// One round: lstat every path, then add them all as one chooser result to a fresh list.
// Rounds alternate the two, so that the load of a shared machine weighs on both alike.
struct Round {
    double lstat;
    double add;
};
std::vector<Round> rounds;

void BM_AddChooserResultAgainstLstat(benchmark::State& state)
{
    const ObjectTree& tree = Tree();
    const std::vector<std::string> paths = tree.All();
    SilentPrompter prompter;
    for (auto _ : state) {
        const double lstat = Timed([&] {
            struct stat facts {};
            for (const std::string& path : paths)
                benchmark::DoNotOptimize(::lstat(path.c_str(), &facts));
        });
        WizardObjectList list({&prompter, [&tree](QWidget*, const ObjectChooserSettings&) {
            return ObjectChoice {tree.folders, tree.files, true};
        }});
        const double add = Timed([&] { list.ActAddFile_FileExecute(); });
        if (list.RowCount() != ObjectCount)
            state.SkipWithError("not every object was added");
        rounds.push_back({lstat, add});
        state.SetIterationTime(add);
    }
}

BENCHMARK(BM_AddChooserResultAgainstLstat)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(15);

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    if (rounds.empty())
        return EXIT_FAILURE;
    std::vector<double> ratios;
    for (const Round& round : rounds)
        ratios.push_back(round.add / round.lstat);
    std::sort(ratios.begin(), ratios.end());
    const double median = ratios[ratios.size() / 2];
    const auto fastest = [](double Round::*part) {
        return (*std::min_element(rounds.begin(), rounds.end(),
                                  [part](const Round& a, const Round& b) { return a.*part < b.*part; })).*part;
    };
    std::printf("adding %d objects: %.2f ms at best, lstat of the same paths: %.2f ms at best; "
                "ratio %.2f (median of %zu rounds, limit %.1f)\n",
                ObjectCount, fastest(&Round::add) * 1000, fastest(&Round::lstat) * 1000, median, rounds.size(),
                AllowedRatio);
    return median <= AllowedRatio ? EXIT_SUCCESS : EXIT_FAILURE;
}
