#include "support/core/SizeWalker.h"

#include "support/core/Cp932.h"
#include "support/core/FileMask.h"
#include "support/core/HostPath.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
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

std::string JoinHost(const std::string& folder, std::string_view name)
{
    std::string path = folder;
    if (path != "/")
        path += '/';
    path += name;
    return path;
}

bool IsBelow(const std::string& path, const std::string& folder)
{
    return path.size() > folder.size() && path.starts_with(folder) && (folder == "/" || path[folder.size()] == '/');
}

// Adds a regular file to counts of files with one name or to the list of those with more.
template <typename Counts>
void AddFile(Counts& counts, std::vector<LinkedFile>& linked, const struct stat& info)
{
    if (info.st_nlink > 1) {
        linked.push_back({IdOf(info), static_cast<std::int64_t>(info.st_size)});
        return;
    }
    counts.bytes += info.st_size;
    ++counts.files;
}

struct Subfolder {
    std::string name;
    struct stat info;
};

class Walker {
public:
    Walker(const WalkControl& control, ObjectWalk& walk)
        : control_(control)
        , walk_(walk)
    {
        for (const auto& [path, record] : walk.folders)
            seen_.insert(record->id);
    }

    bool Cancelled() const { return control_.cancelled && control_.cancelled->load(std::memory_order_relaxed); }

    // Walks a folder not walked before, and everything below it.
    void Folder(const std::string& hostPath, const struct stat& info)
    {
        // A bind mount can show a folder inside itself: each folder is walked once.
        if (!seen_.insert(IdOf(info)).second)
            return;
        if (control_.onFolder)
            control_.onFolder(hostPath);
        Read(hostPath, info);
    }

    // Reads a folder's entries into its record again, walking subfolders that are new to it
    // and dropping the records of those that went.
    void Reread(const std::string& hostPath)
    {
        struct stat info { };
        if (lstat(hostPath.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
            Drop(hostPath);
            return;
        }
        Read(hostPath, info);
    }

    // Forgets a folder and everything below it.
    void Drop(const std::string& hostPath)
    {
        std::erase_if(walk_.folders, [&](const auto& folder) {
            const bool gone = folder.first == hostPath || IsBelow(folder.first, hostPath);
            if (gone)
                seen_.erase(folder.second->id);
            return gone;
        });
    }

private:
    void CountFile(const struct stat& info, FolderRecord& record)
    {
        AddFile(record, record.linkedFiles, info);
        if (control_.filesSeen)
            control_.filesSeen->fetch_add(1, std::memory_order_relaxed);
    }

    void Read(const std::string& hostPath, const struct stat& info)
    {
        auto record = std::make_shared<FolderRecord>();
        record->id = IdOf(info);
        std::vector<Subfolder> subfolders;
        record->unreadable = !ReadFolder(hostPath, *record, subfolders);
        std::vector<std::string> kept;
        if (const auto old = walk_.folders.find(hostPath); old != walk_.folders.end())
            kept = old->second->subfolders;
        for (const Subfolder& sub : subfolders)
            record->subfolders.push_back(sub.name);
        for (const std::string& name : kept) {
            const auto now = std::find_if(subfolders.begin(), subfolders.end(),
                                          [&](const Subfolder& sub) { return sub.name == name; });
            const auto known = walk_.folders.find(JoinHost(hostPath, name));
            if (now == subfolders.end() || known == walk_.folders.end() || !(known->second->id == IdOf(now->info)))
                Drop(JoinHost(hostPath, name));
        }
        walk_.folders[hostPath] = std::move(record);
        for (const Subfolder& sub : subfolders) {
            if (Cancelled())
                return;
            const std::string subPath = JoinHost(hostPath, sub.name);
            if (!walk_.folders.contains(subPath))
                Folder(subPath, sub.info);
        }
    }

    // Counts the files of a folder and gives its subfolders; false when it cannot be read
    // (listed or searched). The folder is closed before any subfolder is opened, so a deep
    // tree holds one handle.
    bool ReadFolder(const std::string& hostPath, FolderRecord& record, std::vector<Subfolder>& subfolders)
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
                CountFile(info, record);
        }
        return true;
    }

    const WalkControl& control_;
    ObjectWalk& walk_;
    std::unordered_set<FileId, FileIdHash> seen_;
};

// The identities of a path's folders, from the nearest up to the root; links above the last
// part are followed, as any lookup through them does.
std::vector<FileId> AncestorChain(std::string hostPath)
{
    std::vector<FileId> chain;
    while (hostPath != "/" && hostPath.find('/') != std::string::npos) {
        hostPath = ParentHostFolder(hostPath);
        struct stat info { };
        if (stat(hostPath.c_str(), &info) == 0)
            chain.push_back(IdOf(info));
    }
    return chain;
}

