#include "catalog/JournalFile.h"

#include "catalog/CatalogFile.h"
#include "catalog/JournalFormat.h"
#include "catalog/JournalMessages.h"
#include "catalog/SafeSave.h"
#include "support/core/FileNames.h"
#include "support/core/HostPath.h"
#include "support/core/TessnaError.h"

#include <QDateTime>

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace {

// Renames without replacing a file already at newPath; false when one is there or the
// rename fails.
bool RenameWithoutReplacing(const std::string& oldPath, const std::string& newPath)
{
    if (::renameat2(AT_FDCWD, oldPath.c_str(), AT_FDCWD, newPath.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // A file system without the no-replace rename: the owner alone renames here, so a check
    // first cannot race with another writer of these names.
    struct stat facts {};
    return ::lstat(newPath.c_str(), &facts) != 0 && errno == ENOENT
        && ::rename(oldPath.c_str(), newPath.c_str()) == 0;
}

}  // namespace

JournalFile::JournalFile(std::string holder)
    : holder_(AddPathDelimiter(holder, PathDelim))
{
}

std::string JournalFile::Path() const
{
    return holder_ + Name;
}

void JournalFile::Write(const JournalState& state) const
{
    const std::string path = Path();
    const std::string failure = JournalCannotWriteMessage(path);
    const auto hostPath = ToHostPath(path);
    struct stat facts {};
    // A link or anything else in the journal's place is never written through.
    if (!hostPath || (::lstat(hostPath->c_str(), &facts) == 0 && !S_ISREG(facts.st_mode)))
        throw TessnaError(failure);
    SafeSave save;
    save.Stage(path, EncodeJournal(state), {failure, failure}, SafeSave::Access::OwnerOnly);
    save.Commit();
}

bool JournalFile::Exists() const
{
    const auto hostPath = ToHostPath(Path());
    struct stat facts {};
    return hostPath && ::lstat(hostPath->c_str(), &facts) == 0;
}

std::optional<JournalFile::Found> JournalFile::Read() const
{
    const auto hostPath = ToHostPath(Path());
    struct stat facts {};
    if (!hostPath || (::lstat(hostPath->c_str(), &facts) != 0 && errno == ENOENT))
        return std::nullopt;
    if (!S_ISREG(facts.st_mode))
        return Found{};
    const auto bytes = ReadFileBytes(Path());
    return Found{bytes ? DecodeJournal(*bytes) : std::nullopt};
}

std::optional<std::string> JournalFile::SetAside() const
{
    const auto hostPath = ToHostPath(Path());
    if (!hostPath)
        return std::nullopt;
    const std::string stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")).toStdString();
    for (int serial = 1; serial < 1000; ++serial) {
        std::string name = SetAsidePrefix + stamp;
        if (serial > 1)
            name += '-' + std::to_string(serial);
        // The journal's own name and this stamp are ASCII: the same in both forms.
        if (RenameWithoutReplacing(*hostPath, *hostPath + name.substr(sizeof Name - 1)))
            return holder_ + name;
        if (errno != EEXIST)
            return std::nullopt;
    }
    return std::nullopt;
}

bool JournalFile::Remove() const
{
    const auto hostPath = ToHostPath(Path());
    return hostPath && (::unlink(hostPath->c_str()) == 0 || errno == ENOENT);
}
