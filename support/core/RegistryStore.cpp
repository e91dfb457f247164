#include "support/core/RegistryStore.h"

#include "support/core/FileLock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

constexpr char RootName[] = "HKEY_CURRENT_USER";
// Writers hold the lock for one read and one rename; waiting longer than this means
// something is wrong with the other side, and the write fails like any failed write.
constexpr std::chrono::milliseconds LockTimeout { 10'000 };

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
        return ChangeResult::Failed;
    const FileLock lock(hostPath_ + ".lock", LockTimeout);
    if (!lock.IsLocked())
        return ChangeResult::Failed;
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
