#include "demo/level_atlas.h"

#include "builders/object_textures.h"
#include "builders/pages.h"
#include "demo/patterns.h"

#include <stdexcept>
#include <string>

namespace veltrane::demo {
namespace {

constexpr std::size_t kVariants = 5;

} // namespace

LevelAtlas::LevelAtlas(std::uint16_t roomPages, std::uint16_t objectPages, std::size_t textureCount)
    : roomPages_(roomPages), objectPages_(objectPages), textureCount_(textureCount) {
    if (roomPages == 0 || objectPages == 0 || textureCount < 2 * tiles() || textureCount > kVariants * tiles())
        throw std::logic_error("the atlas needs room and object pages and 2 to 5 textures a tile, not " +
                               std::to_string(textureCount) + " for " + std::to_string(tiles()) + " tiles");
}

std::size_t LevelAtlas::tiles() const { return (std::size_t{roomPages_} + objectPages_) * kTilesPerPage; }

std::size_t LevelAtlas::roomTiles() const { return std::size_t{roomPages_} * kTilesPerPage; }

std::optional<std::uint16_t> LevelAtlas::texture(std::size_t variant, std::size_t tile) const {
    const std::size_t index = variant * tiles() + tile;
    if (index >= textureCount_)
        return std::nullopt;
    return static_cast<std::uint16_t>(index);
}

level::ObjectTexture LevelAtlas::record(std::size_t index) const {
    const std::size_t tile = index % tiles();
    const auto page = static_cast<std::uint16_t>(tile / kTilesPerPage);
    const auto x = static_cast<std::uint8_t>((tile % kTilesPerRow) * kTileSide);
    const auto y = static_cast<std::uint8_t>((tile % kTilesPerPage / kTilesPerRow) * kTileSide);
    switch (index / tiles()) {
    case 0: return builders::quadTexture(page, x, y, kTileSide, kTileSide);
    case 1: return builders::triangleTexture(page, x, y, kTileSide, kTileSide, 0);
    case 2: return builders::triangleTexture(page, x, y, kTileSide, kTileSide, 2);
    case 3:
        return builders::quadTexture(page, static_cast<std::uint8_t>(x + 16), static_cast<std::uint8_t>(y + 16), 32,
                                     32);
    default: return builders::quadTexture(page, x, y, kTileSide, kTileSide, builders::kSeeThrough);
    }
}

void LevelAtlas::addTo(level::Tr4Level& level) const {
    for (std::uint16_t page = 0; page < roomPages_ + objectPages_; ++page) {
        const Look look = page < roomPages_ ? Look::Architecture : Look::Objects;
        std::vector<TexelSource> tiles;
        for (int tile = 0; tile < kTilesPerPage; ++tile)
            tiles.push_back(tilePattern(look, page * kTilesPerPage + tile));
        builders::appendLevelPage(level, tilePage(std::move(tiles)));
    }
    level.NumRoomPages = roomPages_;
    level.NumObjectPages = objectPages_;
    level.NumBumpPages = 0;
    for (std::size_t i = 0; i < textureCount_; ++i)
        level.ObjectTextures.push_back(record(i));
}

std::uint16_t LevelAtlas::roomQuad(std::size_t i) const {
    const std::size_t tile = i % roomTiles();
    return texture(i % 3 == 2 ? 3 : 0, tile).value_or(static_cast<std::uint16_t>(tile));
}

std::uint16_t LevelAtlas::roomTriangle(std::size_t i) const {
    const std::size_t tile = i % roomTiles();
    return texture(1 + i % 2, tile).value_or(*texture(1, tile));
}

std::uint16_t LevelAtlas::roomTileTexture(std::size_t tile) const { return *texture(0, tile % roomTiles()); }

builders::Skin LevelAtlas::objectSkin(std::size_t i) const {
    const std::size_t objectTiles = tiles() - roomTiles();
    const std::size_t first = roomTiles() + i % objectTiles;
    const std::size_t second = roomTiles() + (i * 7 + 3) % objectTiles;
    builders::Skin skin;
    skin.Quads = {*texture(0, first), *texture(0, second)};
    if (auto middle = texture(3, first))
        skin.Quads.push_back(*middle);
    skin.Triangles = {*texture(1, first), *texture(1, second)};
    if (auto other = texture(2, second))
        skin.Triangles.push_back(*other);
    return skin;
}

} // namespace veltrane::demo
