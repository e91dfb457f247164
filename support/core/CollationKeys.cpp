#include "support/core/CollationKeys.h"

#include "support/core/RowOrder.h"

#include <QLocale>

#include <unicode/ucol.h>

#include <array>
#include <cstring>

namespace {

// Room for the key of a long path; a longer key is made again with the size it needs. Each
// key ends in a NUL byte of its own, where the comparison stops.
constexpr int kKeyRoom = 1024;

}  // namespace

CollationKeys::CollationKeys()
{
    UErrorCode status = U_ZERO_ERROR;
    collator_ = ucol_open(QLocale().name().toLatin1().constData(), &status);
    if (U_FAILURE(status)) {
        status = U_ZERO_ERROR;
        collator_ = ucol_open("", &status);
    }
    // The settings QCollator gives a case-sensitive collator.
    ucol_setAttribute(collator_, UCOL_NORMALIZATION_MODE, UCOL_ON, &status);
    ucol_setAttribute(collator_, UCOL_STRENGTH, UCOL_DEFAULT_STRENGTH, &status);
    ucol_setAttribute(collator_, UCOL_NUMERIC_COLLATION, UCOL_OFF, &status);
    ucol_setAttribute(collator_, UCOL_ALTERNATE_HANDLING, UCOL_NON_IGNORABLE, &status);
}

CollationKeys::~CollationKeys()
{
    ucol_close(collator_);
}

void CollationKeys::Clear()
{
    bytes_.clear();
    offsets_.clear();
    usedBytes_ = 0;
}

void CollationKeys::Reserve(std::size_t count)
{
    offsets_.reserve(count);
    bytes_.reserve(count * 64);
}

void CollationKeys::Append(const QString& text)
{
    const auto* utf16 = reinterpret_cast<const UChar*>(text.utf16());
    std::array<std::uint8_t, kKeyRoom> room;
    const int size = ucol_getSortKey(collator_, utf16, int(text.size()), room.data(), kKeyRoom);
    offsets_.push_back(static_cast<std::uint32_t>(bytes_.size()));
    usedBytes_ += std::size_t(size);
    if (size <= kKeyRoom) {
        bytes_.append(reinterpret_cast<const char*>(room.data()), std::size_t(size));
        return;
    }
    const auto start = bytes_.size();
    bytes_.resize(start + std::size_t(size));
    ucol_getSortKey(collator_, utf16, int(text.size()),
                    reinterpret_cast<std::uint8_t*>(bytes_.data() + start), size);
}

std::size_t CollationKeys::KeySize(std::uint32_t offset) const
{
    return std::strlen(bytes_.data() + offset) + 1;
}

CollationKeys::Taken CollationKeys::Erase(const std::vector<int>& indexes)
{
    Taken taken;
    if (offsets_.empty() || indexes.empty())
        return taken;
    taken.offsets.reserve(indexes.size());
    std::size_t kept = 0;
    auto erased = indexes.begin();
    for (std::size_t i = 0; i < offsets_.size(); ++i) {
        if (erased != indexes.end() && std::size_t(*erased) == i) {
            const std::size_t size = KeySize(offsets_[i]);
            taken.offsets.push_back(static_cast<std::uint32_t>(taken.bytes.size()));
            taken.bytes.append(bytes_.data() + offsets_[i], size);
            usedBytes_ -= size;
            ++erased;
            continue;
        }
        offsets_[kept++] = offsets_[i];
    }
    offsets_.resize(kept);
    if (bytes_.size() > 2 * usedBytes_)
        Compact();
    return taken;
}

void CollationKeys::Append(const Taken& taken, std::size_t i)
{
    const std::uint32_t from = taken.offsets[i];
    const std::size_t size = std::strlen(taken.bytes.data() + from) + 1;
    offsets_.push_back(static_cast<std::uint32_t>(bytes_.size()));
    bytes_.append(taken.bytes.data() + from, size);
    usedBytes_ += size;
}

void CollationKeys::Compact()
{
    std::string bytes;
    bytes.reserve(usedBytes_);
    for (std::uint32_t& offset : offsets_) {
        const std::size_t size = KeySize(offset);
        const auto from = offset;
        offset = static_cast<std::uint32_t>(bytes.size());
        bytes.append(bytes_.data() + from, size);
    }
    bytes_ = std::move(bytes);
}

void CollationKeys::Permute(const std::vector<int>& order)
{
    if (!offsets_.empty())
        ApplyOrder(offsets_, order);
}

int CollationKeys::Compare(std::size_t a, std::size_t b) const
{
    return std::strcmp(bytes_.data() + offsets_[a], bytes_.data() + offsets_[b]);
}
