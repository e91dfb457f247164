#include "catalog/FolderLock.h"

#include "catalog/CatalogMessages.h"
#include "support/core/FileLock.h"
#include "support/core/HostPath.h"

FolderLock::FolderLock(std::string folder)
    : folder_(std::move(folder))
{
}

FolderLock::~FolderLock() = default;

FolderLock::Holding FolderLock::Hold()
{
    if (holds_ == 0) {
        const auto hostFolder = ToHostPath(folder_);
        auto lock = hostFolder ? std::make_unique<FileLock>(*hostFolder, Wait) : nullptr;
        if (!lock || !lock->IsLocked())
            throw TessnaError(FolderBusyMessage(folder_));
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
