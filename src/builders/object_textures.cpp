#include "builders/object_textures.h"

#include <array>
#include <stdexcept>

namespace veltrane::builders {
namespace {

// The rectangle's corners clockwise from the top left. A corner's Coordinate byte says which side
// of the texel it lies on (0 the low side, 255 the high side); its Pixel byte is the texel.
std::array<level::ObjectTextureCorner, 4> rectangleCorners(std::uint8_t x, std::uint8_t y, std::uint16_t width,
                                                           std::uint16_t height) {
    if (width < 1 || height < 1 || x + width > 256 || y + height > 256)
        throw std::logic_error("a texture rectangle must lie on its page");
    const auto right = static_cast<std::uint8_t>(x + width - 1);
    const auto bottom = static_cast<std::uint8_t>(y + height - 1);
    return {{{0, x, 0, y}, {255, right, 0, y}, {255, right, 255, bottom}, {0, x, 255, bottom}}};
}

level::ObjectTexture record(std::uint16_t tile, std::uint16_t width, std::uint16_t height, std::uint16_t attribute) {
    level::ObjectTexture texture;
    texture.Attribute = attribute;
    texture.Tile = tile;
    texture.Width = width;
    texture.Height = height;
    return texture;
}

} // namespace

level::ObjectTexture quadTexture(std::uint16_t tile, std::uint8_t x, std::uint8_t y, std::uint16_t width,
                                 std::uint16_t height, std::uint16_t attribute) {
    auto texture = record(tile, width, height, attribute);
    texture.Corners = rectangleCorners(x, y, width, height);
    return texture;
}

level::ObjectTexture triangleTexture(std::uint16_t tile, std::uint8_t x, std::uint8_t y, std::uint16_t width,
                                     std::uint16_t height, int rightAngle, std::uint16_t attribute) {
    if (rightAngle < 0 || rightAngle > 3)
        throw std::logic_error("a triangle's right angle lies at corner 0 to 3");
    auto texture = record(static_cast<std::uint16_t>(tile | kTriangleTile), width, height, attribute);
    const auto corners = rectangleCorners(x, y, width, height);
    for (int i = 0; i < 3; ++i)
        texture.Corners[static_cast<std::size_t>(i)] = corners[static_cast<std::size_t>((rightAngle + i) % 4)];
    return texture;
}

} // namespace veltrane::builders
