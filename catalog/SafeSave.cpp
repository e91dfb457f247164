#include "catalog/SafeSave.h"

#include "catalog/CatalogMessages.h"
#include "support/core/FileIdentity.h"
#include "support/core/HostPath.h"
#include "support/core/TessnaError.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string_view>
#include <utility>

namespace {

constexpr std::string_view TemporaryPrefix = ".tessna-";
constexpr std::string_view TemporarySuffix = ".tmp";

bool IsNumber(std::string_view digits)
{
    unsigned long long value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    return !digits.empty() && error == std::errc() && end == digits.data() + digits.size();
}

// Whether the part between prefix and suffix is one a save gives: "<pid>-<start>-<serial>",
// or "<pid>-<serial>" of older versions.
bool IsWriterTag(std::string_view middle)
{
    int parts = 0;
    for (std::size_t start = 0;; ++parts) {
        const std::size_t dash = middle.find('-', start);
        if (!IsNumber(middle.substr(start, dash - start)))
            return false;
        if (dash == std::string_view::npos)
            break;
        start = dash + 1;
    }
    return parts == 1 || parts == 2;
}

// When this process started, in clock ticks since the boot (0 when unknown): with the
// process id it keeps the names of two writers apart.
unsigned long long OwnStartTime()
{
    std::ifstream in("/proc/self/stat");
    std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::size_t nameEnd = stat.rfind(')');
    if (nameEnd == std::string::npos)
        return 0;
    // The fields after the process name start with the third; the start time is the 22nd.
    std::istringstream fields(stat.substr(nameEnd + 1));
    std::string field;
    for (int number = 3; number <= 22 && fields >> field; ++number) {
        if (number == 22)
            return std::strtoull(field.c_str(), nullptr, 10);
    }
    return 0;
}

// "<process id>-<its start time>": who writes this process's temporary files.
const std::string& WriterTag()
{
    static const std::string tag = std::to_string(::getpid()) + '-' + std::to_string(OwnStartTime());
    return tag;
}

std::string TemporaryName(const std::string& folder)
{
    // Saves of several threads draw from one serial.
    static std::atomic<unsigned long long> serial = 0;
    std::string name = folder + '/';
    name.append(TemporaryPrefix).append(WriterTag()).append("-" + std::to_string(++serial));
    return name.append(TemporarySuffix);
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

// A new temporary file in folder, locked before its name appears, so that no cleanup ever
// finds it unlocked: made without a name and linked in once locked. Where nameless files
// cannot be made or linked, the file gets its name first and the lock a moment later. Gives
// the descriptor and sets name; -1 when no file can be made.
int CreateLockedTemporary(const std::string& folder, std::string& name)
{
    int unnamed = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
    if (unnamed >= 0 && ::flock(unnamed, LOCK_EX) != 0)
        ::close(std::exchange(unnamed, -1));
    const std::string self = "/proc/self/fd/" + std::to_string(unnamed);
    for (;;) {
        name = TemporaryName(folder);
        if (unnamed >= 0) {
            if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0)
                return unnamed;
            if (errno == EEXIST)
                continue;
            ::close(std::exchange(unnamed, -1));
        }
        const int fd = ::open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::flock(fd, LOCK_EX);
            return fd;
        }
        if (errno != EEXIST)
            return -1;
    }
}

bool WriteAll(int fd, std::string_view content, off_t at = 0)
{
    while (!content.empty()) {
        const ssize_t written = ::pwrite(fd, content.data(), content.size(), at);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        content.remove_prefix(static_cast<std::size_t>(written));
        at += written;
    }
    return true;
}

// Copies the whole of the file open as from over the start of the file open as to.
bool CopyContent(int from, int to)
{
    char buffer[65536];
    for (off_t at = 0;;) {
        const ssize_t got = ::pread(from, buffer, sizeof buffer, at);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        if (got == 0)
            return ::ftruncate(to, at) == 0;
        if (!WriteAll(to, std::string_view(buffer, static_cast<std::size_t>(got)), at))
            return false;
        at += got;
    }
}

void SyncFolder(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

// The caller's message with why the system refused, in the user's terms.
[[noreturn]] void Fail(const std::string& message, int error)
{
    throw TessnaError(message + ": " + WriteFailureReason(error));
}

}  // namespace

SafeSave::~SafeSave()
{
    // The name goes before the lock, so no cleanup sees the file unlocked.
    for (const Staged& file : staged_) {
        if (!file.temporary.empty())
            ::unlink(file.temporary.c_str());
        if (file.fd >= 0)
            ::close(file.fd);
    }
}

