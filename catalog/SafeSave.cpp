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
#include <functional>
#include <memory>
#include <optional>
#include <sstream>
#include <unordered_map>
#include <unordered_set>
#include <string_view>
#include <utility>

namespace {

constexpr std::string_view TemporaryPrefix = ".tessna-";
constexpr std::string_view TemporarySuffix = ".tmp";
// The record of an in-place write, beside its temporary file: the temporary's name with this
// ending instead of TemporarySuffix.
constexpr std::string_view CopyRecordSuffix = ".copy";
constexpr std::string_view CopyRecordHeading = "tessna in-place copy\n";
constexpr std::string_view CopyRecordEnd = "\nend\n";

InPlaceStepHandler& StepHandler()
{
    static InPlaceStepHandler handler;
    return handler;
}

void Step(InPlaceStep step)
{
    if (StepHandler())
        StepHandler()(step);
}

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

std::string NameOf(const std::string& hostPath)
{
    return hostPath.substr(hostPath.rfind('/') + 1);
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
        Step(InPlaceStep::PartCopied);
    }
}

// Writes the content of the file open as from over the file open as to, which keeps its
// inode, owner, mode and other names, and flushes it. The space is taken before the first
// byte changes, so a full disk fails with the old content whole; a file system that cannot
// reserve it is written all the same.
bool OverwriteInPlace(int from, int to)
{
    struct stat facts {};
    return ::fstat(from, &facts) == 0
        && (facts.st_size == 0 || ::fallocate(to, FALLOC_FL_KEEP_SIZE, 0, facts.st_size) == 0
            || errno == EOPNOTSUPP)
        && CopyContent(from, to) && ::fsync(to) == 0;
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

std::string CopyRecordOf(const std::string& temporary)
{
    return temporary.substr(0, temporary.size() - TemporarySuffix.size()).append(CopyRecordSuffix);
}

// What a copy record holds: which file of the folder the temporary file is copied over, and
// how long the temporary file is.
struct CopyRecord {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    std::string name;  // the target's name in the folder
};

std::string CopyRecordText(const CopyRecord& record)
{
    std::string text(CopyRecordHeading);
    text += std::to_string(record.device) + ' ' + std::to_string(record.inode) + ' ' + std::to_string(record.size)
        + ' ' + std::to_string(record.name.size()) + '\n';
    return text.append(record.name).append(CopyRecordEnd);
}

template <typename Number>
bool ReadNumber(std::string_view& text, char end, Number& number)
{
    const auto [stop, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || stop == text.data() + text.size() || *stop != end)
        return false;
    text.remove_prefix(static_cast<std::size_t>(stop - text.data()) + 1);
    return true;
}

// The record in text, or nothing when it is not one whole: a record cut short by a kill
// while it was written is told by its missing end.
std::optional<CopyRecord> ParseCopyRecord(std::string_view text)
{
    if (!text.starts_with(CopyRecordHeading) || !text.ends_with(CopyRecordEnd))
        return std::nullopt;
    text.remove_prefix(CopyRecordHeading.size());
    text.remove_suffix(CopyRecordEnd.size());
    CopyRecord record;
    std::size_t nameSize = 0;
    if (!ReadNumber(text, ' ', record.device) || !ReadNumber(text, ' ', record.inode)
        || !ReadNumber(text, ' ', record.size) || !ReadNumber(text, '\n', nameSize) || text.size() != nameSize
        || text.empty() || text.find('/') != std::string_view::npos)
        return std::nullopt;
    record.name = text;
    return record;
}

// Writes the record as a new file and flushes it and its name to the disk.
bool WriteCopyRecord(const std::string& path, const CopyRecord& record)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    bool written = WriteAll(fd, CopyRecordText(record)) && ::fsync(fd) == 0;
    written = ::close(fd) == 0 && written;
    SyncFolder(FolderOf(path));
    return written;
}

