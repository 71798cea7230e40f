#pragma once

#include "level/mesh_record.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace veltrane::builders {

// Composes one mesh. A level-form mesh keeps its quads as rectangles and its triangles as
// triangles; a library-form mesh keeps both as polygons of shape 9 and 8. The bounding sphere
// follows the vertices unless it is set, and the pad word is there exactly when the mesh's form
// needs one, so the record equals what the parser makes of the written block.
//
//     auto mesh = MeshBuilder(MeshKind::Library).vertex(0, 0, 0).vertex(100, 0, 0).vertex(0, 100, 0)
//                     .triangle({0, 1, 2}, 3).build();
class MeshBuilder {
public:
    explicit MeshBuilder(level::MeshKind kind = level::MeshKind::Level) : kind_(kind) {}

    MeshBuilder& vertex(std::int16_t x, std::int16_t y, std::int16_t z);
    MeshBuilder& normal(std::int16_t x, std::int16_t y, std::int16_t z);
    // Shades stand in for normals (the mesh then stores a negative normal count).
    MeshBuilder& shade(std::int16_t value);

    // `further` is the library polygon's last byte; a level face has none.
    MeshBuilder& quad(std::array<std::uint16_t, 4> corners, std::uint16_t texture, std::uint8_t attribute = 0,
                      std::uint8_t further = 0);
    MeshBuilder& triangle(std::array<std::uint16_t, 3> corners, std::uint16_t texture, std::uint8_t attribute = 0,
                          std::uint8_t further = 0);
    // A library polygon of a shape other than 8 or 9: it has no vertex indices.
    MeshBuilder& polygon(std::uint16_t shape, std::uint16_t texture, std::uint8_t attribute = 0,
                         std::uint8_t further = 0);

    MeshBuilder& sphere(level::MeshVector centre, std::int32_t radius);

    [[nodiscard]] std::uint16_t vertexCount() const { return static_cast<std::uint16_t>(mesh_.Vertices.size()); }
    [[nodiscard]] level::MeshKind kind() const { return kind_; }

    // Throws std::logic_error for a mesh that mixes normals and shades.
    [[nodiscard]] level::MeshRecord build() const;

private:
    level::MeshKind kind_;
    level::MeshRecord mesh_;
    std::optional<std::pair<level::MeshVector, std::int32_t>> sphere_;
};

// The box (min x, max x, min y, max y, min z, max z) around a mesh's vertices.
std::array<std::int16_t, 6> boundingBox(const level::MeshRecord& mesh);

} // namespace veltrane::builders
