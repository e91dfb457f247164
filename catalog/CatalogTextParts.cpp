#include "catalog/CatalogTextParts.h"

#include "catalog/CatalogFile.h"
#include "support/core/LargeBuffer.h"

#include <algorithm>

CatalogTextParts::CatalogTextParts(const TCatalogEntry& entry)
    : objectLines_(entry.Objects.LineRuns())
{
    for (const std::string& line : ComposeCatalogText(CatalogCommonLines(entry.Title), {}, {}))
        head_.append(line).append("\r\n");
    size_ = head_.size();
    for (const std::string_view run : objectLines_)
        size_ += run.size();
}

std::vector<std::string_view> CatalogTextParts::Parts() const
{
    std::vector<std::string_view> parts{head_};
    parts.insert(parts.end(), objectLines_.begin(), objectLines_.end());
    return parts;
}

bool CatalogTextParts::Equals(std::string_view bytes) const
{
    if (bytes.size() != size_)
        return false;
    for (const std::string_view part : Parts()) {
        if (!bytes.starts_with(part))
            return false;
        bytes.remove_prefix(part.size());
    }
    return true;
}

std::string CatalogTextParts::Joined() const
{
    std::string text;
    text.reserve(size_);
    AdviseLargeBuffer(text.data(), text.capacity());
    for (const std::string_view part : Parts())
        text.append(part);
    return text;
}
