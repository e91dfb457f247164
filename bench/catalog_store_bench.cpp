// Load and save of a list of 1,000 catalogs of 100 objects each, against plain C++ reading
// and writing of the same bytes, and one change by tessna-cli against its list. Prints:
//   load: LoadCatalogList / reading the control file and every catalog file with ifstream;
//   save: SaveCatalogList of a list whose every catalog changed / writing the same bytes to
//         as many files, each flushed to the disk;
//   tessna-cli: "add" of one path to one catalog / "list" of the same folder (processes);
//   big add: "add" of one path to a catalog of 1,000,000 objects (45 MB) / writing and
//         flushing the same bytes to one file, and the tool's peak memory.
// --tessna-cli-only prints the two tessna-cli figures alone, in a few seconds; the Google
// Benchmark part can be skipped with --benchmark_filter=^$. The environment variable
// TESSNA_CLI names another tessna-cli to measure (another build's, for a before and after).

#include "bench/BestSeconds.h"
#include "catalog/CatalogFile.h"
#include "catalog/CatalogStore.h"
#include "support/core/Cp932.h"
#include "support/core/HostPath.h"
#include "support/core/LargeBuffer.h"

#include <QLocale>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <stdexcept>
#include <vector>

namespace {

constexpr int Catalogs = 1000;
constexpr int ObjectsPerCatalog = 100;

// Object paths of the length users have: a few folders deep, a file name, now and then
// Japanese folder and file names.
std::vector<std::string> ObjectPaths(std::mt19937& random)
{
    const std::string folders[] = {"home", "user", "Documents", "projects", "2024", "archive",
                                   Cp932Text("資料"), Cp932Text("写真"), Cp932Text("ソフト表")};
    const std::string files[] = {"report", "minutes", "budget", Cp932Text("見積書"), Cp932Text("議事録")};
    const std::string extensions[] = {".doc", ".xls", ".txt", ".jpg", ""};
    std::vector<std::string> paths;
    for (int i = 0; i < ObjectsPerCatalog; ++i) {
        std::string path;
        for (int depth = 3 + static_cast<int>(random() % 4); depth > 0; --depth)
            path += "/" + folders[random() % std::size(folders)];
        path += "/" + files[random() % std::size(files)] + "_" + std::to_string(i)
            + extensions[random() % std::size(extensions)];
        paths.push_back(std::move(path));
    }
    return paths;
}

void FillList(CatalogStore& store)
{
    std::mt19937 random(7);
    for (int i = 0; i < Catalogs; ++i) {
        TCatalogParam data;
        data.Common = CatalogCommonLines((i % 5 == 0 ? Cp932Text("カタログ") : std::string("catalog"))
                                         + std::to_string(i));
        data.Objects = ObjectPaths(random);
        store.AddCatalogFromWizard(data);
    }
}

std::vector<std::string> ListedFiles(const CatalogStore& store)
{
    std::vector<std::string> files{store.GetCatalogControlFile()};
    for (const TCatalogEntry& entry : store.Catalogs())
        files.push_back(entry.FileName);
    return files;
}

std::size_t PlainRead(const std::vector<std::string>& hostFiles)
{
    std::size_t bytes = 0;
    for (const std::string& file : hostFiles) {
        std::ifstream in(file, std::ios::binary);
        const std::string content{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        bytes += content.size();
    }
    return bytes;
}

void PlainWrite(const std::string& folder, const std::vector<std::string>& contents)
{
    for (std::size_t i = 0; i < contents.size(); ++i) {
        const std::string path = folder + "/" + std::to_string(i);
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (fd < 0 || ::write(fd, contents[i].data(), contents[i].size())
                          != static_cast<ssize_t>(contents[i].size())
            || ::fsync(fd) != 0 || ::close(fd) != 0)
            throw std::runtime_error("plain write failed");
    }
}

// Each catalog gets or loses a last object, so that a save finds every file changed.
void ChangeEveryCatalog(CatalogStore& store)
{
    for (int i = 0; i < store.Count(); ++i) {
        std::vector<std::string> objects = store.Catalog(i).Objects.ToStrings();
        if (objects.size() > ObjectsPerCatalog)
            objects.pop_back();
        else
            objects.push_back("/changed");
        store.ReplaceObjects(i, std::move(objects));
    }
}

QString CliProgram()
{
    const QByteArray other = qgetenv("TESSNA_CLI");
    return other.isEmpty() ? QStringLiteral(TESSNA_CLI) : QString::fromLocal8Bit(other);
}

void RunCli(const QString& folder, const QStringList& arguments)
{
    QProcess cli;
    cli.start(CliProgram(), QStringList{QStringLiteral("--folder"), folder} + arguments);
    if (!cli.waitForFinished(60000) || cli.exitCode() != 0)
        throw std::runtime_error("tessna-cli failed: " + cli.readAllStandardError().toStdString());
}

// One change and one list by the tool on the folder of store, taking turns; each add is undone
// by a remove that is not measured. Prints their ratio.
void MeasureCli(const CatalogStore& store)
{
    const QString folder = QString::fromStdString(Cp932ToUtf8(store.ProgramFolder()).value());
    const QString object = QString::fromStdString(Cp932ToUtf8(store.GetCatalogControlFile()).value());
    const QString catalog = QStringLiteral("catalog1");
    double list = 1e9;
    double add = 1e9;
    for (int i = 0; i < 7; ++i) {
        list = std::min(list, BestSeconds(1, [&] { RunCli(folder, {QStringLiteral("list")}); }));
        add = std::min(add, BestSeconds(1, [&] { RunCli(folder, {QStringLiteral("add"), catalog, object}); }));
        RunCli(folder, {QStringLiteral("remove"), catalog, object});
    }
    std::printf("tessna-cli: add %.1f ms, list %.1f ms, ratio %.2f\n", add * 1e3, list * 1e3, add / list);
}

// The text of one catalog of 1,000,000 objects, 43 MB, with added as a last object when given;
// in a buffer backed by huge pages, as the texts the program writes are.
std::string BigCatalogText(const std::string& added = {})
{
    std::string text;
    text.reserve(std::size_t(44) << 20);
    AdviseLargeBuffer(text.data(), text.capacity());
    text.append(CatalogText({"", "Big", {}}));
    for (int i = 0; i < 1000000; ++i)
        text.append("/home/user/Documents/archive/" + std::to_string(i % 1000) + "/f_" + std::to_string(i)).append("\r\n");
    if (!added.empty())
        text.append(added).append("\r\n");
    return text;
}

// One catalog of 1,000,000 objects: the tool adds one path to it, against writing and
// flushing the bytes the add leaves to a file of their own. Each add is undone by a remove that
// is not measured. The peak memory is the system's count for child processes, which also
// counts what this process held when it started one (the 43 MB written here among it):
// `/usr/bin/time -v` on the tool alone gives its own.
void MeasureBigCli()
{
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString();
    const QString qtFolder = dir.path();
    const QString object = dir.filePath(QStringLiteral("VrCatCtl.ini"));
    std::ofstream(folder + "/Big.VrCat", std::ios::binary) << BigCatalogText();
    std::ofstream(folder + "/VrCatCtl.ini", std::ios::binary) << "[Compress]\r\n0=Big.VrCat\r\n";
    const std::vector<std::string> after{BigCatalogText(object.toStdString())};
    std::filesystem::create_directory(folder + "/plain");
    double add = 1e9;
    double write = 1e9;
    for (int i = 0; i < 3; ++i) {
        add = std::min(add, BestSeconds(1, [&] { RunCli(qtFolder, {QStringLiteral("add"), QStringLiteral("Big"), object}); }));
        RunCli(qtFolder, {QStringLiteral("remove"), QStringLiteral("Big"), object});
        write = std::min(write, BestSeconds(1, [&] { PlainWrite(folder + "/plain", after); }));
    }
    rusage children {};
    ::getrusage(RUSAGE_CHILDREN, &children);
    std::printf("big add: tessna-cli add to 1,000,000 objects (%.1f MB) %.1f ms, plain write and fsync %.1f ms, "
                "ratio %.2f (limit 2); tessna-cli peak memory %.0f MB\n",
                double(after[0].size()) / 1e6, add * 1e3, write * 1e3, add / write, double(children.ru_maxrss) / 1024);
}

}  // namespace

int main(int argc, char** argv)
{
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    QTemporaryDir listDir;
    QTemporaryDir plainDir;
    CatalogStore store(listDir.path().toStdString());
    FillList(store);
    // The files to load, written without flushing: only the measured saves wait for the disk.
    std::ofstream control(Cp932ToUtf8(store.GetCatalogControlFile()).value(), std::ios::binary);
    control << "[Compress]\r\n";
    for (int i = 0; i < store.Count(); ++i) {
        const TCatalogEntry& entry = store.Catalog(i);
        control << i << '=' << ExtractFileName(entry.FileName) << "\r\n";
        std::ofstream(Cp932ToUtf8(entry.FileName).value(), std::ios::binary) << CatalogText(entry);
    }
    control.close();
    MeasureCli(store);
    MeasureBigCli();
    if (argc > 1 && std::string_view(argv[1]) == "--tessna-cli-only")
        return 0;

    std::vector<std::string> hostFiles;
    std::vector<std::string> contents;
    for (const std::string& file : ListedFiles(store)) {
        hostFiles.push_back(Cp932ToUtf8(file).value());
        contents.push_back(*ReadFileBytes(file));
    }

    // Google Benchmark's statistics for the two reads; the ratios below are measured apart.
    benchmark::RegisterBenchmark("LoadCatalogList", [&](benchmark::State& state) {
        for (auto _ : state)
            store.LoadCatalogList();
    })->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("PlainRead", [&](benchmark::State& state) {
        for (auto _ : state)
            benchmark::DoNotOptimize(PlainRead(hostFiles));
    })->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();

    // The program loads once, into an empty list: so does each measured load.
    double load = 1e9;
    for (int i = 0; i < 7; ++i) {
        CatalogStore fresh(listDir.path().toStdString());
        load = std::min(load, BestSeconds(1, [&] { fresh.LoadCatalogList(); }));
    }
    const double read = BestSeconds(7, [&] { benchmark::DoNotOptimize(PlainRead(hostFiles)); });
    // Saves and plain writes take turns, so that both meet the same disk.
    double save = 1e9;
    double write = 1e9;
    for (int i = 0; i < 2; ++i) {
        ChangeEveryCatalog(store);
        save = std::min(save, BestSeconds(1, [&] { store.SaveCatalogList(); }));
        write = std::min(write, BestSeconds(1, [&] { PlainWrite(plainDir.path().toStdString(), contents); }));
    }

    std::printf("%d catalogs of %d objects, %zu files\n", store.Count(), ObjectsPerCatalog, contents.size());
    std::printf("load: LoadCatalogList %.1f ms, plain read %.1f ms, ratio %.2f\n", load * 1e3, read * 1e3,
                load / read);
    std::printf("save: SaveCatalogList %.1f ms, plain write %.1f ms, ratio %.2f\n", save * 1e3, write * 1e3,
                save / write);

    return 0;
}
