#pragma once

#include "builders/shapes.h"
#include "wad/wad_library.h"

#include <cstddef>
#include <cstdint>

namespace veltrane::demo {

// The demo library's pages and texture samples. Each page holds 4 x 4 tiles of 64 x 64 texels, some
// with see-through texels. Sample i covers tile i % tiles in variant i / tiles: 0 the whole tile,
// 1 its upper-left 32 x 32, 2 its lower-right 48 x 48, 3 its middle 32 x 32.
class LibraryAtlas {
public:
    LibraryAtlas(std::uint16_t pages, std::size_t sampleCount);

    // Appends the pages and the samples.
    void addTo(wad::WadLibrary& library) const;

    // Texture words for an object's faces, varied by `i`: quads plain and mirrored, triangles in all
    // four orientations, plain and mirrored.
    [[nodiscard]] builders::Skin skin(std::size_t i, std::uint8_t attribute = 0) const;

private:
    [[nodiscard]] std::size_t tiles() const;

    std::uint16_t pages_;
    std::size_t sampleCount_;
};

} // namespace veltrane::demo
