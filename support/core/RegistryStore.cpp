#include "support/core/RegistryStore.h"

#include "support/core/FileLock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>

#include <sys/stat.h>

namespace {

constexpr char RootName[] = "HKEY_CURRENT_USER";
using std::chrono::milliseconds;

// Writers hold the lock for one read and one rename. While other writers replace the file,
// a change waits its turn, up to LongestWait; a holder that changes nothing is stuck, and the
// changes that meet it share StuckWait. What is left of that wait.
constexpr milliseconds StuckWait { 1'000 };
constexpr milliseconds LongestWait { 10'000 };
constexpr milliseconds WaitSlice { 100 };
std::atomic<long long> stuckWaitLeftMs { StuckWait.count() };

// What changes when a writer replaces the file.
struct FileStamp {
    ino_t inode = 0;
    long long modified = 0;
    bool operator==(const FileStamp&) const = default;
};

FileStamp StampOf(const std::string& hostPath)
{
    struct stat facts {};
    if (::stat(hostPath.c_str(), &facts) != 0)
        return {};
    return {facts.st_ino, facts.st_mtim.tv_sec * 1'000'000'000LL + facts.st_mtim.tv_nsec};
}

// The file's lock, taken by the rules above; it may come back not locked.
std::unique_ptr<FileLock> TakeLock(const std::string& hostPath)
{
    const auto started = std::chrono::steady_clock::now();
    FileStamp seen = StampOf(hostPath);
    for (;;) {
        const auto slice = std::clamp(milliseconds(stuckWaitLeftMs.load()), milliseconds(0), WaitSlice);
        const auto sliceStart = std::chrono::steady_clock::now();
        auto lock = std::make_unique<FileLock>(hostPath + ".lock", slice);
        if (!lock->IsBusy()) {
            if (lock->IsLocked())
                stuckWaitLeftMs = StuckWait.count();
            return lock;
        }
        const FileStamp now = StampOf(hostPath);
        if (now == seen)
            stuckWaitLeftMs -= std::chrono::duration_cast<milliseconds>(std::chrono::steady_clock::now() - sliceStart).count();
        seen = now;
        if (stuckWaitLeftMs <= 0 || std::chrono::steady_clock::now() - started >= LongestWait)
            return lock;
    }
}

QString QtPath(const std::string& hostPath)
{
    return QFile::decodeName(QByteArray::fromStdString(hostPath));
}

}  // namespace

RegistryStore::RegistryStore(std::string hostPath)
    : hostPath_(std::move(hostPath))
{
}

RegistryStore::LoadState RegistryStore::Load(std::optional<RegistryFile>& file) const
{
    QFile disk(QtPath(hostPath_));
    if (!disk.exists()) {
        file.emplace(RootName);
        return LoadState::Missing;
    }
    if (!disk.open(QIODevice::ReadOnly))
        return LoadState::Unreadable;
    const QByteArray bytes = disk.readAll();
    if (disk.error() != QFileDevice::NoError)
        return LoadState::Unreadable;
    file = RegistryFile::Parse(
        std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())), RootName);
    return file ? LoadState::Loaded : LoadState::Unreadable;
}

const RegistryFile& RegistryStore::Snapshot()
{
    if (!snapshot_ && Load(snapshot_) == LoadState::Unreadable)
        snapshot_.emplace(RootName);
    return *snapshot_;
}

bool RegistryStore::Replace(const RegistryFile& file) const
{
    QSaveFile disk(QtPath(hostPath_));
    if (!disk.open(QIODevice::WriteOnly))
        return false;
    const std::string bytes = file.Serialize();
    if (disk.write(bytes.data(), static_cast<qint64>(bytes.size()))
        != static_cast<qint64>(bytes.size()))
        return false;
    return disk.commit();
}

RegistryStore::ChangeResult RegistryStore::Change(const std::function<bool(RegistryFile&)>& change)
{
    const QString path = QtPath(hostPath_);
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return ChangeResult::NoFolder;
    const auto lock = TakeLock(hostPath_);
    if (!lock->IsLocked())
        return lock->IsBusy() ? ChangeResult::Busy : ChangeResult::Failed;
    std::optional<RegistryFile> current;
    if (Load(current) == LoadState::Unreadable)
        return ChangeResult::Unreadable;
    if (!change(*current)) {
        snapshot_ = std::move(current);
        return ChangeResult::Unchanged;
    }
    if (!Replace(*current))
        return ChangeResult::Failed;
    snapshot_ = std::move(current);
    return ChangeResult::Done;
}
