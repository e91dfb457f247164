#include "catalog/DiskRecord.h"

#include "catalog/CatalogFile.h"

#include <QCryptographicHash>

#include <algorithm>

std::optional<std::string> DiskRecord::ReadNow(const std::string& path)
{
    return ReadFileBytes(path);
}

void DiskRecord::Remember(const std::string& path, std::optional<std::string_view> bytes)
{
    seen_[path] = FingerprintOf(bytes);
}

DiskRecord::Fingerprint DiskRecord::Seen(const std::string& path) const
{
    const auto seen = seen_.find(path);
    return seen == seen_.end() ? Fingerprint() : seen->second;
}

bool DiskRecord::ChangedSinceSeen(const std::string& path, const std::optional<std::string>& now) const
{
    const Fingerprint before = Seen(path);
    if (!now || !before.exists)
        return now.has_value() != before.exists;
    if (now->size() != before.size)
        return true;
    return FingerprintOf(*now) != before;
}

DiskRecord::Fingerprint DiskRecord::FingerprintOf(std::optional<std::string_view> bytes)
{
    if (!bytes)
        return {};
    Fingerprint fingerprint{true, bytes->size(), {}};
    const QByteArray digest = QCryptographicHash::hash(
        QByteArrayView(bytes->data(), static_cast<qsizetype>(bytes->size())), QCryptographicHash::Sha256);
    std::copy_n(digest.begin(), fingerprint.sha256.size(), fingerprint.sha256.begin());
    return fingerprint;
}
