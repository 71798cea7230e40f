#include "demo/patterns.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace veltrane::demo {
namespace {

// A hash of a texel position, 0 to 255: noise that is the same on every run.
int noise(int x, int y, std::uint32_t seed) {
    std::uint32_t h =
        static_cast<std::uint32_t>(x) * 374761393u + static_cast<std::uint32_t>(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return static_cast<int>((h ^ (h >> 16)) & 0xFF);
}

Rgb scaled(Rgb colour, double factor) {
    const auto channel = [factor](std::uint8_t value) {
        return static_cast<std::uint8_t>(std::clamp(std::lround(value * factor), 0L, 254L));
    };
    // 254 at most, so that no opaque texel reads as the see-through 255, 0, 255.
    return {channel(colour.r), channel(colour.g), channel(colour.b)};
}

const std::vector<Rgb>& architecturePalette() {
    static const std::vector<Rgb> palette = {{150, 90, 60}, {120, 115, 100}, {170, 150, 110}, {90, 100, 110},
                                             {110, 80, 50}, {60, 110, 70},   {140, 60, 50},   {100, 100, 130}};
    return palette;
}

const std::vector<Rgb>& objectPalette() {
    static const std::vector<Rgb> palette = {{200, 170, 40}, {60, 90, 170},  {180, 40, 40},  {220, 180, 140},
                                             {80, 160, 160}, {160, 80, 180}, {200, 120, 40}, {40, 40, 40}};
    return palette;
}

const std::vector<Rgb>& libraryPalette() {
    static const std::vector<Rgb> palette = {{160, 110, 60}, {130, 130, 140}, {70, 140, 60},  {190, 60, 110},
                                             {230, 210, 90}, {90, 60, 140},   {40, 130, 200}, {200, 90, 30}};
    return palette;
}

} // namespace

Rgb mix(Rgb a, Rgb b, double t) {
    const auto channel = [t](std::uint8_t from, std::uint8_t to) {
        return static_cast<std::uint8_t>(std::lround(from + (to - from) * t));
    };
    return {channel(a.r, b.r), channel(a.g, b.g), channel(a.b, b.b)};
}

TexelSource checkers(Rgb a, Rgb b, int square) {
    return [=](int x, int y) { return ((x / square + y / square) % 2 == 0) ? a : b; };
}

TexelSource bricks(Rgb brick, Rgb mortar, int width, int height) {
    return [=](int x, int y) {
        const int row = y / height;
        const int shifted = x + (row % 2) * width / 2;
        if (y % height == 0 || shifted % width == 0)
            return mortar;
        return scaled(brick, 0.85 + noise(x, y, static_cast<std::uint32_t>(row)) / 1275.0);
    };
}

TexelSource gradient(Rgb top, Rgb bottom) {
    return [=](int, int y) { return mix(top, bottom, y / static_cast<double>(kTileSide - 1)); };
}

TexelSource planks(Rgb wood, int width) {
    return [=](int x, int y) {
        if (x % width == 0)
            return scaled(wood, 0.4);
        const double grain = std::sin((y + (x / width) * 17) * 0.45 + std::sin(x * 0.7) * 1.5);
        return scaled(wood, 0.85 + 0.15 * grain);
    };
}

TexelSource stone(Rgb base, std::uint32_t seed) {
    return [=](int x, int y) {
        const int coarse = noise(x / 8, y / 8, seed);
        const int fine = noise(x, y, seed + 1);
        return scaled(base, 0.7 + coarse / 850.0 + fine / 1700.0);
    };
}

TexelSource rings(Rgb a, Rgb b, int spacing) {
    return [=](int x, int y) {
        const double radius = std::hypot(x - kTileSide / 2 + 0.5, y - kTileSide / 2 + 0.5);
        return static_cast<int>(radius) / spacing % 2 == 0 ? a : b;
    };
}

TexelSource stripes(Rgb a, Rgb b, int width) {
    return [=](int x, int y) { return ((x + y) / width) % 2 == 0 ? a : b; };
}

TexelSource grate(Rgb bar, int spacing) {
    return [=](int x, int y) {
        if (x % spacing < 3 || y % spacing < 3 || x >= kTileSide - 2 || y >= kTileSide - 2)
            return scaled(bar, 0.8 + (x % spacing + y % spacing) / 40.0);
        return builders::kTransparent;
    };
}

TexelSource leaf(Rgb colour) {
    return [=](int x, int y) {
        // An ellipse leaning across the tile, with a darker middle vein.
        const double u = (x - 32 + (y - 32)) / 1.414;
        const double v = (x - 32 - (y - 32)) / 1.414;
        if ((u * u) / (30.0 * 30.0) + (v * v) / (12.0 * 12.0) > 1)
            return builders::kTransparent;
        return std::abs(v) < 1.2 ? scaled(colour, 0.6) : scaled(colour, 0.9 + noise(x, y, 7) / 2550.0);
    };
}

TexelSource tilePage(std::vector<TexelSource> tiles) {
    if (tiles.size() != kTilesPerPage)
        throw std::logic_error("a page holds 16 tiles");
    return [tiles = std::move(tiles)](int x, int y) {
        const auto tile = static_cast<std::size_t>((y / kTileSide) * kTilesPerRow + x / kTileSide);
        return tiles[tile](x % kTileSide, y % kTileSide);
    };
}

TexelSource tilePattern(Look look, int index) {
    const auto& palette = look == Look::Architecture ? architecturePalette()
                          : look == Look::Objects    ? objectPalette()
                                                     : libraryPalette();
    const Rgb main = palette[static_cast<std::size_t>(index) % palette.size()];
    const Rgb other = palette[static_cast<std::size_t>(index / 3 + 5) % palette.size()];
    const int kind = index / static_cast<int>(palette.size()) + index;
    const auto seed = static_cast<std::uint32_t>(index);
    switch (look) {
    case Look::Architecture:
        switch (kind % 5) {
        case 0: return bricks(main, scaled(main, 0.45), 16, 8);
        case 1: return stone(main, seed);
        case 2: return checkers(main, scaled(main, 0.6), 16);
        case 3: return planks(main, 12);
        default: return gradient(main, scaled(other, 0.5));
        }
    case Look::Objects:
        switch (kind % 5) {
        case 0: return checkers(main, other, 8);
        case 1: return gradient(scaled(main, 1.2), scaled(main, 0.4));
        case 2: return stripes(main, scaled(main, 0.5), 6);
        case 3: return rings(main, other, 5);
        default: return stone(main, seed);
        }
    case Look::Library:
        switch (kind % 7) {
        case 0: return planks(main, 16);
        case 1: return grate(main, 16);
        case 2: return rings(main, scaled(other, 0.7), 4);
        case 3: return leaf(main);
        case 4: return checkers(main, other, 4);
        case 5: return bricks(main, scaled(other, 0.3), 32, 16);
        default: return gradient(main, other);
        }
    }
    return checkers(main, other, 8);
}

} // namespace veltrane::demo
