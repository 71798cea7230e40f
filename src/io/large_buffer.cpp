#include "io/large_buffer.h"

#include "io/platform_memory.h"

namespace veltrane::io {

std::vector<std::uint8_t> largeBuffer(std::size_t size, std::size_t spare) {
    constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;
    std::vector<std::uint8_t> buffer;
    // Reserved in whole huge pages but not yet touched, so that the advice comes before the kernel
    // gives the pages and the buffer's end lies on huge pages too.
    buffer.reserve((size + spare + kHugePage - 1) & ~(kHugePage - 1));
    const auto start = reinterpret_cast<std::uintptr_t>(buffer.data());
    const std::uintptr_t first = (start + kHugePage - 1) & ~(kHugePage - 1);
    const std::uintptr_t end = (start + buffer.capacity()) & ~(kHugePage - 1);
    if (end > first)
        adviseHugePages(reinterpret_cast<void*>(first), end - first);
    buffer.resize(size);
    return buffer;
}

} // namespace veltrane::io
