#include "builders/pages.h"

#include "level/pages.h"
#include "wad/wad_pages.h"

namespace veltrane::builders {

std::vector<std::uint8_t> libraryPage(const TexelSource& texel) {
    std::vector<std::uint8_t> page;
    page.reserve(wad::kWadPageBytes);
    for (int y = 0; y < static_cast<int>(level::kPageSide); ++y) {
        for (int x = 0; x < static_cast<int>(level::kPageSide); ++x) {
            const Rgb colour = texel(x, y);
            page.insert(page.end(), {colour.r, colour.g, colour.b});
        }
    }
    return page;
}

std::vector<std::uint8_t> levelPage32(const TexelSource& texel) { return wad::convertPages(libraryPage(texel)); }

void appendLevelPage(level::Tr4Level& level, const TexelSource& texel) {
    const auto page = levelPage32(texel);
    const auto page16 = level::convertPagesTo16(page);
    level.Pages32.insert(level.Pages32.end(), page.begin(), page.end());
    level.Pages16.insert(level.Pages16.end(), page16.begin(), page16.end());
    level.PageCount = level::wholePages(level.Pages32.size(), level::kPageBytes32);
}

void appendLibraryPage(wad::WadLibrary& library, const TexelSource& texel) {
    const auto page = libraryPage(texel);
    library.TextureBytes.insert(library.TextureBytes.end(), page.begin(), page.end());
}

} // namespace veltrane::builders
