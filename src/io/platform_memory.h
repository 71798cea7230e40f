#pragma once

#include <cstddef>
#include <cstdint>

namespace veltrane::io {

// The size of a huge page, as the kernel gives them to ordinary programs on x86-64.
constexpr std::size_t kHugePageBytes = std::size_t{2} << 20;

// An address rounded down or up to the start of a huge page.
constexpr std::uintptr_t roundDownToHugePage(std::uintptr_t value) { return value & ~(kHugePageBytes - 1); }
constexpr std::uintptr_t roundUpToHugePage(std::uintptr_t value) {
    return roundDownToHugePage(value + kHugePageBytes - 1);
}

// Asks the system to back the whole 2 MiB pages of [start, start + length) with huge pages. Only
// advice: where it is not taken (or, on Windows, not offered to ordinary programs), the memory has
// ordinary pages.
void adviseHugePages(void* start, std::size_t length);
// Backs the 2 MiB page at `start` (on a 2 MiB boundary, within advised memory) with a huge page now,
// though some of its bytes are in use already: the advice alone does not reach a 2 MiB page that
// ordinary pages have begun. Only advice too.
void makeHugePage(void* start);

// Lets the blocks a short-lived program allocates, on any of its threads, come from one heap grown
// `bytes` at a time and kept once grown, in place of a fresh mapping of 4 KiB pages for every large
// block: a fresh process otherwise spends about as long in page faults as in its work. The heap's
// first `bytes` lie on huge pages; later growth has ordinary pages. Call it first thing in main; on
// Windows it does nothing.
void keepHeapOnHugePages(std::size_t bytes);

} // namespace veltrane::io
