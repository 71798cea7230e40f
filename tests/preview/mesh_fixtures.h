#pragma once

#include "level/mesh_block.h"
#include "level/mesh_record.h"
#include "level/tr4_level.h"
#include "builders/mesh_blocks.h"
#include "builders/mesh_builder.h"
#include "builders/object_textures.h"
#include "wad/wad_library.h"

#include <array>
#include <cstdint>
#include <vector>

// Meshes, mesh lists and texture records for the preview tests, composed with the builders.
namespace veltrane::preview::testing {

// A mesh of four vertices at the corners of a square of 100 file units (x right, y down), z 0.
inline builders::MeshBuilder square(level::MeshKind kind = level::MeshKind::Level) {
    builders::MeshBuilder mesh(kind);
    mesh.vertex(0, 0, 0).vertex(100, 0, 0).vertex(100, 100, 0).vertex(0, 100, 0);
    return mesh;
}

// Lays the meshes out as the level's mesh block with a pointer to each, and parses the block as
// opening the level does.
inline level::Lista_Mesh levelMeshes(level::Tr4Level& level, const std::vector<level::MeshRecord>& meshes) {
    builders::setLevelMeshes(level, meshes);
    return level::parseMeshBlock(level::wordBytes(level.MeshWords), level::MeshKind::Level);
}

inline level::Lista_Mesh libraryMeshes(wad::WadLibrary& library, const std::vector<level::MeshRecord>& meshes) {
    builders::setLibraryMeshes(library, meshes);
    return level::parseMeshBlock(level::wordBytes(library.MeshWords), level::MeshKind::Library);
}

// An object texture covering the whole of page `tile`.
inline level::ObjectTexture wholePage(std::uint16_t tile) { return builders::quadTexture(tile, 0, 0, 256, 256); }

// An object texture whose four corners sit at the given texel positions on `tile`.
inline level::ObjectTexture objectTexture(std::uint16_t tile, std::array<std::array<std::uint8_t, 2>, 4> corners) {
    level::ObjectTexture record;
    record.Tile = tile;
    for (std::size_t j = 0; j < 4; ++j) {
        record.Corners[j].XPixel = corners[j][0];
        record.Corners[j].YPixel = corners[j][1];
    }
    return record;
}

// Blank page bytes: `pages` whole pages of 4 (32-bit form) or 2 (16-bit form) bytes a texel.
inline std::vector<std::uint8_t> pageBytes(std::size_t pages, std::size_t bytesPerTexel) {
    return std::vector<std::uint8_t>(pages * 256 * 256 * bytesPerTexel);
}

inline wad::WadTextureSample sample(std::uint8_t x, std::uint8_t y, std::uint16_t page, std::uint8_t addWidth,
                                    std::uint8_t addHeight) {
    wad::WadTextureSample s;
    s.X = x;
    s.Y = y;
    s.Page = page;
    s.AddWidth = addWidth;
    s.AddHeight = addHeight;
    return s;
}

} // namespace veltrane::preview::testing
