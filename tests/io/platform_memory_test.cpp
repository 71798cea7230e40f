#include "io/platform_memory.h"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <gtest/gtest.h>
#include <malloc.h>
#include <sstream>
#include <string>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

namespace veltrane::io {
namespace {

// Whether the mapping that holds `address` carries the advice to use huge pages ("hg" among its flags).
bool advisedHugePages(std::uintptr_t address) {
    std::ifstream maps("/proc/self/smaps");
    bool inside = false;
    for (std::string line; std::getline(maps, line);) {
        std::uintptr_t start = 0, end = 0;
        char dash = 0;
        if (std::istringstream header(line); header >> std::hex >> start >> dash >> end && dash == '-') {
            inside = start <= address && address < end;
            continue;
        }
        if (inside && line.starts_with("VmFlags:"))
            return line.find(" hg") != std::string::npos;
    }
    return false;
}

// A page of the grown heap touched before the advice keeps its whole 2 MiB stretch on ordinary pages,
// so growing the heap may touch nothing past the start of its growth.
TEST(HeapOnHugePages, TheHeapGrowsByAStepAdvisedAndUntouched) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's allocator does not use the heap";
#endif
    auto* const before = static_cast<char*>(::sbrk(0));
    keepHeapOnHugePages(std::size_t{64} << 20);
    auto* const after = static_cast<char*>(::sbrk(0));
    ASSERT_GT(after, before);
    EXPECT_GE(::mallinfo2().keepcost, std::size_t{64} << 20) << "the top of the heap holds a whole step";

    // Past a margin for the top block's header and the few blocks allocated since.
    constexpr std::uintptr_t kStretch = std::uintptr_t{2} << 20;
    const auto first = (reinterpret_cast<std::uintptr_t>(before) + (std::uintptr_t{256} << 10) + kStretch - 1) & ~(kStretch - 1);
    const auto last = reinterpret_cast<std::uintptr_t>(after) & ~(kStretch - 1);
    EXPECT_TRUE(advisedHugePages(first));
    EXPECT_TRUE(advisedHugePages(last - 1));
    const auto pageBytes = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    std::vector<unsigned char> resident((last - first) / pageBytes);
    ASSERT_EQ(::mincore(reinterpret_cast<void*>(first), last - first, resident.data()), 0);
    EXPECT_EQ(std::count_if(resident.begin(), resident.end(), [](unsigned char page) { return (page & 1) != 0; }), 0);
}

} // namespace
} // namespace veltrane::io
