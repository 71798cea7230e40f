#pragma once

#include <cstddef>

namespace veltrane::io {

// Asks the system to back the whole 2 MiB pages of [start, start + length) with huge pages. Only
// advice: where it is not taken (or, on Windows, not offered to ordinary programs), the memory has
// ordinary pages.
void adviseHugePages(void* start, std::size_t length);

} // namespace veltrane::io
