#pragma once

#include "level/tr4_level.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

namespace veltrane::wad {

// Library pages (R, G, B a texel) in the level's 32-bit page form, B, G, R, A a texel: an opaque
// texel (r, g, b) becomes b, g, r, 255 and the transparent 255, 0, 255 becomes 0, 0, 0, 0.
// Returns 4 bytes for every whole 3 bytes of input.
std::vector<std::uint8_t> convertPages(std::span<const std::uint8_t> textureBytes);

// The source page set: a level record holding only the converted pages, their whole-page count and
// the whole-page copy the texture merge reads from. Returns the bytes copied.
std::size_t copyPages(level::Tr4Level& sourcePages);

// Writes the first page of the copy, 262144 bytes, to `path` ("segundoA.bbb"). Writes nothing when
// there is no page; a file that cannot be written is skipped. Returns whether it was written.
bool dumpFirstPage(const level::Tr4Level& sourcePages, const std::filesystem::path& path);

} // namespace veltrane::wad