std::optional<std::string> ReadSmallFile(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return std::nullopt;
    std::string text(4096 + CopyRecordHeading.size() + CopyRecordEnd.size() + 64, '\0');
    const ssize_t got = ::pread(fd, text.data(), text.size(), 0);
    ::close(fd);
    if (got < 0)
        return std::nullopt;
    text.resize(static_cast<std::size_t>(got));
    return text;
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

namespace {

// The old file is about to be replaced, and whoever needs its bytes has read them already:
// the memory that caches them is given back first, so that the new copy is written into it
// instead of into memory the system must find (on some machines the dearest part of a save).
void GiveBackCachedPages(const std::string& target)
{
    const int fd = ::open(target.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return;
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    ::close(fd);
}

}  // namespace

void SafeSave::Stage(const std::string& path, std::string_view content, Messages messages, Access access)
{
    Stage(path, std::vector<std::string_view>{content}, std::move(messages), access);
}

void SafeSave::Stage(const std::string& path, const std::vector<std::string_view>& content, Messages messages,
                     Access access)
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
    if (exists && !inPlace)
        GiveBackCachedPages(target);
    off_t at = 0;
    for (const std::string_view part : content) {
        if (!WriteAll(fd, part, at))
            Fail(messages.cannotWrite, errno);
        at += static_cast<off_t>(part.size());
    }
    if (::fsync(fd) != 0)
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
    // Before the first byte of the target changes, a record beside the temporary file names
    // it: a save killed during the copy leaves the target cut, and the cleanup then finishes
    // the copy from the temporary file instead of removing the only whole new content.
    const std::string record = CopyRecordOf(file.temporary);
    struct stat facts {};
    struct stat content {};
    if (::fstat(target, &facts) != 0 || ::fstat(file.fd, &content) != 0
        || !WriteCopyRecord(record, {facts.st_dev, facts.st_ino, content.st_size, NameOf(file.target)})) {
        const int error = errno;
        ::unlink(record.c_str());
        ::close(target);
        Fail(file.messages.cannotWrite, error);
    }
    Step(InPlaceStep::Recorded);
    const bool written = OverwriteInPlace(file.fd, target);
    const int error = errno;
    const bool closed = ::close(target) == 0;
    if (!written || !closed) {
        // The target may be cut: the record and the temporary file stay, and the lock goes
        // with this save, so that the next cleanup of another process finishes the copy.
        file.temporary.clear();
        Fail(file.messages.cannotWrite, written ? errno : error);
    }
    Step(InPlaceStep::Copied);
    // The record goes first: a temporary file without one is only litter.
    ::unlink(record.c_str());
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

namespace {

// Calls visit with every entry of hostFolder.
void VisitEntries(const std::string& hostFolder, const std::function<void(const dirent&)>& visit)
{
    const auto close = [](DIR* dir) { ::closedir(dir); };
    const std::unique_ptr<DIR, decltype(close)> dir(::opendir(hostFolder.c_str()), close);
    while (dir) {
        const dirent* entry = ::readdir(dir.get());
        if (!entry)
            break;
        visit(*entry);
    }
}

// The names (code page 932) of the links in hostFolder.
std::unordered_set<std::string> LinksIn(const std::string& hostFolder)
{
    std::unordered_set<std::string> links;
    VisitEntries(hostFolder, [&](const dirent& entry) {
        struct stat facts {};
        const bool link = entry.d_type == DT_LNK
            || (entry.d_type == DT_UNKNOWN && ::lstat((hostFolder + '/' + entry.d_name).c_str(), &facts) == 0
                && S_ISLNK(facts.st_mode));
        if (!link)
            return;
        if (auto name = FromHostPath(entry.d_name))
            links.insert(std::move(*name));
    });
    return links;
}

}  // namespace

std::vector<std::string> TemporaryFoldersOf(const std::vector<std::string>& paths)
{
    std::vector<std::string> folders;
    const auto add = [&folders](std::string folder) {
        if (std::find(folders.begin(), folders.end(), folder) == folders.end())
            folders.push_back(std::move(folder));
    };
    // Each folder is read once for its links: only a link sends a save elsewhere, and a list
    // of many files is not looked up file by file.
    std::unordered_map<std::string, std::unordered_set<std::string>> linksByFolder;
    for (const std::string& path : paths) {
        const std::size_t slash = path.rfind('/');
        const std::string folder = slash == std::string::npos ? "." : path.substr(0, std::max<std::size_t>(slash, 1));
        const auto [links, fresh] = linksByFolder.try_emplace(folder);
        if (fresh) {
            const auto hostFolder = ToHostPath(folder);
            if (!hostFolder)
                continue;
            add(*hostFolder);
            links->second = LinksIn(*hostFolder);
        }
        if (!links->second.contains(path.substr(slash + 1)))
            continue;
        if (const auto hostPath = ToHostPath(path))
            add(FolderOf(ResolveLink(*hostPath)));
    }
    return folders;
}

namespace {

std::vector<std::string> NamesIn(const std::string& hostFolder)
{
    std::vector<std::string> names;
    VisitEntries(hostFolder, [&names](const dirent& entry) { names.emplace_back(entry.d_name); });
    return names;
}

// Whether name is one a save gives its files with this ending, and of another process than
// this one. This process's own files are never dead; on NFS its lock would not even keep
// them, as NFS locks belong to the process rather than to the open file.
bool IsOtherWritersFile(std::string_view name, std::string_view suffix)
{
    if (!name.starts_with(TemporaryPrefix) || !name.ends_with(suffix))
        return false;
    const std::string_view tag
        = name.substr(TemporaryPrefix.size(), name.size() - TemporaryPrefix.size() - suffix.size());
    return IsWriterTag(tag) && !(tag.starts_with(WriterTag()) && tag.substr(WriterTag().size()).starts_with('-'));
}

// The temporary file at path, open and locked by this process, when its writer has ended: its
// lock is free and the name still names the file locked. -1 when the writer lives, the file
// is gone, or this user may not open it (then it is not known to be dead). Opened for
// writing, as NFS grants an exclusive lock only then.
int LockDeadTemporary(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return -1;
    struct stat opened {};
    struct stat named {};
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode)
        && ::lstat(path.c_str(), &named) == 0 && named.st_ino == opened.st_ino && named.st_dev == opened.st_dev)
        return fd;
    ::close(fd);
    return -1;
}

// The recorded target open for writing: the file of the folder with the recorded device and
// inode, under its recorded name or, renamed since, under another. -1 with found false when
// the folder holds no name of it any more.
int OpenRecordedTarget(const std::string& hostFolder, const std::vector<std::string>& names,
                       const CopyRecord& record, bool& found)
{
    std::vector<std::string> candidates{record.name};
    candidates.insert(candidates.end(), names.begin(), names.end());
    found = false;
    for (const std::string& name : candidates) {
        const std::string path = hostFolder + '/' + name;
        struct stat facts {};
        if (::lstat(path.c_str(), &facts) != 0 || !S_ISREG(facts.st_mode) || facts.st_dev != record.device
            || facts.st_ino != record.inode)
            continue;
        found = true;
        const int fd = ::open(path.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
        if (fd < 0)
            return -1;
        if (::fstat(fd, &facts) == 0 && facts.st_dev == record.device && facts.st_ino == record.inode)
            return fd;
        ::close(fd);
        return -1;
    }
    return -1;
}

// Finishes the in-place write of a killed save from its record recordName: the recorded
// target gets the whole content of the temporary file, and the record goes. The record
// stays while the writer lives, and when the copy cannot be finished (this user may not
// write the target, the disk fails); then its temporary file must stay too, and false is
// given.
bool FinishInPlaceWrite(const std::string& hostFolder, const std::vector<std::string>& names,
                        const std::string& recordName)
{
    const std::string recordPath = hostFolder + '/' + recordName;
    const std::string temporaryPath = recordPath.substr(0, recordPath.size() - CopyRecordSuffix.size())
        + std::string(TemporarySuffix);
    const int temporary = LockDeadTemporary(temporaryPath);
    if (temporary < 0) {
        // Without its temporary file the record is only litter: the copy ended before the
        // temporary file went. A temporary file that is there but not taken is a live one.
        struct stat facts {};
        if (::lstat(temporaryPath.c_str(), &facts) != 0 && errno == ENOENT)
            ::unlink(recordPath.c_str());
        return true;
    }
    const auto text = ReadSmallFile(recordPath);
    if (!text) {
        ::close(temporary);
        return false;
    }
    // A record cut short by the kill was written before the target was touched.
    const auto record = ParseCopyRecord(*text);
    bool finished = true;
    if (record) {
        struct stat content {};
        bool found = false;
        const int target = OpenRecordedTarget(hostFolder, names, *record, found);
        finished = !found
            || (target >= 0 && ::fstat(temporary, &content) == 0 && content.st_size == record->size
                && OverwriteInPlace(temporary, target));
        if (target >= 0)
            finished = ::close(target) == 0 && finished;
    }
    if (finished)
        ::unlink(recordPath.c_str());
    ::close(temporary);
    return finished;
}

}  // namespace

int RemoveDeadTemporaries(const std::string& hostFolder)
{
    const std::vector<std::string> names = NamesIn(hostFolder);
    std::vector<std::string> unfinished;
    for (const std::string& name : names) {
        if (IsOtherWritersFile(name, CopyRecordSuffix) && !FinishInPlaceWrite(hostFolder, names, name))
            unfinished.push_back(name.substr(0, name.size() - CopyRecordSuffix.size()).append(TemporarySuffix));
    }
    int removed = 0;
    for (const std::string& name : names) {
        if (!IsOtherWritersFile(name, TemporarySuffix)
            || std::find(unfinished.begin(), unfinished.end(), name) != unfinished.end())
            continue;
        const std::string path = hostFolder + '/' + name;
        const int fd = LockDeadTemporary(path);
        if (fd < 0)
            continue;
        removed += ::unlink(path.c_str()) == 0;
        ::close(fd);
    }
    return removed;
}

InPlaceStepHandler SetInPlaceStepHandler(InPlaceStepHandler handler)
{
    return std::exchange(StepHandler(), std::move(handler));
}
