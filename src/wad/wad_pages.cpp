#include "wad/wad_pages.h"

#include "io/large_buffer.h"
#include "io/task_pool.h"
#include "wad/wad_library.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

namespace veltrane::wad {

static_assert(std::endian::native == std::endian::little, "texels are copied out as whole words");

namespace {

// The 32-bit word (B, G, R, A in memory) of an R, G, B texel; magenta is the transparent 0.
std::uint32_t texel32(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    const std::uint32_t word = 0xFF000000u | r << 16 | g << 8 | b;
    return word == 0xFFFF00FFu ? 0 : word;
}

// `texels` texels from `from` into `to`, 4 bytes for every 3.
void convertTexels(const std::uint8_t* from, std::uint8_t* to, std::size_t texels) {
    // Blocks of a fixed number of texels through local arrays are what the compiler vectorises.
    constexpr std::size_t kBlock = 16;
    std::size_t i = 0;
    for (; i + kBlock <= texels; i += kBlock) {
        std::array<std::uint8_t, 3 * kBlock> in;
        std::array<std::uint32_t, kBlock> out;
        std::memcpy(in.data(), from + 3 * i, in.size());
        for (std::size_t k = 0; k < kBlock; ++k)
            out[k] = texel32(in[3 * k], in[3 * k + 1], in[3 * k + 2]);
        std::memcpy(to + 4 * i, out.data(), sizeof out);
    }
    for (; i < texels; ++i) {
        const std::uint32_t word = texel32(from[3 * i], from[3 * i + 1], from[3 * i + 2]);
        std::memcpy(to + 4 * i, &word, sizeof word);
    }
}

} // namespace

std::vector<std::uint8_t> convertPages(std::span<const std::uint8_t> textureBytes) {
    const std::size_t texels = textureBytes.size() / 3;
    std::vector<std::uint8_t> pages(texels * 4);
    convertTexels(textureBytes.data(), pages.data(), texels);
    return pages;
}

PageSet makePageSet(std::span<const std::uint8_t> textureBytes) {
    PageSet set;
    set.pageCount = level::wholePages(textureBytes.size(), kWadPageBytes);
    if (set.pageCount == 0)
        return set;
    // On huge pages as a level's page chunks are, and a page a task on every core: a library's pages
    // are converted each time it is opened, before its objects can be shown.
    set.pages32 = io::largeBuffer(std::size_t{set.pageCount} * level::kPageBytes32);
    io::TaskPool pool(std::min(io::hardwareThreads(), set.pageCount));
    for (std::size_t page = 0; page < set.pageCount; ++page)
        pool.submit([&textureBytes, &set, page] {
            convertTexels(textureBytes.data() + page * kWadPageBytes, set.pages32.data() + page * level::kPageBytes32,
                          level::kPageSide * level::kPageSide);
        });
    pool.wait();
    return set;
}

} // namespace veltrane::wad
