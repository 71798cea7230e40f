#pragma once

#include "level/level_document.h"
#include "wad/library_document.h"

#include <array>
#include <cstdint>
#include <vector>

// Sources and targets for merge tests, built in memory.
namespace veltrane::merge::testing {

level::MeshPolygon quad(std::uint16_t texture, std::uint8_t attribute = 0);
level::MeshPolygon triangle(std::uint16_t texture, std::uint8_t attribute = 0);

// The texel (B, G, R, A) at column x, row y of a page of a 32-bit page chunk, and the word of a 16-bit one.
std::array<std::uint8_t, 4> texelOf(const std::vector<std::uint8_t>& pages32, std::size_t page, std::size_t x,
                                    std::size_t y);
std::uint16_t texel16Of(const std::vector<std::uint8_t>& pages16, std::size_t page, std::size_t x, std::size_t y);
// The texel of the fixture's source pages: its column, row and page in blue, green and red.
std::array<std::uint8_t, 4> sourceTexel(std::uint32_t page, std::uint32_t x, std::uint32_t y);

// A library with `pageCount` pages of sourceTexel and no objects; its meshes are kept parsed.
struct SourceFixture : wad::LibraryDocument {
    explicit SourceFixture(std::uint32_t pageCount = 2);

    // A mesh of four vertices with these faces at the end of the block, and a pointer to it; returns the
    // pointer's index.
    std::uint16_t addMesh(std::vector<level::MeshPolygon> polygons);
    // Returns the sample's index.
    std::uint16_t addSample(std::uint8_t x, std::uint8_t y, std::uint16_t page, std::int32_t width, std::int32_t height);
    // A static mesh on a new mesh with these faces; returns its index.
    std::int32_t addStatic(std::uint32_t objectId, std::vector<level::MeshPolygon> polygons);
    // A moveable of `meshCount` new meshes with one quad of sample 0 each, its mesh tree, `frameWords`
    // frame words and the given first animation; returns its index.
    std::int32_t addMoveable(std::uint32_t objectId, std::uint16_t meshCount, std::uint32_t frameWords,
                             std::uint16_t animation);
};

// A library of two samples and two animations, with two static meshes (IDs 50, 51) and two moveables
// (IDs 60, 61), all textured.
SourceFixture twoOfEachSource();

// The small target with 2 room pages and 1 object page, and 4 object textures.
level::LevelDocument targetFixture();
// The same with a bump page (page 3, texels 0x44, 16-bit words 0x5555) behind its object page, tiles 3,
// 0x8003, 0x8002 and sprites naming pages 3 and 2, and 10 bytes in its 16-bit chunk past the last whole
// page: everything a merge rewrites besides what it appends.
level::LevelDocument targetWithBumpPage();

} // namespace veltrane::merge::testing