std::vector<std::string> Matches(const std::string& hostFolder, std::string_view mask, ObjectSize& top)
{
    std::vector<std::string> matches;
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(hostFolder.c_str()), closedir);
    if (!dir) {
        if (errno != ENOENT && errno != ENOTDIR)
            top.unreadable.push_back(ProgramForm(hostFolder));
        return matches;
    }
    while (const dirent* entry = readdir(dir.get())) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != ".." && MatchesFileMask(mask, ProgramForm(std::string(name))))
            matches.push_back(JoinHost(hostFolder, name));
    }
    return matches;
}

void WalkTop(Walker& walker, ObjectWalk& walk, const std::string& hostPath)
{
    struct stat info { };
    if (lstat(hostPath.c_str(), &info) != 0)
        return;
    walk.top.exists = true;
    walk.top.covers.push_back(IdOf(info));
    if (S_ISDIR(info.st_mode)) {
        walk.roots.push_back(hostPath);
        walker.Folder(hostPath, info);
    } else if (S_ISREG(info.st_mode)) {
        AddFile(walk.top, walk.top.linkedFiles, info);
    }
}

void AddAncestors(ObjectSize& top, const std::string& hostPath, const WalkControl& control)
{
    std::vector<FileId> computed;
    const std::vector<FileId>* chain = &computed;
    if (control.ancestors) {
        auto [known, added] = control.ancestors->try_emplace(ParentHostFolder(hostPath));
        if (added)
            known->second = AncestorChain(hostPath);
        chain = &known->second;
    } else {
        computed = AncestorChain(hostPath);
    }
    top.chain.insert(top.chain.end(), chain->begin(), chain->end());
}

}  // namespace

ObjectSize ObjectWalk::Sum() const
{
    ObjectSize sum = top;
    sum.linkedFiles.clear();
    std::unordered_set<FileId, FileIdHash> linked;
    const auto addLinked = [&](const std::vector<LinkedFile>& files) {
        for (const LinkedFile& file : files) {
            if (!linked.insert(file.id).second)
                continue;
            sum.bytes += file.bytes;
            ++sum.files;
            sum.linkedFiles.push_back(file);
        }
    };
    addLinked(top.linkedFiles);
    for (const auto& [path, record] : folders) {
        sum.bytes += record->bytes;
        sum.files += record->files;
        ++sum.folders;
        addLinked(record->linkedFiles);
        if (record->unreadable)
            sum.unreadable.push_back(ProgramForm(path));
    }
    std::sort(sum.unreadable.begin(), sum.unreadable.end());
    return sum;
}

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

ObjectWalk WalkTree(std::string_view path, const WalkControl& control)
{
    ObjectWalk walk;
    const auto host = ToHostPath(path);
    // A path that is not absolute (one in another system's syntax) names nothing here, and
    // must not be taken for a name in the current folder.
    if (!host || !host->starts_with('/'))
        return walk;
    Walker walker(control, walk);
    const std::string mask = ExtractFileName(path);
    if (!HasWildcards(mask)) {
        WalkTop(walker, walk, *host);
        if (walk.top.exists) {
            walk.top.chain.push_back(walk.top.covers.front());
            AddAncestors(walk.top, *host, control);
        }
        return walk;
    }
    const std::string folder = ParentHostFolder(*host);
    for (const std::string& match : Matches(folder, mask, walk.top))
        WalkTop(walker, walk, match);
    FileId id;
    if (IdentityOf(folder, id))
        walk.top.chain.push_back(id);
    AddAncestors(walk.top, folder, control);
    return walk;
}

ObjectWalk UpdateWalk(std::string_view path, const ObjectWalk& previous, const std::vector<std::string>& changed,
                      const WalkControl& control)
{
    FileId id;
    const bool sameFolder = previous.roots.size() == 1 && previous.top.covers.size() == 1
        && !HasWildcards(ExtractFileName(path)) && IdentityOf(previous.roots.front(), id)
        && id == previous.top.covers.front();
    if (!sameFolder)
        return WalkTree(path, control);
    ObjectWalk walk = previous;
    Walker walker(control, walk);
    std::vector<std::string> folders = changed;
    std::sort(folders.begin(), folders.end(),
              [](const std::string& a, const std::string& b) { return a.size() < b.size(); });
    for (const std::string& folder : folders) {
        if (walk.folders.contains(folder))
            walker.Reread(folder);
    }
    return walk;
}

ObjectSize WalkObject(std::string_view path, const WalkControl& control)
{
    return WalkTree(path, control).Sum();
}
