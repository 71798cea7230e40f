#include "builders/pages.h"

namespace veltrane::builders {
namespace {

std::uint16_t channel5(std::uint8_t value) { return static_cast<std::uint16_t>(value * 31 / 255); }

} // namespace

std::vector<std::uint8_t> libraryPage(const TexelSource& texel) {
    std::vector<std::uint8_t> page;
    page.reserve(wad::kWadPageBytes);
    for (int y = 0; y < kPageSide; ++y) {
        for (int x = 0; x < kPageSide; ++x) {
            const Rgb colour = texel(x, y);
            page.insert(page.end(), {colour.r, colour.g, colour.b});
        }
    }
    return page;
}

std::vector<std::uint8_t> levelPage32(const TexelSource& texel) {
    std::vector<std::uint8_t> page;
    page.reserve(level::kPageBytes32);
    for (int y = 0; y < kPageSide; ++y) {
        for (int x = 0; x < kPageSide; ++x) {
            const Rgb colour = texel(x, y);
            if (colour == kTransparent)
                page.insert(page.end(), {0, 0, 0, 0});
            else
                page.insert(page.end(), {colour.b, colour.g, colour.r, 255});
        }
    }
    return page;
}

std::vector<std::uint8_t> pages16From32(std::span<const std::uint8_t> pages32) {
    std::vector<std::uint8_t> pages16;
    pages16.reserve(pages32.size() / 2);
    for (std::size_t i = 0; i + 4 <= pages32.size(); i += 4) {
        const std::uint8_t b = pages32[i];
        const std::uint8_t g = pages32[i + 1];
        const std::uint8_t r = pages32[i + 2];
        const bool opaque = pages32[i + 3] == 255;
        const auto texel =
            static_cast<std::uint16_t>((opaque ? 0x8000 : 0) | channel5(r) << 10 | channel5(g) << 5 | channel5(b));
        pages16.push_back(static_cast<std::uint8_t>(texel & 0xFF));
        pages16.push_back(static_cast<std::uint8_t>(texel >> 8));
    }
    return pages16;
}

void appendLevelPage(level::Tr4Level& level, const TexelSource& texel) {
    const auto page = levelPage32(texel);
    const auto page16 = pages16From32(page);
    level.Pages32.insert(level.Pages32.end(), page.begin(), page.end());
    level.Pages16.insert(level.Pages16.end(), page16.begin(), page16.end());
    level.PageCount = static_cast<std::uint32_t>(level.Pages32.size() / level::kPageBytes32);
}

void appendLibraryPage(wad::WadLibrary& library, const TexelSource& texel) {
    const auto page = libraryPage(texel);
    library.TextureBytes.insert(library.TextureBytes.end(), page.begin(), page.end());
}

} // namespace veltrane::builders
