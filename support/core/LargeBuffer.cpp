#include "support/core/LargeBuffer.h"

#include <sys/mman.h>

#include <cstdint>

namespace {

constexpr std::uintptr_t HugePage = std::uintptr_t(2) << 20;

}  // namespace

void AdviseLargeBuffer(const void* data, std::size_t size)
{
    if (size < 2 * HugePage)
        return;
    // Only whole huge pages inside the buffer: advice beyond it would reach other memory.
    const auto begin = (reinterpret_cast<std::uintptr_t>(data) + HugePage - 1) & ~(HugePage - 1);
    const auto end = (reinterpret_cast<std::uintptr_t>(data) + size) & ~(HugePage - 1);
    if (end > begin)
        ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
}
