#pragma once

#include "builders/mesh_builder.h"

#include <cstdint>
#include <vector>

namespace veltrane::builders {

// The texture words a shape's faces take, in turn: quads from Quads, triangles from Triangles. In a
// level they are object-texture indices; in a library, texture-sample words (a negative quad word
// mirrors its sample; a triangle word carries its orientation and mirror bits).
struct Skin {
    std::vector<std::uint16_t> Quads;
    std::vector<std::uint16_t> Triangles;
    std::uint8_t Attribute = 0; // of every face; bit 0 set: translucent
};

// Builds meshes out of simple solids: blocks, prisms, pyramids and crossed planes, each vertex with
// a normal pointing out of its solid or, for a shaded mesh, a shade lit from above. Solids added one
// after another make one mesh (a table is a block and four legs).
//
//     auto crate = ShapeBuilder(MeshKind::Library, skin).block({-256, -512, -256}, {256, 0, 256}).build();
class ShapeBuilder {
public:
    ShapeBuilder(level::MeshKind kind, Skin skin, bool shaded = false);

    // An axis-aligned block from `low` to `high`: six quads.
    ShapeBuilder& block(level::MeshVector low, level::MeshVector high);
    // An upright prism of `sides` sides around (centre.x, centre.z), from yTop to yBottom (y grows
    // downwards): one quad a side, and when `capped` a fan of triangles over each end.
    ShapeBuilder& prism(int sides, std::int16_t radius, std::int16_t yTop, std::int16_t yBottom, bool capped,
                        level::MeshVector centre = {});
    // A square pyramid standing on y = yBase: a quad base and four triangles meeting at the apex.
    ShapeBuilder& pyramid(std::int16_t halfWidth, std::int16_t yBase, std::int16_t yApex);
    // Two upright planes crossing at right angles, each seen from both sides (four quads): foliage.
    ShapeBuilder& crossedPlanes(std::int16_t halfWidth, std::int16_t height);

    [[nodiscard]] level::MeshRecord build() const { return mesh_.build(); }

private:
    // A vertex and its normal (or shade) facing along (nx, ny, nz).
    std::uint16_t vertex(int x, int y, int z, double nx, double ny, double nz);
    void quad(std::uint16_t a, std::uint16_t b, std::uint16_t c, std::uint16_t d);
    void triangle(std::uint16_t a, std::uint16_t b, std::uint16_t c);

    MeshBuilder mesh_;
    Skin skin_;
    bool shaded_;
    std::size_t quads_ = 0;
    std::size_t triangles_ = 0;
};

} // namespace veltrane::builders
