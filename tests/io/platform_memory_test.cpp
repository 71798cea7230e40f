#include "io/large_buffer.h"
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

// The lines /proc/self/smaps gives for the mapping that holds `address`, after its header.
std::vector<std::string> mappingLines(std::uintptr_t address) {
    std::ifstream maps("/proc/self/smaps");
    std::vector<std::string> lines;
    bool inside = false;
    for (std::string line; std::getline(maps, line);) {
        std::uintptr_t start = 0, end = 0;
        char dash = 0;
        if (std::istringstream header(line); header >> std::hex >> start >> dash >> end && dash == '-') {
            if (inside)
                break;
            inside = start <= address && address < end;
        } else if (inside) {
            lines.push_back(line);
        }
    }
    return lines;
}

// Whether the mapping that holds `address` carries the advice to use huge pages ("hg" among its flags).
bool advisedHugePages(std::uintptr_t address) {
    for (const auto& line : mappingLines(address))
        if (line.starts_with("VmFlags:"))
            return line.find(" hg") != std::string::npos;
    return false;
}

// The KiB of the mapping that holds `address` that lie on huge pages.
std::size_t hugePageKib(std::uintptr_t address) {
    for (const auto& line : mappingLines(address))
        if (std::istringstream field(line); line.starts_with("AnonHugePages:")) {
            std::string name;
            std::size_t kib = 0;
            field >> name >> kib;
            return kib;
        }
    return 0;
}

bool kernelGivesHugePages() {
    std::ifstream enabled("/sys/kernel/mm/transparent_hugepage/enabled");
    std::string modes;
    return std::getline(enabled, modes) && modes.find("[never]") == std::string::npos;
}

// A page of the grown heap touched before the advice keeps its whole 2 MiB stretch on ordinary pages,
// so growing the heap may touch nothing past the start of its growth.
TEST(HeapOnHugePages, TheHeapGrowsByAStepAdvisedAndUntouched) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's allocator does not use the heap";
#endif
    // The allocator's defaults again afterwards, and the grown heap given back, for the tests after this.
    struct Restore {
        ~Restore() {
            ::mallopt(M_TOP_PAD, 128 * 1024);
            ::mallopt(M_TRIM_THRESHOLD, 128 * 1024);
            ::mallopt(M_ARENA_MAX, 0);
            ::malloc_trim(0);
        }
    } restore;
    auto* const before = static_cast<char*>(::sbrk(0));
    keepHeapOnHugePages(std::size_t{64} << 20);
    auto* const after = static_cast<char*>(::sbrk(0));
    ASSERT_GT(after, before);
    EXPECT_GE(::mallinfo2().keepcost, std::size_t{64} << 20) << "the top of the heap holds a whole step";

    // Past a margin for the top block's header and the few blocks allocated since.
    const auto first = roundUpToHugePage(reinterpret_cast<std::uintptr_t>(before) + (std::uintptr_t{256} << 10));
    const auto last = roundDownToHugePage(reinterpret_cast<std::uintptr_t>(after));
    EXPECT_TRUE(advisedHugePages(first));
    EXPECT_TRUE(advisedHugePages(last - 1));
    const auto pageBytes = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    std::vector<unsigned char> resident((last - first) / pageBytes);
    ASSERT_EQ(::mincore(reinterpret_cast<void*>(first), last - first, resident.data()), 0);
    EXPECT_EQ(std::count_if(resident.begin(), resident.end(), [](unsigned char page) { return (page & 1) != 0; }), 0);
}

// A large buffer lies on huge pages from its first byte to its last, also the 2 MiB pages it shares
// with the allocator's own bytes; one smaller than a huge page does not take one.
TEST(LargeBuffer, LiesOnHugePagesFromEndToEndAndASmallOneOnNone) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's allocator maps blocks its own way";
#endif
    if (!kernelGivesHugePages())
        GTEST_SKIP() << "the kernel gives no huge pages";
    // Blocks this large mapped on their own, as in a program that keeps no heap on huge pages.
    ::mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    constexpr std::size_t kMiB = std::size_t{1} << 20;
    const auto buffer = largeBuffer(5 * kMiB, 3 * kMiB);
    ASSERT_EQ(buffer.size(), 5 * kMiB);
    EXPECT_GE(buffer.capacity(), 8 * kMiB) << "the spare is reserved";
    EXPECT_TRUE(std::all_of(buffer.begin(), buffer.end(), [](std::uint8_t byte) { return byte == 0; }));
    const auto start = reinterpret_cast<std::uintptr_t>(buffer.data());
    EXPECT_TRUE(advisedHugePages(start));
    EXPECT_EQ(hugePageKib(start), 6 * 1024u) << "the three 2 MiB pages the bytes touch, the first among them";

    const auto small = largeBuffer(kMiB, kMiB - 1);
    EXPECT_EQ(small.size(), kMiB);
    EXPECT_FALSE(advisedHugePages(reinterpret_cast<std::uintptr_t>(small.data())));
}

} // namespace
} // namespace veltrane::io
