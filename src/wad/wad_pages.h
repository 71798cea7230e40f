#pragma once

#include "level/pages.h"

#include <cstdint>
#include <span>
#include <vector>

namespace veltrane::wad {

// Library pages (R, G, B a texel) in the level's 32-bit page form, B, G, R, A a texel: an opaque
// texel (r, g, b) becomes b, g, r, 255 and the transparent 255, 0, 255 becomes 0, 0, 0, 0.
// Returns 4 bytes for every whole 3 bytes of input.
std::vector<std::uint8_t> convertPages(std::span<const std::uint8_t> textureBytes);
// The same into `pages`, which holds 4 bytes for every whole 3 of `textureBytes`.
void convertPages(std::span<const std::uint8_t> textureBytes, std::span<std::uint8_t> pages);

// A library's pages as the merge and the preview read them: its whole pages in the 32-bit form and,
// for the merge to copy into a level's 16-bit chunk, in the 16-bit form.
struct PageSet {
    std::vector<std::uint8_t> pages32; // pageCount pages of level::kPageBytes32
    std::vector<std::uint8_t> pages16; // pageCount pages of level::kPageBytes16
    std::uint32_t pageCount = 0;
    bool operator==(const PageSet&) const = default;
};

// The whole pages of a library's TextureBytes, converted to both forms; bytes after the last whole page
// are left out.
PageSet makePageSet(std::span<const std::uint8_t> textureBytes);

} // namespace veltrane::wad
