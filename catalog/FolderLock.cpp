#include "catalog/FolderLock.h"

#include "catalog/CatalogMessages.h"
#include "support/core/FileLock.h"
#include "support/core/HostPath.h"

#include <cerrno>

FolderLock::FolderLock(std::string folder, std::chrono::milliseconds wait)
    : folder_(std::move(folder))
    , wait_(wait)
{
}

FolderLock::~FolderLock() = default;

FolderLock::Holding FolderLock::Hold()
{
    return Take(wait_);
}

std::optional<FolderLock::Holding> FolderLock::HoldIfFree()
{
    try {
        return Take(std::chrono::milliseconds(0));
    } catch (const TessnaError&) {
        return std::nullopt;
    }
}

FolderLock::Holding FolderLock::Take(std::chrono::milliseconds wait)
{
    if (holds_ == 0) {
        const auto hostFolder = ToHostPath(folder_);
        if (!hostFolder)
            throw TessnaError(FolderLockFailedMessage(folder_, EILSEQ));
        const std::string delimiter = hostFolder->ends_with('/') ? "" : "/";
        auto lock = std::make_unique<FileLock>(*hostFolder + delimiter + FolderLockFileName, wait);
        // Where no lock file can be written, no save can write either: the folder itself is
        // locked, so that readers still wait for a writer with other rights.
        if (const int error = lock->Error(); error == EROFS || error == EACCES || error == EPERM) {
            auto folderLock = std::make_unique<FileLock>(*hostFolder, wait, FileLock::Target::Folder);
            if (folderLock->IsLocked() || folderLock->IsBusy())
                lock = std::move(folderLock);
        }
        if (lock->IsBusy())
            throw TessnaError(FolderBusyMessage(folder_));
        if (!lock->IsLocked())
            throw TessnaError(FolderLockFailedMessage(folder_, lock->Error()));
        lock_ = std::move(lock);
    }
    ++holds_;
    return Holding(*this);
}

void FolderLock::Holding::Release()
{
    if (!lock_)
        return;
    if (--lock_->holds_ == 0)
        lock_->lock_.reset();
    lock_ = nullptr;
}
