#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace veltrane::io {

// `size` zero bytes, for the large buffers a file and its chunks are read into, with room for `spare`
// bytes more that costs address space only until they are used. Where the kernel allows, a buffer of a
// huge page (2 MiB) or more lies on huge pages: a fresh process otherwise takes a page fault for every
// 4 KiB it touches, which costs about as much as inflating the bytes.
std::vector<std::uint8_t> largeBuffer(std::size_t size, std::size_t spare = 0);

} // namespace veltrane::io
