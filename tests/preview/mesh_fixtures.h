#pragma once

#include "level/mesh_record.h"
#include "level/tr4_level.h"
#include "wad/wad_library.h"

#include <cstdint>
#include <initializer_list>
#include <vector>

// Small meshes, levels and libraries composed in memory for the preview tests.
namespace veltrane::preview::testing {

inline level::MeshRecord meshWithVertices(std::initializer_list<level::MeshVector> vertices) {
    level::MeshRecord mesh;
    mesh.Vertices = vertices;
    mesh.NumVertices = static_cast<std::int16_t>(mesh.Vertices.size());
    return mesh;
}

// Four vertices of a unit square in file units (x right, y down), z 0.
inline level::MeshRecord squareMesh() {
    return meshWithVertices({{0, 0, 0}, {100, 0, 0}, {100, 100, 0}, {0, 100, 0}});
}

inline level::MeshRectangle rectangle(std::uint16_t texture, std::array<std::uint16_t, 4> v = {0, 1, 2, 3}) {
    return {v, texture, 0};
}

inline level::MeshTriangle triangle(std::uint16_t texture, std::array<std::uint16_t, 3> v = {0, 1, 2}) {
    return {v, texture, 0};
}

inline level::MeshPolygon quadPolygon(std::uint16_t texture, std::array<std::uint16_t, 4> v = {0, 1, 2, 3}) {
    return {level::kShapeQuad, v, texture, 0, 0};
}

inline level::MeshPolygon trianglePolygon(std::uint16_t texture, std::array<std::uint16_t, 3> v = {0, 1, 2}) {
    return {level::kShapeTriangle, {v[0], v[1], v[2], 0}, texture, 0, 0};
}

inline void setFaces(level::MeshRecord& mesh, std::vector<level::MeshRectangle> rectangles,
                     std::vector<level::MeshTriangle> triangles) {
    mesh.Rectangles = std::move(rectangles);
    mesh.NumRectangles = static_cast<std::int16_t>(mesh.Rectangles.size());
    mesh.Triangles = std::move(triangles);
    mesh.NumTriangles = static_cast<std::int16_t>(mesh.Triangles.size());
}

inline void setPolygons(level::MeshRecord& mesh, std::vector<level::MeshPolygon> polygons) {
    mesh.Polygons = std::move(polygons);
    mesh.NumPolygons = static_cast<std::int16_t>(mesh.Polygons.size());
}

// A list of the given meshes, each at the offset it has in the list's block.
inline level::Lista_Mesh meshList(level::MeshKind kind, std::vector<level::MeshRecord> meshes) {
    level::Lista_Mesh list(kind);
    std::uint32_t offset = 0;
    for (auto& mesh : meshes) {
        mesh.Offset = offset;
        offset += kind == level::MeshKind::Level ? level::levelFormSize(mesh) : level::libraryFormSize(mesh);
        list.Append(std::move(mesh));
    }
    return list;
}

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

// Page bytes of `pages` whole pages in the 32-bit (4 bytes a texel) or 16-bit (2 bytes) form.
inline std::vector<std::uint8_t> pageBytes(std::size_t pages, std::size_t bytesPerTexel, std::uint8_t fill = 0) {
    return std::vector<std::uint8_t>(pages * 256 * 256 * bytesPerTexel, fill);
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
