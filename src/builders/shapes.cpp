#include "builders/shapes.h"

#include <cmath>
#include <numbers>
#include <stdexcept>

namespace veltrane::builders {
namespace {

constexpr double kNormalLength = 16384; // normals are unit vectors scaled to 1 << 14

std::int16_t coordinate(int value) {
    if (value < INT16_MIN || value > INT16_MAX)
        throw std::logic_error("a vertex lies beyond 16-bit coordinates");
    return static_cast<std::int16_t>(value);
}

} // namespace

ShapeBuilder::ShapeBuilder(level::MeshKind kind, Skin skin, bool shaded)
    : mesh_(kind), skin_(std::move(skin)), shaded_(shaded) {}

std::uint16_t ShapeBuilder::vertex(int x, int y, int z, double nx, double ny, double nz) {
    const std::uint16_t index = mesh_.vertexCount();
    mesh_.vertex(coordinate(x), coordinate(y), coordinate(z));
    const double length = std::sqrt(nx * nx + ny * ny + nz * nz);
    const double scale = length > 0 ? kNormalLength / length : 0;
    if (shaded_) {
        // Shades run from 0 (bright) to 8191 (dark); light falls from above, where y is negative.
        const double up = length > 0 ? -ny / length : 0;
        mesh_.shade(static_cast<std::int16_t>(std::lround(4096 - 3072 * up)));
    } else {
        mesh_.normal(static_cast<std::int16_t>(std::lround(nx * scale)),
                     static_cast<std::int16_t>(std::lround(ny * scale)),
                     static_cast<std::int16_t>(std::lround(nz * scale)));
    }
    return index;
}

void ShapeBuilder::quad(std::uint16_t a, std::uint16_t b, std::uint16_t c, std::uint16_t d) {
    if (skin_.Quads.empty())
        throw std::logic_error("the skin has no texture for quads");
    mesh_.quad({a, b, c, d}, skin_.Quads[quads_++ % skin_.Quads.size()], skin_.Attribute);
}

void ShapeBuilder::triangle(std::uint16_t a, std::uint16_t b, std::uint16_t c) {
    if (skin_.Triangles.empty())
        throw std::logic_error("the skin has no texture for triangles");
    mesh_.triangle({a, b, c}, skin_.Triangles[triangles_++ % skin_.Triangles.size()], skin_.Attribute);
}

ShapeBuilder& ShapeBuilder::block(level::MeshVector low, level::MeshVector high) {
    // Each face has its own four corners so that every corner's normal is the face's.
    struct Face {
        int axis;  // 0 x, 1 y, 2 z
        bool high; // the face at the high end of that axis
    };
    for (const Face face :
         {Face{0, false}, Face{0, true}, Face{1, false}, Face{1, true}, Face{2, false}, Face{2, true}}) {
        const int u = (face.axis + 1) % 3;
        const int v = (face.axis + 2) % 3;
        std::uint16_t corners[4];
        for (int i = 0; i < 4; ++i) {
            // Around the face: (0,0), (1,0), (1,1), (0,1) in (u, v), reversed on the low face.
            const bool atU = (i == 1 || i == 2) != !face.high;
            const bool atV = i >= 2;
            int point[3];
            double normal[3] = {0, 0, 0};
            const int lowValues[3] = {low.x, low.y, low.z};
            const int highValues[3] = {high.x, high.y, high.z};
            point[face.axis] = face.high ? highValues[face.axis] : lowValues[face.axis];
            point[u] = atU ? highValues[u] : lowValues[u];
            point[v] = atV ? highValues[v] : lowValues[v];
            normal[face.axis] = face.high ? 1 : -1;
            corners[i] = vertex(point[0], point[1], point[2], normal[0], normal[1], normal[2]);
        }
        quad(corners[0], corners[1], corners[2], corners[3]);
    }
    return *this;
}

ShapeBuilder& ShapeBuilder::prism(int sides, std::int16_t radius, std::int16_t yTop, std::int16_t yBottom, bool capped,
                                  level::MeshVector centre) {
    if (sides < 3)
        throw std::logic_error("a prism needs at least three sides");
    std::vector<std::uint16_t> top;
    std::vector<std::uint16_t> bottom;
    for (int i = 0; i < sides; ++i) {
        const double angle = 2 * std::numbers::pi * i / sides;
        const double nx = std::cos(angle);
        const double nz = std::sin(angle);
        const int x = centre.x + static_cast<int>(std::lround(radius * nx));
        const int z = centre.z + static_cast<int>(std::lround(radius * nz));
        top.push_back(vertex(x, centre.y + yTop, z, nx, 0, nz));
        bottom.push_back(vertex(x, centre.y + yBottom, z, nx, 0, nz));
    }
    for (int i = 0; i < sides; ++i) {
        const int next = (i + 1) % sides;
        quad(top[static_cast<std::size_t>(i)], top[static_cast<std::size_t>(next)],
             bottom[static_cast<std::size_t>(next)], bottom[static_cast<std::size_t>(i)]);
    }
    if (capped) {
        const std::uint16_t topCentre = vertex(centre.x, centre.y + yTop, centre.z, 0, -1, 0);
        const std::uint16_t bottomCentre = vertex(centre.x, centre.y + yBottom, centre.z, 0, 1, 0);
        for (int i = 0; i < sides; ++i) {
            const auto here = static_cast<std::size_t>(i);
            const auto next = static_cast<std::size_t>((i + 1) % sides);
            triangle(topCentre, top[next], top[here]);
            triangle(bottomCentre, bottom[here], bottom[next]);
        }
    }
    return *this;
}

ShapeBuilder& ShapeBuilder::pyramid(std::int16_t halfWidth, std::int16_t yBase, std::int16_t yApex) {
    const int h = halfWidth;
    const std::uint16_t base[4] = {vertex(-h, yBase, -h, -1, 1, -1), vertex(h, yBase, -h, 1, 1, -1),
                                   vertex(h, yBase, h, 1, 1, 1), vertex(-h, yBase, h, -1, 1, 1)};
    const std::uint16_t apex = vertex(0, yApex, 0, 0, yApex < yBase ? -1 : 1, 0);
    quad(base[3], base[2], base[1], base[0]);
    for (int i = 0; i < 4; ++i)
        triangle(apex, base[i], base[(i + 1) % 4]);
    return *this;
}

ShapeBuilder& ShapeBuilder::crossedPlanes(std::int16_t halfWidth, std::int16_t height) {
    const int w = halfWidth;
    const int top = -height;
    for (const bool alongX : {true, false}) {
        const int dx = alongX ? w : 0;
        const int dz = alongX ? 0 : w;
        const double nx = alongX ? 0 : 1;
        const double nz = alongX ? 1 : 0;
        const std::uint16_t a = vertex(-dx, top, -dz, nx, 0, nz);
        const std::uint16_t b = vertex(dx, top, dz, nx, 0, nz);
        const std::uint16_t c = vertex(dx, 0, dz, nx, 0, nz);
        const std::uint16_t d = vertex(-dx, 0, -dz, nx, 0, nz);
        quad(a, b, c, d);
        quad(b, a, d, c); // the back side
    }
    return *this;
}

} // namespace veltrane::builders
