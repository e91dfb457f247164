// Load of a control file of 25,000, 50,000 and 100,000 keys: the time of LoadCatalogList
// should grow with the number of keys, not with its square. Every key names its own file; a
// thousand of them are catalogs on disk, the rest name nothing (the load looks each one up and
// drops it). Prints the best load of each size, in wall time and in the process's CPU time
// (on a shared machine the wall time also counts the waits for a core), and the ratio of
// 100,000 keys to 25,000 (4 for a linear load). The Google Benchmark part can be skipped with
// --benchmark_filter=^$.

#include "catalog/CatalogFile.h"
#include "catalog/CatalogStore.h"
#include "support/core/ProgramFolder.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

#include <time.h>

namespace {

constexpr int Catalogs = 1000;
constexpr int Sizes[] = {25000, 50000, 100000};

// A program folder whose control file lists keys catalogs, Catalogs of them on disk.
class ListFolder {
public:
    explicit ListFolder(int keys)
    {
        const std::string path = dir_.path().toStdString() + "/";
        std::ofstream control(path + ControlFileName, std::ios::binary);
        control << "[Compress]\r\n";
        for (int i = 0; i < keys; ++i) {
            const std::string name = "c" + std::to_string(i) + CatalogExtension;
            control << i << '=' << name << "\r\n";
            if (i % (keys / Catalogs) == 0)
                std::ofstream(path + name, std::ios::binary) << CatalogText({"", name, {"/data/" + name}});
        }
    }

    std::string Path() const { return dir_.path().toStdString(); }

private:
    QTemporaryDir dir_;
};

double CpuSeconds()
{
    timespec now {};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

struct Seconds {
    double wall = 1e9;
    double cpu = 1e9;
};

Seconds BestLoad(const ListFolder& folder, int runs)
{
    Seconds best;
    for (int i = 0; i < runs; ++i) {
        CatalogStore store(folder.Path());
        const auto start = std::chrono::steady_clock::now();
        const double cpuStart = CpuSeconds();
        store.LoadCatalogList();
        best.cpu = std::min(best.cpu, CpuSeconds() - cpuStart);
        best.wall = std::min(best.wall, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    return best;
}

}  // namespace

int main(int argc, char** argv)
{
    for (const int keys : Sizes) {
        benchmark::RegisterBenchmark(("LoadCatalogList/" + std::to_string(keys)).c_str(),
                                     [keys](benchmark::State& state) {
                                         const ListFolder folder(keys);
                                         for (auto _ : state) {
                                             CatalogStore store(folder.Path());
                                             store.LoadCatalogList();
                                         }
                                     })
            ->Unit(benchmark::kMillisecond)
            ->Iterations(2);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();

    Seconds seconds[std::size(Sizes)];
    for (std::size_t i = 0; i < std::size(Sizes); ++i) {
        const ListFolder folder(Sizes[i]);
        seconds[i] = BestLoad(folder, 3);
        std::printf("load of %d keys (%d catalogs on disk): %.1f ms, CPU %.1f ms\n", Sizes[i], Catalogs,
                    seconds[i].wall * 1e3, seconds[i].cpu * 1e3);
    }
    std::printf("ratio 100,000 keys / 25,000 keys: %.2f, CPU %.2f (4 is linear)\n", seconds[2].wall / seconds[0].wall,
                seconds[2].cpu / seconds[0].cpu);
    return 0;
}
