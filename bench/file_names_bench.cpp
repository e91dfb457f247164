// How the file-name rules hold up at the sizes of a large catalog: attribute lookups of
// 100,000 paths, and sorting 100,000 names by precomputed keys against comparing texts.
// Prints the sort ratio (comparisons / keys).

#include "support/core/Cp932.h"
#include "support/core/FileNames.h"

#include <QLocale>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <random>
#include <vector>

namespace {

constexpr int Paths = 100'000;

std::vector<std::string> Names()
{
    std::mt19937 random(42);
    const std::string syllables[]
        = { Cp932Text("ソ"), Cp932Text("表"), "a", "B", "c", "_", "1", Cp932Text("あ") };
    std::vector<std::string> names(Paths);
    for (auto& name : names) {
        for (int i = 0; i < 8; ++i)
            name += syllables[random() % std::size(syllables)];
        name += ".txt";
    }
    return names;
}

void BM_AttributesOf100000Paths(benchmark::State& state)
{
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString() + "/";
    for (int i = 0; i < 1000; ++i)
        std::ofstream(folder + std::to_string(i));
    std::vector<std::string> paths;
    for (int i = 0; i < Paths; ++i)
        paths.push_back(folder + std::to_string(i % 2000));  // half of them missing
    for (auto _ : state) {
        int found = 0;
        for (const auto& path : paths)
            found += GetFileAttributesOf(path) != -1;
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(BM_AttributesOf100000Paths)->Unit(benchmark::kMillisecond);

void SortByComparison(std::vector<std::string> names)
{
    std::sort(names.begin(), names.end(),
        [](const auto& a, const auto& b) { return CompareFileNames(a, b) < 0; });
    benchmark::DoNotOptimize(names.data());
}

void SortByKeys(const std::vector<std::string>& names)
{
    std::vector<std::pair<QCollatorSortKey, const std::string*>> keyed;
    keyed.reserve(names.size());
    for (const auto& name : names)
        keyed.emplace_back(FileNameSortKey(name), &name);
    std::sort(keyed.begin(), keyed.end(),
        [](const auto& a, const auto& b) { return a.first.compare(b.first) < 0; });
    benchmark::DoNotOptimize(keyed.data());
}

template <typename Sort> double TimeOf(Sort sort)
{
    const auto start = std::chrono::steady_clock::now();
    sort();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv)
{
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    const auto names = Names();
    const double byComparison = TimeOf([&] { SortByComparison(names); });
    const double byKeys = TimeOf([&] { SortByKeys(names); });
    std::printf("sorting %d names: comparisons %.3f s, keys %.3f s, ratio %.1f\n", Paths,
        byComparison, byKeys, byComparison / byKeys);
    return 0;
}
