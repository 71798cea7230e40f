#pragma once

#include "builders/library_builder.h"
#include "builders/mesh_blocks.h"
#include "builders/mesh_builder.h"
#include "builders/object_textures.h"
#include "level/level_document.h"
#include "wad/library_document.h"

#include <cstdint>
#include <vector>

// Files, meshes and texture records for the preview tests, composed with the builders.
namespace veltrane::preview::testing {

// A mesh of four vertices at the corners of a square of 100 file units (x right, y down), z 0.
inline builders::MeshBuilder square(level::MeshKind kind = level::MeshKind::Level) {
    builders::MeshBuilder mesh(kind);
    mesh.vertex(0, 0, 0).vertex(100, 0, 0).vertex(100, 100, 0).vertex(0, 100, 0);
    return mesh;
}

// A level whose mesh block holds the meshes, a pointer to each, and `pages` blank pages in both forms.
inline level::LevelDocument levelWith(const std::vector<level::MeshRecord>& meshes, std::size_t pages = 1) {
    level::Tr4Level level;
    builders::setLevelMeshes(level, meshes);
    level.Pages32.resize(pages * level::kPageBytes32);
    level.Pages16.resize(pages * level::kPageBytes16);
    return level::makeLevelDocument(std::move(level));
}

// A library likewise, with `pages` blank pages.
inline wad::LibraryDocument libraryWith(const std::vector<level::MeshRecord>& meshes, std::size_t pages = 1) {
    auto library = builders::emptyLibrary();
    builders::setLibraryMeshes(library, meshes);
    library.TextureBytes.resize(pages * wad::kWadPageBytes);
    return wad::makeLibraryDocument(std::move(library));
}

// An object texture covering the whole of page `tile`.
inline level::ObjectTexture wholePage(std::uint16_t tile) { return builders::quadTexture(tile, 0, 0, 256, 256); }

inline wad::WadTextureSample sample(std::uint8_t x, std::uint8_t y, std::uint16_t page, std::uint8_t addWidth,
                                    std::uint8_t addHeight) {
    return {x, y, page, 0, addWidth, 0, addHeight};
}

} // namespace veltrane::preview::testing
