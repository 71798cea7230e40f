#include "wad/wad_pages.h"

#include "wad/wad_library.h"

namespace veltrane::wad {

std::vector<std::uint8_t> convertPages(std::span<const std::uint8_t> textureBytes) {
    const std::size_t texels = textureBytes.size() / 3;
    std::vector<std::uint8_t> pages(texels * 4);
    for (std::size_t i = 0; i < texels; ++i) {
        const std::uint8_t r = textureBytes[3 * i];
        const std::uint8_t g = textureBytes[3 * i + 1];
        const std::uint8_t b = textureBytes[3 * i + 2];
        if (r == 255 && g == 0 && b == 255)
            continue; // transparent: stays 0, 0, 0, 0
        pages[4 * i] = b;
        pages[4 * i + 1] = g;
        pages[4 * i + 2] = r;
        pages[4 * i + 3] = 255;
    }
    return pages;
}

PageSet makePageSet(std::span<const std::uint8_t> textureBytes) {
    PageSet set;
    set.pageCount = level::wholePages(textureBytes.size(), kWadPageBytes);
    set.pages32 = convertPages(textureBytes.first(std::size_t{set.pageCount} * kWadPageBytes));
    return set;
}

} // namespace veltrane::wad
