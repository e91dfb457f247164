#include "catalog/DiskRecord.h"

#include "catalog/CatalogFile.h"
#include "support/core/HostPath.h"

#include <QCryptographicHash>

#include <sys/stat.h>

#include <algorithm>

namespace {

DiskRecord::Digest Sha256Of(const std::vector<std::string_view>& parts)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const std::string_view part : parts)
        hash.addData(QByteArrayView(part.data(), static_cast<qsizetype>(part.size())));
    const QByteArray digest = hash.result();
    DiskRecord::Digest sha256{};
    std::copy_n(digest.begin(), sha256.size(), sha256.begin());
    return sha256;
}

std::int64_t Nanoseconds(const timespec& time)
{
    return static_cast<std::int64_t>(time.tv_sec) * 1000000000 + time.tv_nsec;
}

}  // namespace

DiskRecord::Now::Now(std::string path)
    : path_(std::move(path))
    , facts_(Look(path_))
{
}

const std::optional<std::string>& DiskRecord::Now::Bytes()
{
    if (!bytes_)
        bytes_ = facts_.exists ? ReadFileBytes(path_) : std::nullopt;
    return *bytes_;
}

DiskRecord::Fingerprint DiskRecord::Look(const std::string& path)
{
    const auto hostPath = ToHostPath(path);
    struct stat facts {};
    if (!hostPath || ::stat(hostPath->c_str(), &facts) != 0 || !S_ISREG(facts.st_mode))
        return {};
    return {true,
            static_cast<std::size_t>(facts.st_size),
            {static_cast<std::uint64_t>(facts.st_dev), static_cast<std::uint64_t>(facts.st_ino),
             Nanoseconds(facts.st_mtim), Nanoseconds(facts.st_ctim)},
            std::nullopt};
}

DiskRecord::Fingerprint DiskRecord::Of(Fingerprint facts, std::string_view bytes) const
{
    return Of(facts, std::vector<std::string_view>{bytes});
}

DiskRecord::Fingerprint DiskRecord::Of(Fingerprint facts, const std::vector<std::string_view>& parts) const
{
    facts.exists = true;
    facts.size = 0;
    for (const std::string_view part : parts)
        facts.size += part.size();
    if (keepsDigests_)
        facts.sha256 = Sha256Of(parts);
    return facts;
}

DiskRecord::Fingerprint DiskRecord::FingerprintOf(Now& now) const
{
    if (!now.Facts().exists || (keepsDigests_ && !now.Bytes()))
        return {};
    return keepsDigests_ ? Of(now.Facts(), *now.Bytes()) : now.Facts();
}

DiskRecord::Fingerprint DiskRecord::Seen(const std::string& path) const
{
    const auto seen = seen_.find(path);
    return seen == seen_.end() ? Fingerprint() : seen->second;
}

bool DiskRecord::ChangedSinceSeen(const std::string& path, Now& now) const
{
    const Fingerprint before = Seen(path);
    if (!now.Facts().exists || !before.exists)
        return now.Facts().exists != before.exists;
    if (now.Facts().size != before.size)
        return true;
    if (!before.sha256)
        return now.Facts().identity != before.identity;
    const auto& bytes = now.Bytes();
    return !bytes || Sha256Of({*bytes}) != *before.sha256;
}