void SafeSave::Stage(const std::string& path, std::string_view content, Messages messages, Access access)
{
    const auto hostPath = ToHostPath(path);
    if (!hostPath)
        Fail(messages.cannotCreate, EILSEQ);
    const std::string target = ResolveLink(*hostPath);

    // A folder in the file's place, or a file marked read-only, is never replaced.
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists && S_ISDIR(old.st_mode))
        Fail(messages.cannotCreate, EISDIR);
    if (exists && !S_ISREG(old.st_mode))
        Fail(messages.cannotCreate, EINVAL);
    if (exists && (old.st_mode & 0222) == 0)
        Fail(messages.cannotCreate, EACCES);
    if (exists && ::access(target.c_str(), W_OK) != 0)
        Fail(messages.cannotCreate, errno);

    std::string temporary;
    const int fd = CreateLockedTemporary(FolderOf(target), temporary);
    if (fd < 0)
        Fail(messages.cannotCreate, errno);
    const bool inPlace = exists && old.st_nlink > 1;
    staged_.push_back({target, temporary, fd, inPlace, messages});

    // A file written in place keeps its identity by itself.
    if (exists && !inPlace) {
        if (const auto loss = CarryIdentity(fd, target, old))
            throw TessnaError(IdentityLostMessage(path, *loss));
    }
    // The owner's eyes only, whatever the old file or the umask allowed.
    if (access == Access::OwnerOnly && ::fchmod(fd, 0600) != 0)
        Fail(messages.cannotCreate, errno);
    if (!WriteAll(fd, content) || ::fsync(fd) != 0)
        Fail(messages.cannotWrite, errno);
}

void SafeSave::PutInPlace(Staged& file)
{
    if (!file.inPlace) {
        if (::rename(file.temporary.c_str(), file.target.c_str()) != 0)
            Fail(file.messages.cannotCreate, errno);
        file.temporary.clear();
        return;
    }
    const int target = ::open(file.target.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
    if (target < 0)
        Fail(file.messages.cannotCreate, errno);
    // The space is taken before the first byte changes, so a full disk fails the save with
    // the old content whole; a file system that cannot reserve it is written all the same.
    struct stat facts {};
    const bool written = ::fstat(file.fd, &facts) == 0
        && (facts.st_size == 0 || ::fallocate(target, FALLOC_FL_KEEP_SIZE, 0, facts.st_size) == 0
            || errno == EOPNOTSUPP)
        && CopyContent(file.fd, target) && ::fsync(target) == 0;
    const int error = errno;
    const bool closed = ::close(target) == 0;
    if (!written || !closed)
        Fail(file.messages.cannotWrite, written ? errno : error);
    ::unlink(file.temporary.c_str());
    file.temporary.clear();
}

void SafeSave::Commit()
{
    for (Staged& file : staged_) {
        PutInPlace(file);
        ::close(std::exchange(file.fd, -1));
    }
    // The renames themselves reach the disk only with their folders.
    for (const std::string& folder : TemporaryFolders())
        SyncFolder(folder);
}

std::vector<std::string> SafeSave::TemporaryFolders() const
{
    std::vector<std::string> folders;
    for (const Staged& file : staged_) {
        std::string folder = FolderOf(file.target);
        if (std::find(folders.begin(), folders.end(), folder) == folders.end())
            folders.push_back(std::move(folder));
    }
    return folders;
}

int RemoveDeadTemporaries(const std::string& hostFolder)
{
    const auto close = [](DIR* dir) { ::closedir(dir); };
    const std::unique_ptr<DIR, decltype(close)> dir(::opendir(hostFolder.c_str()), close);
    if (!dir)
        return 0;
    int removed = 0;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string_view name = entry->d_name;
        if (!name.starts_with(TemporaryPrefix) || !name.ends_with(TemporarySuffix))
            continue;
        const std::string_view tag
            = name.substr(TemporaryPrefix.size(), name.size() - TemporaryPrefix.size() - TemporarySuffix.size());
        // This process's own files are never dead; on NFS its lock would not even keep them,
        // as NFS locks belong to the process rather than to the open file.
        if (!IsWriterTag(tag) || (tag.starts_with(WriterTag()) && tag.substr(WriterTag().size()).starts_with('-')))
            continue;
        const std::string path = hostFolder + '/' + entry->d_name;
        // Opened for writing, as NFS grants an exclusive lock only then; a file this user
        // may not open is not known to be dead.
        const int fd = ::open(path.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
        if (fd < 0)
            continue;
        struct stat opened {};
        struct stat named {};
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode)
            && ::lstat(path.c_str(), &named) == 0 && named.st_ino == opened.st_ino
            && named.st_dev == opened.st_dev && ::unlink(path.c_str()) == 0)
            ++removed;
        ::close(fd);
    }
    return removed;
}
