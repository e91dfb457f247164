// Counting a catalog of one folder holding 100,000 files in 5,000 folders: the first total
// against `du -sb --apparent-size` on the same tree in the same run, a repeat with nothing
// changed, the longest stall of the event loop while the walk runs, and how long a file
// appended to inside the tree takes to show in the total.
//
// Counting a catalog of many separate files, as a list shows it: the time from following
// them to the total, against an lstat of every path in the same run, and the longest stall
// of the event loop meanwhile.

#include "support/core/ListSizes.h"
#include "support/core/SizeIndex.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTemporaryDir>
#include <QTimer>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int FolderCount = 5'000;
constexpr int FilesPerFolder = 20;

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::duration duration)
{
    return std::chrono::duration<double, std::milli>(duration).count();
}

// 5,000 folders, 50 below each of 100, with 20 files of assorted sizes in each.
struct Tree {
    QTemporaryDir root;
    std::string path = root.path().toStdString() + "/tree";

    Tree()
    {
        mkdir(path.c_str(), 0755);
        for (int folder = 0; folder < FolderCount; ++folder) {
            const std::string parent = path + "/group" + std::to_string(folder / 50);
            mkdir(parent.c_str(), 0755);
            const std::string here = folder % 50 == 0 ? parent : parent + "/folder" + std::to_string(folder);
            mkdir(here.c_str(), 0755);
            for (int file = 0; file < FilesPerFolder; ++file) {
                const std::string name = here + "/file" + std::to_string(file) + ".dat";
                const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
                if (ftruncate(fd, (folder * FilesPerFolder + file) % 10'000) != 0)
                    std::perror(name.c_str());
                close(fd);
            }
        }
    }
};

Tree& TheTree()
{
    static Tree tree;
    return tree;
}

// Runs begin, then the event loop until done holds; gives the longest gap between two ticks
// of a 1 ms timer, the time begin took included. The loop sleeps between events, so that it
// leaves the cores to the walk.
template <typename Begin, typename Done>
double LongestStallWhile(Begin begin, Done done)
{
    double longest = 0;
    auto last = Clock::now();
    QTimer tick;
    tick.setInterval(1);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const auto now = Clock::now();
        longest = std::max(longest, Milliseconds(now - last));
        last = now;
    });
    tick.start();
    begin();
    const QDeadlineTimer limit(120'000);
    while (!done() && !limit.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return longest;
}

template <typename Done>
double LongestStallWhile(Done done)
{
    return LongestStallWhile([] {}, done);
}

double DuMilliseconds(const std::string& path)
{
    const std::string command = "du -sb --apparent-size '" + path + "' > /dev/null";
    const auto start = Clock::now();
    if (std::system(command.c_str()) != 0)
        return -1;
    return Milliseconds(Clock::now() - start);
}

void BM_CatalogTotal(benchmark::State& state)
{
    const Tree& tree = TheTree();
    const std::vector<std::string> objects = {tree.path};
    for (auto _ : state) {
        const double du = DuMilliseconds(tree.path);
        SizeIndex index;
        const auto start = Clock::now();
        index.Request(objects);
        const double stall = LongestStallWhile([&] { return index.Total(objects).has_value(); });
        const double first = Milliseconds(Clock::now() - start);
        const auto total = index.Total(objects);
        if (!total || total->files != FolderCount * FilesPerFolder) {
            state.SkipWithError("the total is wrong");
            return;
        }

        const auto again = Clock::now();
        index.Request(objects);
        LongestStallWhile([&] { return !index.Counting(); });
        const double repeat = Milliseconds(Clock::now() - again);

        const std::string grown = tree.path + "/group7/folder377/file3.dat";
        const auto appended = Clock::now();
        std::ofstream(grown, std::ios::app) << "more";
        LongestStallWhile([&] { return index.Total(objects) && index.Total(objects)->bytes == total->bytes + 4; });
        const double live = Milliseconds(Clock::now() - appended);

        state.SetIterationTime(first / 1000);
        state.counters["du_ms"] = du;
        state.counters["first_ratio"] = first / du;
        state.counters["repeat_ratio"] = repeat / du;
        state.counters["longest_stall_ms"] = stall;
        state.counters["live_update_ms"] = live;
        std::printf("first total %.0f ms, du %.0f ms: ratio %.2f; repeat %.2f ms: ratio %.3f; "
                    "longest event-loop stall %.1f ms; appended file shown after %.0f ms\n",
                    first, du, first / du, repeat, repeat / du, stall, live);
    }
}

BENCHMARK(BM_CatalogTotal)->UseManualTime()->Iterations(2)->Unit(benchmark::kMillisecond);

constexpr int FilesPerSeparateFolder = 1'000;

// Files of assorted sizes, 1,000 to a folder, each an object of the catalog.
struct SeparateFiles {
    QTemporaryDir root;
    std::vector<std::string> paths;
    std::int64_t bytes = 0;

    explicit SeparateFiles(int count)
    {
        for (int file = 0; file < count; ++file) {
            const std::string folder = root.path().toStdString() + "/f" + std::to_string(file / FilesPerSeparateFolder);
            if (file % FilesPerSeparateFolder == 0)
                mkdir(folder.c_str(), 0755);
            paths.push_back(folder + "/file" + std::to_string(file) + ".dat");
            const int fd = open(paths.back().c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (ftruncate(fd, file % 5'000) != 0)
                std::perror(paths.back().c_str());
            bytes += file % 5'000;
            close(fd);
        }
    }
};

const SeparateFiles& TheFiles(int count)
{
    static std::map<int, std::unique_ptr<SeparateFiles>> files;
    auto& made = files[count];
    if (!made)
        made = std::make_unique<SeparateFiles>(count);
    return *made;
}

double LstatMilliseconds(const std::vector<std::string>& paths)
{
    const auto start = Clock::now();
    struct stat info { };
    for (const std::string& path : paths) {
        if (lstat(path.c_str(), &info) != 0)
            return -1;
    }
    return Milliseconds(Clock::now() - start);
}

void BM_SeparateFilesTotal(benchmark::State& state)
{
    const SeparateFiles& files = TheFiles(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const double lstat = LstatMilliseconds(files.paths);
        SizeIndex index;
        ListSizes list(index);
        const auto start = Clock::now();
        const double stall = LongestStallWhile([&] { list.Follow(files.paths); },
                                               [&] { return list.Total().has_value(); });
        const double total = Milliseconds(Clock::now() - start);
        if (!list.Total() || list.Total()->files != std::int64_t(files.paths.size())
            || list.Total()->bytes != files.bytes) {
            state.SkipWithError("the total is wrong");
            return;
        }
        state.SetIterationTime(total / 1000);
        state.counters["lstat_ms"] = lstat;
        state.counters["ratio"] = total / lstat;
        state.counters["longest_stall_ms"] = stall;
        std::printf("%zu separate files: total after %.0f ms, lstat of each %.0f ms: ratio %.2f; "
                    "longest event-loop stall %.1f ms\n",
                    files.paths.size(), total, lstat, total / lstat, stall);
    }
}

BENCHMARK(BM_SeparateFilesTotal)
    ->Arg(10'000)
    ->Arg(100'000)
    ->UseManualTime()
    ->Iterations(2)
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return EXIT_SUCCESS;
}
