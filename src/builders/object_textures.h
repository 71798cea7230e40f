#pragma once

#include "level/records.h"

#include <cstdint>

namespace veltrane::builders {

// Bit 15 of an object texture's Tile marks a texture made for triangles.
inline constexpr std::uint16_t kTriangleTile = 0x8000;

// Attribute values of an object texture.
inline constexpr std::uint16_t kOpaque = 0;
inline constexpr std::uint16_t kSeeThrough = 1; // texels with alpha 0 are not drawn
inline constexpr std::uint16_t kBlended = 2;

// The texture of a rectangle face: `width` x `height` texels (1 to 256) at (x, y) of page `tile`,
// corners clockwise from the top left.
level::ObjectTexture quadTexture(std::uint16_t tile, std::uint8_t x, std::uint8_t y, std::uint16_t width,
                                 std::uint16_t height, std::uint16_t attribute = kOpaque);

// The texture of a triangle face: the half of that rectangle whose right angle lies at corner
// `rightAngle` (0 top left, 1 top right, 2 bottom right, 3 bottom left); the triangle's corners
// follow clockwise from the right angle. Corner 3 of the record is left zero.
level::ObjectTexture triangleTexture(std::uint16_t tile, std::uint8_t x, std::uint8_t y, std::uint16_t width,
                                     std::uint16_t height, int rightAngle, std::uint16_t attribute = kOpaque);

} // namespace veltrane::builders
