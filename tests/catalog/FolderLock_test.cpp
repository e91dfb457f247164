// The folder lock between the program and tessna-cli, against real processes: it is a lock
// on a file opened for writing (what NFS needs for an exclusive lock), and its refusals tell
// another holder apart from a lock that cannot be taken, naming the cause.
#include "catalog/CatalogMessages.h"
#include "catalog/FolderLock.h"
#include "support/core/Cp932.h"
#include "support/core/TessnaError.h"
#include "tests/common/LockHolder.h"
#include "tests/common/TempFolder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <optional>

namespace {

constexpr std::chrono::milliseconds ShortWait{200};

// The message of a hold that fails; nothing when the lock was had.
std::optional<std::string> HoldFailure(FolderLock& lock)
{
    try {
        const auto hold = lock.Hold();
    } catch (const TessnaError& error) {
        return std::string(error.what());
    }
    return std::nullopt;
}

// The access mode this process opened the file with, from /proc; -1 when it is not open.
int OpenedAccess(const std::string& path)
{
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        std::error_code error;
        if (std::filesystem::read_symlink(entry.path(), error) != path)
            continue;
        std::ifstream info("/proc/self/fdinfo/" + entry.path().filename().string());
        for (std::string key; info >> key;) {
            std::string value;
            info >> value;
            if (key == "flags:")
                return static_cast<int>(std::stoul(value, nullptr, 8)) & O_ACCMODE;
        }
    }
    return -1;
}

TEST(FolderLockTest, TheLockIsAFileOpenedForWritingThatOtherProcessesSee)
{
    TempFolder folder;
    const std::string lockFile = folder.Path(FolderLockFileName);
    FolderLock lock(folder.Path(), ShortWait);
    {
        const auto hold = lock.Hold();
        EXPECT_EQ(OpenedAccess(lockFile), O_RDWR);
        LockHolder other(lockFile);
        EXPECT_FALSE(other.Holding()) << "another process took the lock while it was held";
    }
    LockHolder other(lockFile);
    EXPECT_TRUE(other.Holding());
}

// One row per way a hold can fail: the message says which, and names the cause.
TEST(FolderLockTest, ARefusalTellsBusyFromCannotBeTakenAndNamesTheCause)
{
    struct Row {
        const char* situation;
        bool otherHolder;
        bool folderInPlace;
        std::string expected;
    };
    const std::vector<Row> rows = {
        {"another process holds it", true, false, "ほかの Tessna か tessna-cli が使っています"},
        {"a folder has the lock file's name", false, true, "ロックファイルの名前のフォルダがあります"},
    };
    for (const Row& row : rows) {
        TempFolder folder;
        std::optional<LockHolder> holder;
        if (row.otherHolder)
            holder.emplace(folder.Path(FolderLockFileName));
        if (row.folderInPlace)
            folder.MakeFolder(FolderLockFileName);
        FolderLock lock(folder.Path(), ShortWait);
        const auto failure = HoldFailure(lock);
        ASSERT_TRUE(failure) << row.situation;
        EXPECT_NE(failure->find(Cp932Text(row.expected)), std::string::npos) << row.situation;
        EXPECT_NE(failure->find(folder.Path()), std::string::npos) << row.situation;
        EXPECT_EQ(failure->find(Cp932Text("ほかの Tessna")) != std::string::npos, row.otherHolder) << row.situation;
    }
}

}  // namespace
