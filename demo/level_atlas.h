#pragma once

#include "level/tr4_level.h"
#include "builders/shapes.h"

#include <cstddef>
#include <cstdint>
#include <optional>

namespace veltrane::demo {

// The demo level's texture pages and object textures. Room pages come first, then object pages;
// each page holds 4 x 4 tiles of 64 x 64 texels. Object texture i covers tile i % tiles in variant
// i / tiles: 0 the whole tile, 1 its triangle with the right angle at the top left, 2 its triangle
// with the right angle at the bottom right, 3 the tile's middle 32 x 32, 4 the whole tile drawn
// see-through. The texture count decides how many variants exist.
class LevelAtlas {
public:
    LevelAtlas(std::uint16_t roomPages, std::uint16_t objectPages, std::size_t textureCount);

    // Sets the pages (both forms), the header page counts and the object textures.
    void addTo(level::Tr4Level& level) const;

    // Texture words for room faces, varied by `i`.
    [[nodiscard]] std::uint16_t roomQuad(std::size_t i) const;
    [[nodiscard]] std::uint16_t roomTriangle(std::size_t i) const;
    // Texture words for an object's faces, varied by `i`.
    [[nodiscard]] builders::Skin objectSkin(std::size_t i) const;

    // The quad texture that covers a whole room tile.
    [[nodiscard]] std::uint16_t roomTileTexture(std::size_t tile) const;

private:
    [[nodiscard]] std::size_t tiles() const;
    [[nodiscard]] std::size_t roomTiles() const;
    [[nodiscard]] std::optional<std::uint16_t> texture(std::size_t variant, std::size_t tile) const;
    [[nodiscard]] level::ObjectTexture record(std::size_t index) const;

    std::uint16_t roomPages_;
    std::uint16_t objectPages_;
    std::size_t textureCount_;
};

} // namespace veltrane::demo
