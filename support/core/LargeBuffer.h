#pragma once

#include <cstddef>

// Asks the kernel to back a large buffer (a catalog file's bytes, the text a save writes, the
// objects of a big catalog) with huge pages where it gives them on request. Filling tens of
// megabytes page by page costs more than reading or writing them: a million objects make
// about fifty thousand page faults otherwise. Call it after the buffer is reserved and before
// it is filled; buffers below a few megabytes are left alone, and a kernel that declines
// changes nothing.
void AdviseLargeBuffer(const void* data, std::size_t size);
