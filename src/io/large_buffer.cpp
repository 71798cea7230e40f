#include "io/large_buffer.h"

#include "io/platform_memory.h"

namespace veltrane::io {

std::vector<std::uint8_t> largeBuffer(std::size_t size, std::size_t spare) {
    // What the allocator keeps beside a block it maps on its own. A block that takes whole huge pages
    // with it is mapped on a huge-page boundary, the data a few bytes in: the advice then takes in the
    // first and last huge page too, not only those that lie wholly within the data. The first holds the
    // allocator's own bytes, written before the advice, so it is made a huge page at once.
    constexpr std::uintptr_t kAllocatorBytes = 32;
    std::vector<std::uint8_t> buffer;
    // A buffer smaller than a huge page stays on ordinary pages: on a huge one it would take 2 MiB.
    if (size + spare < kHugePageBytes) {
        buffer.reserve(size + spare);
        buffer.resize(size);
        return buffer;
    }
    // Reserved but not yet touched, so that the advice comes before the kernel gives the pages.
    buffer.reserve(roundUpToHugePage(size + spare + kAllocatorBytes) - kAllocatorBytes);
    const auto start = reinterpret_cast<std::uintptr_t>(buffer.data());
    const std::uintptr_t first = roundUpToHugePage(start - kAllocatorBytes);
    const std::uintptr_t end = roundDownToHugePage(start + buffer.capacity() + kAllocatorBytes);
    if (end > first) {
        adviseHugePages(reinterpret_cast<void*>(first), end - first);
        if (first < start)
            makeHugePage(reinterpret_cast<void*>(first));
    }
    buffer.resize(size);
    return buffer;
}

} // namespace veltrane::io
