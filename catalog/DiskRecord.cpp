#include "catalog/DiskRecord.h"

#include "catalog/CatalogFile.h"

#include <functional>

std::optional<std::string> DiskRecord::ReadNow(const std::string& path)
{
    return ReadFileBytes(path);
}

void DiskRecord::Remember(const std::string& path, std::optional<std::string_view> bytes)
{
    seen_[path] = FingerprintOf(bytes);
}

DiskRecord::Comparison DiskRecord::Compare(const std::string& path, const std::optional<std::string>& now,
                                             std::string_view text) const
{
    const auto seen = seen_.find(path);
    const Fingerprint before = seen == seen_.end() ? Fingerprint() : seen->second;
    const Fingerprint current = FingerprintOf(now ? std::optional<std::string_view>(*now) : std::nullopt);
    return {now && *now == text, current != before};
}

DiskRecord::Fingerprint DiskRecord::FingerprintOf(std::optional<std::string_view> bytes)
{
    if (!bytes)
        return {};
    return {true, bytes->size(), std::hash<std::string_view>{}(*bytes)};
}
