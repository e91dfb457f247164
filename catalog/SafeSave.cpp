#include "catalog/SafeSave.h"

#include "support/core/HostPath.h"
#include "support/core/TessnaError.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <memory>

namespace {

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

TSafeSave::~TSafeSave()
{
    for (const Staged& file : staged_) {
        if (!file.temporary.empty())
            ::unlink(file.temporary.c_str());
    }
}

void TSafeSave::Stage(const std::string& path, std::string_view content, Messages messages)
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

    static unsigned serial = 0;
    static const std::string process = std::to_string(::getpid());
    const std::string folder = FolderOf(target);
    std::string temporary;
    int fd = -1;
    while (fd < 0) {
        temporary = folder + "/.tessna-" + process + "-" + std::to_string(++serial) + ".tmp";
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            throw TessnaError(messages.cannotCreate);
    }
    staged_.push_back({target, temporary, std::move(messages.cannotCreate)});

    if (exists && !HasMode(fd, old.st_mode))
        ::fchmod(fd, old.st_mode & 07777);
    bool written = WriteAll(fd, content) && ::fsync(fd) == 0;
    written = ::close(fd) == 0 && written;
    if (!written)
        throw TessnaError(messages.cannotWrite);
}

void TSafeSave::Commit()
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
