#include "support/core/SizeWalker.h"

#include "support/core/Cp932.h"
#include "support/core/FileMask.h"
#include "support/core/HostPath.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>
#include <unordered_set>

namespace {

FileId IdOf(const struct stat& info)
{
    return {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
}

// A host name in the program's form; one that has none keeps every character it can and
// shows "?" for the others, which is enough to name it in a report.
std::string ProgramForm(const std::string& hostPath)
{
    if (auto cp932 = FromHostPath(hostPath))
        return *cp932;
    return Cp932ForMessage(QString::fromUtf8(hostPath.data(), static_cast<qsizetype>(hostPath.size())));
}

struct Subfolder {
    std::string name;
    struct stat info;
};

std::string JoinHost(const std::string& folder, std::string_view name)
{
    std::string path = folder;
    if (path != "/")
        path += '/';
    path += name;
    return path;
}

class Walker {
public:
    explicit Walker(const WalkControl& control)
        : control_(control)
    {
    }

    // Counts what lies at hostPath, of which info is the lstat.
    void Count(const std::string& hostPath, const struct stat& info)
    {
        if (S_ISDIR(info.st_mode))
            Folder(hostPath, info);
        else if (S_ISREG(info.st_mode))
            File(info);
    }

    bool Cancelled() const { return control_.cancelled && control_.cancelled->load(std::memory_order_relaxed); }

    ObjectSize result;

private:
    void File(const struct stat& info)
    {
        if (info.st_nlink > 1) {
            if (!linked_.insert(IdOf(info)).second)
                return;
            result.linkedFiles.push_back({IdOf(info), static_cast<std::int64_t>(info.st_size)});
        }
        result.bytes += info.st_size;
        ++result.files;
        if (control_.filesSeen)
            control_.filesSeen->fetch_add(1, std::memory_order_relaxed);
    }

    void Folder(const std::string& hostPath, const struct stat& info)
    {
        // A bind mount can show a folder inside itself: each folder is walked once.
        if (!folders_.insert(IdOf(info)).second)
            return;
        ++result.folders;
        if (control_.onFolder)
            control_.onFolder(hostPath);
        std::vector<Subfolder> subfolders;
        if (!ReadFolder(hostPath, subfolders)) {
            result.unreadable.push_back(ProgramForm(hostPath));
            return;
        }
        for (const Subfolder& sub : subfolders) {
            if (Cancelled())
                return;
            Folder(JoinHost(hostPath, sub.name), sub.info);
        }
    }

    // Counts the files of a folder and gives its subfolders; false when it cannot be read
    // (listed or searched). The folder is closed before any subfolder is opened, so a deep
    // tree holds one handle.
    bool ReadFolder(const std::string& hostPath, std::vector<Subfolder>& subfolders)
    {
        const int fd = open(hostPath.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0)
            return false;
        const std::unique_ptr<DIR, int (*)(DIR*)> dir(fdopendir(fd), closedir);
        if (!dir) {
            close(fd);
            return false;
        }
        while (const dirent* entry = readdir(dir.get())) {
            if (Cancelled())
                return true;
            const std::string_view name = entry->d_name;
            if (name == "." || name == "..")
                continue;
            if (entry->d_type != DT_REG && entry->d_type != DT_DIR && entry->d_type != DT_UNKNOWN)
                continue;
            struct stat info { };
            if (fstatat(fd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0) {
                // Gone since the listing: nothing to count. Any other failure means the
                // folder cannot be searched, and none of its entries can be counted.
                if (errno == ENOENT)
                    continue;
                return false;
            }
            if (S_ISDIR(info.st_mode))
                subfolders.push_back({std::string(name), info});
            else if (S_ISREG(info.st_mode))
                File(info);
        }
        return true;
    }

    const WalkControl& control_;
    std::unordered_set<FileId, FileIdHash> linked_;
    std::unordered_set<FileId, FileIdHash> folders_;
};

// The identities of a path's folders, from the nearest up to the root; links above the last
// part are followed, as any lookup through them does.
std::vector<FileId> AncestorChain(std::string hostPath)
{
    std::vector<FileId> chain;
    while (true) {
        const size_t delim = hostPath.rfind('/');
        if (delim == std::string::npos)
            return chain;
        hostPath.resize(delim == 0 ? 1 : delim);
        struct stat info { };
        if (stat(hostPath.c_str(), &info) == 0)
            chain.push_back(IdOf(info));
        if (hostPath == "/")
            return chain;
    }
}

std::vector<std::string> Matches(const std::string& hostFolder, std::string_view mask, ObjectSize& result)
{
    std::vector<std::string> matches;
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(hostFolder.c_str()), closedir);
    if (!dir) {
        if (errno != ENOENT && errno != ENOTDIR)
            result.unreadable.push_back(ProgramForm(hostFolder));
        return matches;
    }
    while (const dirent* entry = readdir(dir.get())) {
        const std::string_view name = entry->d_name;
        if (name == "." || name == ".." || !MatchesFileMask(mask, ProgramForm(std::string(name))))
            continue;
        matches.push_back(JoinHost(hostFolder, name));
    }
    return matches;
}

void CountTop(Walker& walker, const std::string& hostPath)
{
    struct stat info { };
    if (lstat(hostPath.c_str(), &info) != 0)
        return;
    walker.result.exists = true;
    walker.result.covers.push_back(IdOf(info));
    walker.Count(hostPath, info);
}

}  // namespace

std::string ParentHostFolder(const std::string& hostPath)
{
    const size_t delim = hostPath.rfind('/');
    if (delim == std::string::npos)
        return std::string(1, '.');
    return hostPath.substr(0, delim == 0 ? 1 : delim);
}

bool IdentityOf(const std::string& hostPath, FileId& id)
{
    struct stat info { };
    if (lstat(hostPath.c_str(), &info) != 0)
        return false;
    id = IdOf(info);
    return true;
}

ObjectSize WalkObject(std::string_view path, const WalkControl& control)
{
    Walker walker(control);
    const auto host = ToHostPath(path);
    if (!host || host->empty())
        return {};
    const std::string mask = ExtractFileName(path);
    if (!HasWildcards(mask)) {
        CountTop(walker, *host);
        if (walker.result.exists) {
            walker.result.chain = walker.result.covers;
            for (const FileId& id : AncestorChain(*host))
                walker.result.chain.push_back(id);
        }
        return std::move(walker.result);
    }
    const std::string folder = ParentHostFolder(*host);
    for (const std::string& match : Matches(folder, mask, walker.result))
        CountTop(walker, match);
    FileId folderId;
    if (IdentityOf(folder, folderId)) {
        walker.result.chain.push_back(folderId);
        for (const FileId& id : AncestorChain(folder))
            walker.result.chain.push_back(id);
    }
    return std::move(walker.result);
}
