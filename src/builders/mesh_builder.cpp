#include "builders/mesh_builder.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace veltrane::builders {

using level::MeshKind;
using level::MeshVector;

MeshBuilder& MeshBuilder::vertex(std::int16_t x, std::int16_t y, std::int16_t z) {
    mesh_.Vertices.push_back({x, y, z});
    return *this;
}

MeshBuilder& MeshBuilder::normal(std::int16_t x, std::int16_t y, std::int16_t z) {
    mesh_.Normals.push_back({x, y, z});
    return *this;
}

MeshBuilder& MeshBuilder::shade(std::int16_t value) {
    mesh_.Shades.push_back(value);
    return *this;
}

MeshBuilder& MeshBuilder::quad(std::array<std::uint16_t, 4> corners, std::uint16_t texture, std::uint8_t attribute,
                               std::uint8_t further) {
    if (kind_ == MeshKind::Level)
        mesh_.Rectangles.push_back({corners, texture, attribute});
    else
        mesh_.Polygons.push_back({level::kShapeQuad, corners, texture, attribute, further});
    return *this;
}

MeshBuilder& MeshBuilder::triangle(std::array<std::uint16_t, 3> corners, std::uint16_t texture, std::uint8_t attribute,
                                   std::uint8_t further) {
    if (kind_ == MeshKind::Level)
        mesh_.Triangles.push_back({corners, texture, attribute});
    else
        mesh_.Polygons.push_back(
            {level::kShapeTriangle, {corners[0], corners[1], corners[2], 0}, texture, attribute, further});
    return *this;
}

MeshBuilder& MeshBuilder::polygon(std::uint16_t shape, std::uint16_t texture, std::uint8_t attribute,
                                  std::uint8_t further) {
    if (kind_ == MeshKind::Level || shape == level::kShapeQuad || shape == level::kShapeTriangle)
        throw std::logic_error("only library meshes hold polygons of shapes other than 8 and 9");
    mesh_.Polygons.push_back({shape, {}, texture, attribute, further});
    return *this;
}

MeshBuilder& MeshBuilder::sphere(MeshVector centre, std::int32_t radius) {
    sphere_ = std::pair{centre, radius};
    return *this;
}

level::MeshRecord MeshBuilder::build() const {
    if (!mesh_.Normals.empty() && !mesh_.Shades.empty())
        throw std::logic_error("a mesh has normals or shades, not both");
    level::MeshRecord mesh = mesh_;
    mesh.NumVertices = static_cast<std::int16_t>(mesh.Vertices.size());
    mesh.NumNormals = mesh.Shades.empty() ? static_cast<std::int16_t>(mesh.Normals.size())
                                          : static_cast<std::int16_t>(-static_cast<int>(mesh.Shades.size()));
    mesh.NumPolygons = static_cast<std::int16_t>(mesh.Polygons.size());
    mesh.NumRectangles = static_cast<std::int16_t>(mesh.Rectangles.size());
    mesh.NumTriangles = static_cast<std::int16_t>(mesh.Triangles.size());

    if (sphere_) {
        mesh.Centre = sphere_->first;
        mesh.Radius = sphere_->second;
    } else if (!mesh.Vertices.empty()) {
        const auto box = boundingBox(mesh);
        mesh.Centre = {static_cast<std::int16_t>((box[0] + box[1]) / 2),
                       static_cast<std::int16_t>((box[2] + box[3]) / 2),
                       static_cast<std::int16_t>((box[4] + box[5]) / 2)};
        double furthest = 0;
        for (const auto& v : mesh.Vertices)
            furthest = std::max(furthest, std::hypot(v.x - mesh.Centre.x, v.y - mesh.Centre.y, v.z - mesh.Centre.z));
        mesh.Radius = static_cast<std::int32_t>(std::ceil(furthest));
    }
    if (level::takesPadWord(mesh, kind_))
        mesh.PadWord = 0;
    return mesh;
}

std::array<std::int16_t, 6> boundingBox(const level::MeshRecord& mesh) {
    if (mesh.Vertices.empty())
        return {};
    std::array<std::int16_t, 6> box = {INT16_MAX, INT16_MIN, INT16_MAX, INT16_MIN, INT16_MAX, INT16_MIN};
    for (const auto& v : mesh.Vertices) {
        box[0] = std::min(box[0], v.x);
        box[1] = std::max(box[1], v.x);
        box[2] = std::min(box[2], v.y);
        box[3] = std::max(box[3], v.y);
        box[4] = std::min(box[4], v.z);
        box[5] = std::max(box[5], v.z);
    }
    return box;
}

} // namespace veltrane::builders
