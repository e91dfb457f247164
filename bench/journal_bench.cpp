// What a change costs the window's thread with the journal running, against what writing the
// journal costs the worker, for unsaved states of about 0.5 MB and 5 MB. Prints for each:
//   post: JournalWriter::Post of the state (what a command waits for);
//   write: JournalFile::Write of it (encode, digest, temporary file, flush, rename, folder
//          flush: what the worker waits for), and write / post.

#include "bench/BestSeconds.h"
#include "catalog/JournalFormat.h"
#include "catalog/JournalWriter.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>

namespace {

// A changed catalog of objects paths about 50 bytes long each.
JournalState StateOf(int objects, const std::string& folder)
{
    JournalState state;
    state.folder = folder;
    TCatalogEntry catalog{folder + "Big.VrCat", "Big", {}};
    for (int i = 0; i < objects; ++i)
        catalog.Objects.push_back("/home/user/Documents/archive/2024/report_" + std::to_string(i) + ".doc");
    state.entries.push_back({std::move(catalog), true, {}, {}});
    return state;
}

}  // namespace

int main(int argc, char** argv)
{
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString() + "/";
    const JournalFile file(folder);
    JournalWriter writer(file, std::chrono::hours(1));
    const JournalState states[] = {StateOf(10'000, folder), StateOf(100'000, folder)};

    for (const JournalState& state : states) {
        const auto size = static_cast<long>(EncodeJournal(state).size() / 1000);
        benchmark::RegisterBenchmark(("Post/" + std::to_string(size) + "kB").c_str(), [&](benchmark::State& run) {
            for (auto _ : run)
                writer.Post(state);
        })->Unit(benchmark::kMicrosecond)->MinTime(0.2);
        benchmark::RegisterBenchmark(("Write/" + std::to_string(size) + "kB").c_str(), [&](benchmark::State& run) {
            for (auto _ : run)
                file.Write(state);
        })->Unit(benchmark::kMillisecond)->MinTime(0.2);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();

    for (const JournalState& state : states) {
        const double post = BestSeconds(20, [&] { writer.Post(state); });
        const double write = BestSeconds(5, [&] { file.Write(state); });
        std::printf("%zu kB: post %.2f ms, write %.1f ms, write / post %.0f\n", EncodeJournal(state).size() / 1000,
                    post * 1e3, write * 1e3, write / post);
    }
    writer.Remove();
    return 0;
}
