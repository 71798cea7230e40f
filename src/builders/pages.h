#pragma once

#include "level/tr4_level.h"
#include "wad/wad_library.h"

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace veltrane::builders {

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    bool operator==(const Rgb&) const = default;
};

// The colour a library page uses for a see-through texel.
inline constexpr Rgb kTransparent{255, 0, 255};

// The colour of texel (x, y) of a page, x and y from 0 to 255.
using TexelSource = std::function<Rgb(int x, int y)>;

// A library page: 256 rows of 256 texels, R, G, B each.
std::vector<std::uint8_t> libraryPage(const TexelSource& texel);

// A level page in the 32-bit form, B, G, R, A each; a kTransparent texel becomes 0, 0, 0, 0.
std::vector<std::uint8_t> levelPage32(const TexelSource& texel);

// Appends a page to the level's Pages32 and Pages16 and counts it in PageCount. The header page
// counts (room, object, bump) are the caller's to set.
void appendLevelPage(level::Tr4Level& level, const TexelSource& texel);

// Appends a page to the library's TextureBytes.
void appendLibraryPage(wad::WadLibrary& library, const TexelSource& texel);

} // namespace veltrane::builders
