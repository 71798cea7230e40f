#pragma once

#include "level/mesh_record.h"
#include "level/tr4_level.h"
#include "merge/object_merge.h"
#include "wad/wad_library.h"

#include <array>
#include <cstdint>
#include <vector>

// Sources and targets for merge tests, built in memory: a library with its parsed meshes and page
// set, and a level with its mesh list.
namespace veltrane::merge::testing {

level::MeshPolygon quad(std::uint16_t texture, std::uint8_t attribute = 0);
level::MeshPolygon triangle(std::uint16_t texture, std::uint8_t attribute = 0);
level::MeshPolygon otherShape(std::uint16_t shape, std::uint16_t texture);

// The 32-bit texel (B, G, R, A) at column x, row y of a page of the fixture's source page set.
std::array<std::uint8_t, 4> sourceTexel(std::uint32_t page, std::uint32_t x, std::uint32_t y);
std::array<std::uint8_t, 4> texelOf(const std::vector<std::uint8_t>& pages32, std::size_t page, std::size_t x,
                                    std::size_t y);
std::uint16_t texel16Of(const std::vector<std::uint8_t>& pages16, std::size_t page, std::size_t x, std::size_t y);

struct SourceFixture {
    wad::WadLibrary library;
    level::Lista_Mesh meshes{level::MeshKind::Library};
    level::Tr4Level pages;

    // A library with `pageCount` pages of sourceTexel and no objects.
    explicit SourceFixture(std::uint32_t pageCount = 2);

    // A mesh with four vertices and these faces at the end of the block, and a pointer to it; returns the
    // pointer's index.
    std::uint16_t addMesh(std::vector<level::MeshPolygon> polygons);
    // Returns the sample's index.
    std::uint16_t addSample(std::uint8_t x, std::uint8_t y, std::uint16_t page, std::int32_t width, std::int32_t height);
    // A static mesh on a new mesh with these faces; returns its index.
    std::int32_t addStatic(std::uint32_t objectId, std::vector<level::MeshPolygon> polygons);
    // A moveable of `meshCount` new meshes with one quad of sample 0 each, its mesh tree, `frameWords` frame
    // words and the given first animation; returns its index.
    std::int32_t addMoveable(std::uint32_t objectId, std::uint16_t meshCount, std::uint32_t frameWords,
                             std::uint16_t animation);

    [[nodiscard]] MergeSource view() const { return {library, meshes, pages}; }

private:
    std::uint32_t blockSize_ = 0;
};

// A level of 2 room pages and 1 object page, 4 object textures, one static mesh and one moveable with
// two meshes, one animation, some frames and commands.
struct TargetFixture {
    level::Tr4Level level;
    level::Lista_Mesh meshes{level::MeshKind::Level};

    TargetFixture();
    [[nodiscard]] MergeTarget view() { return {level, meshes}; }
};

} // namespace veltrane::merge::testing
