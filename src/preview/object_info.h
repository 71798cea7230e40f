#pragma once

#include "level/mesh_record.h"
#include "level/tr4_level.h"
#include "wad/wad_library.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace veltrane::preview {

// What the preview tells of the object on show.
struct ObjectInfo {
    bool moveable = true;
    std::uint32_t objectId = 0;
    std::string_view slotName; // empty past the game's slots
    std::size_t meshes = 0;
    std::size_t polygons = 0;
    // The distinct object textures (of a level) or texture samples (of a library) its faces show, and
    // the pages those lie on, ascending.
    std::size_t texturePieces = 0;
    std::vector<std::uint32_t> pages;
    bool operator==(const ObjectInfo&) const = default;
};

// The meshes, polygons, texture pieces and pages of an object that draws meshes `meshIndex` of the
// file's mesh list (-1 for one that is missing: it counts as a mesh without polygons). A face that
// names no texture of the file is a polygon without a piece.
ObjectInfo objectInfo(const level::Tr4Level& level, const level::Lista_Mesh& meshes,
                      std::span<const std::int32_t> meshIndex);
ObjectInfo objectInfo(const wad::WadLibrary& library, const level::Lista_Mesh& meshes,
                      std::span<const std::int32_t> meshIndex);

// One line: "Moveable ID #123  TRAPDOOR2: 1 mesh, 6 polygons, 2 texture pieces on pages 0, 3".
std::string infoText(const ObjectInfo& info);

} // namespace veltrane::preview
