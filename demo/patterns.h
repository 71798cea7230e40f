#pragma once

#include "builders/pages.h"

#include <cstdint>
#include <vector>

// Procedural texel patterns for the demo's pages. Each pattern draws one 64 x 64 tile in the tile's
// own coordinates; a page holds 4 x 4 tiles.
namespace veltrane::demo {

using builders::Rgb;
using builders::TexelSource;

inline constexpr int kTileSide = 64;
inline constexpr int kTilesPerRow = 4;
inline constexpr int kTilesPerPage = kTilesPerRow * kTilesPerRow;

Rgb mix(Rgb a, Rgb b, double t);

TexelSource checkers(Rgb a, Rgb b, int square);
TexelSource bricks(Rgb brick, Rgb mortar, int width, int height);
TexelSource gradient(Rgb top, Rgb bottom);
TexelSource planks(Rgb wood, int width);
TexelSource stone(Rgb base, std::uint32_t seed);
TexelSource rings(Rgb a, Rgb b, int spacing);
TexelSource stripes(Rgb a, Rgb b, int width);
// Bars with see-through gaps between them.
TexelSource grate(Rgb bar, int spacing);
// A leaf shape on a see-through ground.
TexelSource leaf(Rgb colour);

// A page whose tile t (row by row) is drawn by tiles[t].
TexelSource tilePage(std::vector<TexelSource> tiles);

// The family of looks a tile is drawn in.
enum class Look { Architecture, Objects, Library };
// The pattern of tile `index` of the given look, varied by index.
TexelSource tilePattern(Look look, int index);

} // namespace veltrane::demo
