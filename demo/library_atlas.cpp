#include "demo/library_atlas.h"

#include "builders/pages.h"
#include "builders/texture_words.h"
#include "demo/patterns.h"

#include <stdexcept>

namespace veltrane::demo {
namespace {

// Triangle words hold sample indices up to 2047.
constexpr std::size_t kMaxTriangleSample = 0x7FF;

} // namespace

LibraryAtlas::LibraryAtlas(std::uint16_t pages, std::size_t sampleCount) : pages_(pages), sampleCount_(sampleCount) {
    if (pages == 0 || sampleCount < 2 || sampleCount > 4 * tiles() || sampleCount > kMaxTriangleSample + 1)
        throw std::logic_error("the library atlas holds 2 to 4 samples a tile, at most 2048");
}

std::size_t LibraryAtlas::tiles() const { return std::size_t{pages_} * kTilesPerPage; }

void LibraryAtlas::addTo(wad::WadLibrary& library) const {
    for (int page = 0; page < pages_; ++page) {
        std::vector<TexelSource> tiles;
        for (int tile = 0; tile < kTilesPerPage; ++tile)
            tiles.push_back(tilePattern(Look::Library, page * kTilesPerPage + tile));
        builders::appendLibraryPage(library, tilePage(std::move(tiles)));
    }
    for (std::size_t i = 0; i < sampleCount_; ++i) {
        const std::size_t tile = i % tiles();
        const auto x = static_cast<int>((tile % kTilesPerRow) * kTileSide);
        const auto y = static_cast<int>((tile % kTilesPerPage / kTilesPerRow) * kTileSide);
        struct Part {
            int dx, dy, side;
        };
        constexpr Part kParts[] = {{0, 0, 64}, {0, 0, 32}, {16, 16, 48}, {16, 16, 32}};
        const Part part = kParts[i / tiles()];
        wad::WadTextureSample sample;
        sample.X = static_cast<std::uint8_t>(x + part.dx);
        sample.Y = static_cast<std::uint8_t>(y + part.dy);
        sample.Page = static_cast<std::uint16_t>(tile / kTilesPerPage);
        sample.AddWidth = static_cast<std::uint8_t>(part.side - 1);
        sample.AddHeight = static_cast<std::uint8_t>(part.side - 1);
        library.TextureSamples.push_back(sample);
    }
}

builders::Skin LibraryAtlas::skin(std::size_t i, std::uint8_t attribute) const {
    // Sample 0 cannot be mirrored on a quad, so skins draw on samples 1 and up.
    const auto sample = [this](std::size_t n) { return static_cast<std::uint16_t>(1 + n % (sampleCount_ - 1)); };
    const std::uint16_t first = sample(i);
    const std::uint16_t second = sample(i * 5 + 2);
    const std::uint16_t third = sample(i + tiles());
    builders::Skin skin;
    skin.Quads = {builders::libraryQuadTexture(first), builders::libraryQuadTexture(second, true),
                  builders::libraryQuadTexture(third)};
    skin.Triangles = {builders::libraryTriangleTexture(first, 0), builders::libraryTriangleTexture(second, 2, true),
                      builders::libraryTriangleTexture(third, 4), builders::libraryTriangleTexture(first, 6, true)};
    skin.Attribute = attribute;
    return skin;
}

} // namespace veltrane::demo
