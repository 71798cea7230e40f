#pragma once

#include "../preview/mesh_fixtures.h"

#include "level/mesh_record.h"
#include "level/tr4_level.h"
#include "wad/wad_library.h"
#include "wad/wad_pages.h"

#include <QApplication>
#include <QColor>
#include <QImage>

#include <cstdint>
#include <cstdlib>
#include <optional>

// Files composed in memory for the OpenGL preview tests, and the application they run in.
namespace veltrane::preview::testing {

// The application, made once; OpenGL needs a real display (run under xvfb-run).
inline QApplication& application() {
    static int argc = 1;
    static char name[] = "preview_gl_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "xcb");
        return new QApplication(argc, argv);
    }();
    return *app;
}

struct Rgb {
    int r, g, b;
};

// One page whose left half (texel columns 0 to 127) is `left` and right half `right`, in the
// 32-bit page form (B, G, R, A a texel).
inline std::vector<std::uint8_t> halvesPage32(Rgb left, Rgb right) {
    std::vector<std::uint8_t> page = pageBytes(1, 4);
    for (std::size_t texel = 0; texel < 256 * 256; ++texel) {
        const Rgb c = texel % 256 < 128 ? left : right;
        page[4 * texel] = static_cast<std::uint8_t>(c.b);
        page[4 * texel + 1] = static_cast<std::uint8_t>(c.g);
        page[4 * texel + 2] = static_cast<std::uint8_t>(c.r);
        page[4 * texel + 3] = 255;
    }
    return page;
}

// The same page in the 16-bit form: bit 15 set, then 5 bits each of red, green and blue.
inline std::vector<std::uint8_t> halvesPage16(Rgb left, Rgb right) {
    std::vector<std::uint8_t> page = pageBytes(1, 2);
    for (std::size_t texel = 0; texel < 256 * 256; ++texel) {
        const Rgb c = texel % 256 < 128 ? left : right;
        const auto word = static_cast<std::uint16_t>(0x8000 | (c.r >> 3) << 10 | (c.g >> 3) << 5 | (c.b >> 3));
        page[2 * texel] = static_cast<std::uint8_t>(word & 0xFF);
        page[2 * texel + 1] = static_cast<std::uint8_t>(word >> 8);
    }
    return page;
}

// A square of 400 x 400 file units around the origin in the plane z = 0. Its face vertices 0 to 3
// are at file (200, -200), (-200, -200), (-200, 200), (200, 200): seen from the camera on +z they
// run top-left, top-right, bottom-right, bottom-left, clockwise on the screen.
inline level::MeshRecord screenSquare(std::int16_t shiftX = 0) {
    return meshWithVertices({{static_cast<std::int16_t>(200 + shiftX), -200, 0},
                             {static_cast<std::int16_t>(-200 + shiftX), -200, 0},
                             {static_cast<std::int16_t>(-200 + shiftX), 200, 0},
                             {static_cast<std::int16_t>(200 + shiftX), 200, 0}});
}

// A target whose meshes are each shown by one moveable of one mesh, all on one page.
struct TargetFiles {
    explicit TargetFiles(std::vector<level::MeshRecord> meshes, Rgb left, Rgb right)
        : meshes(meshList(level::MeshKind::Level, std::move(meshes))) {
        level.Pages32 = halvesPage32(left, right);
        level.Pages16 = halvesPage16(left, right);
        level.ObjectTextures = {objectTexture(0, {{{0, 0}, {255, 0}, {255, 255}, {0, 255}}})};
        for (const auto& mesh : this->meshes.Meshes()) {
            level.MeshPointers.push_back(mesh.Offset);
            level::Tr4Moveable moveable;
            moveable.MeshCount = 1;
            moveable.StartingMesh = static_cast<std::uint16_t>(level.MeshPointers.size() - 1);
            level.Moveables.push_back(moveable);
        }
    }
    level::Tr4Level level;
    level::Lista_Mesh meshes;
};

// A source with one static mesh: the screen square as one quad over a whole library page whose
// texels are stored as R, G, B bytes.
struct SourceFiles {
    explicit SourceFiles(Rgb colour) : meshes(makeMeshes()) {
        library.TextureBytes.resize(256 * 256 * 3);
        for (std::size_t texel = 0; texel < 256 * 256; ++texel) {
            library.TextureBytes[3 * texel] = static_cast<std::uint8_t>(colour.r);
            library.TextureBytes[3 * texel + 1] = static_cast<std::uint8_t>(colour.g);
            library.TextureBytes[3 * texel + 2] = static_cast<std::uint8_t>(colour.b);
        }
        library.TextureSamples = {sample(0, 0, 0, 255, 255)};
        library.MeshPointers = {0};
        library.StaticMeshes.resize(1);
        pages.Pages32 = wad::ConvertPages(library.TextureBytes);
        wad::CopyPages(pages);
    }
    static level::Lista_Mesh makeMeshes() {
        auto mesh = screenSquare();
        setPolygons(mesh, {quadPolygon(0)});
        return meshList(level::MeshKind::Library, {mesh});
    }
    wad::WadLibrary library;
    level::Tr4Level pages;
    level::Lista_Mesh meshes;
};

inline bool near(const QColor& c, Rgb expected, int tolerance = 2) {
    return std::abs(c.red() - expected.r) <= tolerance && std::abs(c.green() - expected.g) <= tolerance &&
           std::abs(c.blue() - expected.b) <= tolerance;
}

inline std::string describe(const QColor& c) {
    return "(" + std::to_string(c.red()) + ", " + std::to_string(c.green()) + ", " + std::to_string(c.blue()) + ")";
}

constexpr Rgb kMagenta{255, 0, 255};
constexpr Rgb kWhite{255, 255, 255};

} // namespace veltrane::preview::testing
