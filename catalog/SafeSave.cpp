#include "catalog/SafeSave.h"

#include "support/core/HostPath.h"
#include "support/core/TessnaError.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <memory>
#include <optional>
#include <sstream>
#include <string_view>
#include <vector>

namespace {

constexpr std::string_view TemporaryPrefix = ".tessna-";
constexpr std::string_view TemporarySuffix = ".tmp";

std::optional<unsigned long long> ParseNumber(std::string_view digits)
{
    unsigned long long value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size())
        return std::nullopt;
    return value;
}

// When a process started, in clock ticks since the boot; nothing when no such process runs.
// With the process id it names one process for as long as the machine runs: an id is
// reused only by a process that starts later.
std::optional<unsigned long long> ProcessStartTime(unsigned long long pid)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::size_t nameEnd = stat.rfind(')');
    if (nameEnd == std::string::npos)
        return std::nullopt;
    // The fields after the process name start with the third; the start time is the 22nd.
    std::istringstream fields(stat.substr(nameEnd + 1));
    std::string field;
    for (int number = 3; number <= 22 && fields >> field; ++number) {
        if (number == 22)
            return ParseNumber(field);
    }
    return std::nullopt;
}

// When the machine booted, in seconds since the epoch; 0 when unknown.
long long BootTime()
{
    std::ifstream in("/proc/stat");
    std::string key;
    long long value = 0;
    while (in >> key) {
        if (key == "btime" && in >> value)
            return value;
        in.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
    }
    return 0;
}

// "<process id>-<its start time>": who writes this process's temporary files.
const std::string& WriterTag()
{
    static const std::string tag = [] {
        const auto pid = static_cast<unsigned long long>(::getpid());
        return std::to_string(pid) + '-' + std::to_string(ProcessStartTime(pid).value_or(0));
    }();
    return tag;
}

// Whether the process that wrote a temporary file of this name may still be running.
// Names are "<pid>-<start>-<serial>"; older versions wrote "<pid>-<serial>", whose writer
// counts as running while any process has its id. A file older than the boot outlived
// its writer whatever the name says. Nothing when the name is none of the two.
std::optional<bool> WriterMayRun(std::string_view middle, long long modified, long long boot)
{
    std::vector<unsigned long long> numbers;
    for (std::size_t start = 0;;) {
        const std::size_t dash = middle.find('-', start);
        const auto number = ParseNumber(middle.substr(start, dash - start));
        if (!number)
            return std::nullopt;
        numbers.push_back(*number);
        if (dash == std::string_view::npos)
            break;
        start = dash + 1;
    }
    if (numbers.size() != 2 && numbers.size() != 3)
        return std::nullopt;
    if (modified < boot)
        return false;
    const auto started = ProcessStartTime(numbers[0]);
    return started && (numbers.size() == 2 || *started == numbers[1]);
}

std::string FolderOf(const std::string& hostPath)
{
    const std::size_t slash = hostPath.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : hostPath.substr(0, slash);
}

// A link is kept: its target is the file that gets replaced.
std::string ResolveLink(const std::string& hostPath)
{
    struct stat facts {};
    if (::lstat(hostPath.c_str(), &facts) != 0 || !S_ISLNK(facts.st_mode))
        return hostPath;
    std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(hostPath.c_str(), nullptr),
                                                         &std::free);
    return resolved ? std::string(resolved.get()) : hostPath;
}

bool WriteAll(int fd, std::string_view content)
{
    while (!content.empty()) {
        const ssize_t written = ::write(fd, content.data(), content.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        content.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

bool HasMode(int fd, mode_t mode)
{
    struct stat facts {};
    return ::fstat(fd, &facts) == 0 && (facts.st_mode & 07777) == (mode & 07777);
}

void SyncFolder(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

SafeSave::~SafeSave()
{
    for (const Staged& file : staged_) {
        if (!file.temporary.empty())
            ::unlink(file.temporary.c_str());
    }
}

void SafeSave::Stage(const std::string& path, std::string_view content, Messages messages, Access access)
{
    const auto hostPath = ToHostPath(path);
    if (!hostPath)
        throw TessnaError(messages.cannotCreate);
    const std::string target = ResolveLink(*hostPath);

    // A folder in the file's place, or a file marked read-only, is never replaced.
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists
        && (!S_ISREG(old.st_mode) || (old.st_mode & 0222) == 0
            || ::access(target.c_str(), W_OK) != 0))
        throw TessnaError(messages.cannotCreate);

    static std::atomic<unsigned> serial = 0;
    const std::string folder = FolderOf(target);
    std::string temporary;
    int fd = -1;
    while (fd < 0) {
        temporary = folder + '/';
        temporary.append(TemporaryPrefix).append(WriterTag()).append("-" + std::to_string(++serial));
        temporary.append(TemporarySuffix);
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                    access == Access::OwnerOnly ? 0600 : 0666);
        if (fd < 0 && errno != EEXIST)
            throw TessnaError(messages.cannotCreate);
    }
    staged_.push_back({target, temporary, std::move(messages.cannotCreate)});

    if (access == Access::OwnerOnly) {
        if (!HasMode(fd, 0600) && ::fchmod(fd, 0600) != 0)
            throw TessnaError(staged_.back().cannotCreate);
    } else if (exists && !HasMode(fd, old.st_mode)) {
        ::fchmod(fd, old.st_mode & 07777);
    }
    bool written = WriteAll(fd, content) && ::fsync(fd) == 0;
    written = ::close(fd) == 0 && written;
    if (!written)
        throw TessnaError(messages.cannotWrite);
}

void SafeSave::Commit()
{
    std::vector<std::string> folders;
    for (Staged& file : staged_) {
        if (::rename(file.temporary.c_str(), file.target.c_str()) != 0)
            throw TessnaError(file.cannotCreate);
        file.temporary.clear();
        std::string folder = FolderOf(file.target);
        if (std::find(folders.begin(), folders.end(), folder) == folders.end())
            folders.push_back(std::move(folder));
    }
    // The renames themselves reach the disk only with their folders.
    for (const std::string& folder : folders)
        SyncFolder(folder);
}

int RemoveDeadTemporaries(const std::string& hostFolder)
{
    // Without the process table no writer can be told gone: nothing is removed.
    if (!ProcessStartTime(static_cast<unsigned long long>(::getpid())))
        return 0;
    const auto close = [](DIR* dir) { ::closedir(dir); };
    const std::unique_ptr<DIR, decltype(close)> dir(::opendir(hostFolder.c_str()), close);
    if (!dir)
        return 0;
    const long long boot = BootTime();
    int removed = 0;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string_view name = entry->d_name;
        if (!name.starts_with(TemporaryPrefix) || !name.ends_with(TemporarySuffix))
            continue;
        const std::string path = hostFolder + '/' + entry->d_name;
        struct stat facts {};
        if (::lstat(path.c_str(), &facts) != 0 || !S_ISREG(facts.st_mode))
            continue;
        const auto mayRun = WriterMayRun(
            name.substr(TemporaryPrefix.size(),
                        name.size() - TemporaryPrefix.size() - TemporarySuffix.size()),
            facts.st_mtim.tv_sec, boot);
        if (mayRun == false && ::unlink(path.c_str()) == 0)
            ++removed;
    }
    return removed;
}
