#include "catalog/JournalOwner.h"

#include "support/core/FileNames.h"
#include "support/core/HostPath.h"
#include "support/core/Sha256.h"
#include "support/core/TessnaError.h"

#include <QDir>
#include <QFile>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>

namespace {

// Whether the object is a plain file of this user; a link is never one.
bool IsOwnFile(const struct stat& facts)
{
    return S_ISREG(facts.st_mode) && facts.st_uid == ::geteuid();
}

std::string HostName()
{
    std::array<char, 256> name{};
    if (::gethostname(name.data(), name.size() - 1) != 0)
        return {};
    return name.data();
}

// The computer whose run last owned the journal, as its lock file names it ("" for none).
std::string LastOwnerHost(int lockFd)
{
    std::array<char, 256> name{};
    const ssize_t got = ::pread(lockFd, name.data(), name.size() - 1, 0);
    return got > 0 ? std::string(name.data(), static_cast<std::size_t>(got)) : std::string();
}

void NameOwnerHost(int lockFd, const std::string& host)
{
    if (::ftruncate(lockFd, 0) == 0)
        (void)!::pwrite(lockFd, host.data(), host.size(), 0);
}

}  // namespace

JournalOwner::JournalOwner(int lockFd, std::string holder)
    : lockFd_(lockFd)
    , file_(std::move(holder))
{
}

JournalOwner::~JournalOwner()
{
    ::close(lockFd_);
}

JournalOwner::Claim JournalOwner::ClaimFor(const std::string& programFolder)
{
    int lockFd = -1;
    switch (TryHolder(programFolder, lockFd)) {
    case Attempt::Owned: {
        std::unique_ptr<JournalOwner> owner(new JournalOwner(lockFd, programFolder));
        owner->AdoptFromStateFolder(programFolder);
        return {Outcome::InFolder, std::move(owner)};
    }
    case Attempt::Elsewhere:
        return {Outcome::Elsewhere, nullptr};
    case Attempt::CannotHold:
        break;
    }
    const auto state = StateFolderFor(programFolder);
    const auto qtState = state ? ToQtPath(*state) : std::nullopt;
    if (!qtState || !QDir().mkpath(*qtState))
        return {Outcome::Nowhere, nullptr};
    QFile::setPermissions(*qtState, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    switch (TryHolder(*state, lockFd)) {
    case Attempt::Owned:
        return {Outcome::InStateFolder, std::unique_ptr<JournalOwner>(new JournalOwner(lockFd, *state))};
    case Attempt::Elsewhere:
        return {Outcome::Elsewhere, nullptr};
    case Attempt::CannotHold:
        break;
    }
    return {Outcome::Nowhere, nullptr};
}

std::optional<std::string> JournalOwner::StateFolderFor(const std::string& programFolder)
{
    const auto hostFolder = ToHostPath(AddPathDelimiter(programFolder, PathDelim));
    if (!hostFolder)
        return std::nullopt;
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || QDir::isRelativePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return FromQtPath(state + QStringLiteral("/Kavo/Tessna/") + QString::fromStdString(Sha256Hex(*hostFolder)));
}

JournalOwner::Attempt JournalOwner::TryHolder(const std::string& holder, int& lockFd)
{
    const auto hostHolder = ToHostPath(AddPathDelimiter(holder, PathDelim));
    if (!hostHolder)
        return Attempt::CannotHold;
    const std::string lockPath = *hostHolder + LockName;
    struct stat facts {};
    const bool lockExists = ::lstat(lockPath.c_str(), &facts) == 0;
    if (lockExists && !IsOwnFile(facts))
        return Attempt::Elsewhere;
    const int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    // Our own lock file that cannot be opened for writing is on media that turned read-only.
    if (fd < 0)
        return errno == ELOOP ? Attempt::Elsewhere : Attempt::CannotHold;
    const auto refuse = [fd](Attempt attempt) {
        ::close(fd);
        return attempt;
    };
    if (::fstat(fd, &facts) != 0 || !IsOwnFile(facts))
        return refuse(Attempt::Elsewhere);
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0)
        return refuse(errno == EWOULDBLOCK ? Attempt::Elsewhere : Attempt::CannotHold);

    const std::string journalPath = *hostHolder + JournalFile::Name;
    const bool journalExists = ::lstat(journalPath.c_str(), &facts) == 0;
    if (journalExists && !IsOwnFile(facts))
        return refuse(Attempt::Elsewhere);
    const std::string host = HostName();
    const std::string lastHost = LastOwnerHost(fd);
    if (journalExists && !lastHost.empty() && lastHost != host)
        return refuse(Attempt::Elsewhere);
    NameOwnerHost(fd, host);
    lockFd = fd;
    return Attempt::Owned;
}

void JournalOwner::AdoptFromStateFolder(const std::string& programFolder) const
{
    const auto state = StateFolderFor(programFolder);
    if (!state || file_.Exists() || !JournalFile(*state).Exists())
        return;
    int lockFd = -1;
    if (TryHolder(*state, lockFd) != Attempt::Owned)
        return;
    const JournalOwner stateOwner(lockFd, *state);
    const auto found = stateOwner.File().Read();
    if (!found || !found->state)
        return;
    try {
        file_.Write(*found->state);
    } catch (const TessnaError&) {
        return;
    }
    stateOwner.File().Remove();
}
