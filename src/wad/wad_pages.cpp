#include "wad/wad_pages.h"

#include "io/large_buffer.h"
#include "io/task_pool.h"
#include "level/texel_blocks.h"
#include "wad/wad_library.h"

#include <algorithm>

namespace veltrane::wad {
namespace {

// The 32-bit word (B, G, R, A in memory) of an R, G, B texel, magenta the transparent 0 (a lambda, for
// convertTexels).
constexpr auto texel32 = [](const std::uint8_t* texel) {
    const std::uint32_t word = 0xFF000000u | std::uint32_t{texel[0]} << 16 | std::uint32_t{texel[1]} << 8 | texel[2];
    return word == 0xFFFF00FFu ? 0 : word;
};

} // namespace

std::vector<std::uint8_t> convertPages(std::span<const std::uint8_t> textureBytes) {
    std::vector<std::uint8_t> pages(textureBytes.size() / 3 * 4);
    convertPages(textureBytes, pages);
    return pages;
}

void convertPages(std::span<const std::uint8_t> textureBytes, std::span<std::uint8_t> pages) {
    level::convertTexels<3, std::uint32_t>(textureBytes.data(), pages.data(), textureBytes.size() / 3, texel32);
}

PageSet makePageSet(std::span<const std::uint8_t> textureBytes) {
    PageSet set;
    set.pageCount = level::wholePages(textureBytes.size(), kWadPageBytes);
    // On huge pages as a level's page chunks are, and a page a task on every core: a library's pages
    // are converted each time it is opened, before its objects can be shown.
    set.pages32 = io::largeBuffer(std::size_t{set.pageCount} * level::kPageBytes32);
    set.pages16 = io::largeBuffer(std::size_t{set.pageCount} * level::kPageBytes16);
    io::TaskPool pool(std::min(io::hardwareThreads(), set.pageCount));
    for (std::size_t page = 0; page < set.pageCount; ++page)
        pool.submit([&textureBytes, &set, page] {
            const auto page32 = std::span(set.pages32).subspan(page * level::kPageBytes32, level::kPageBytes32);
            convertPages(textureBytes.subspan(page * kWadPageBytes, kWadPageBytes), page32);
            // The 16-bit form from the 32-bit page just written, while it is still in the cache: a merge
            // then copies its pieces into both of a level's forms instead of converting the pages it adds.
            level::convertPagesTo16(page32,
                                    std::span(set.pages16).subspan(page * level::kPageBytes16, level::kPageBytes16));
        });
    pool.wait();
    return set;
}

} // namespace veltrane::wad
