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
    if (size <= kKeyRoom) {
        bytes_.append(reinterpret_cast<const char*>(room.data()), std::size_t(size));
        return;
    }
    const auto start = bytes_.size();
    bytes_.resize(start + std::size_t(size));
    ucol_getSortKey(collator_, utf16, int(text.size()),
                    reinterpret_cast<std::uint8_t*>(bytes_.data() + start), size);
}

void CollationKeys::Erase(std::size_t index)
{
    offsets_.erase(offsets_.begin() + std::ptrdiff_t(index));
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
