#pragma once

#include "../preview/mesh_fixtures.h"

#include "builders/objects.h"
#include "builders/pages.h"
#include "level/level_document.h"
#include "wad/library_document.h"

#include "app/gl/preview_widget.h"

#include <QApplication>
#include <QColor>
#include <QTest>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

// Files composed for the OpenGL preview tests, and the application they run in.
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

// A page whose left half (texel columns 0 to 127) is `left` and right half `right`.
inline builders::TexelSource halves(Rgb left, Rgb right) {
    return [=](int x, int) {
        const Rgb c = x < 128 ? left : right;
        return builders::Rgb{static_cast<std::uint8_t>(c.r), static_cast<std::uint8_t>(c.g),
                             static_cast<std::uint8_t>(c.b)};
    };
}

// A square of 400 x 400 file units around the origin in the plane z = 0, moved by `shiftX`. Its
// vertices 0 to 3 are at file (200, -200), (-200, -200), (-200, 200), (200, 200): seen from the
// camera on +z they run top-left, top-right, bottom-right, bottom-left, clockwise on the screen.
inline builders::MeshBuilder screenSquare(level::MeshKind kind = level::MeshKind::Level, std::int16_t shiftX = 0) {
    const auto left = static_cast<std::int16_t>(200 + shiftX);
    const auto right = static_cast<std::int16_t>(-200 + shiftX);
    builders::MeshBuilder mesh(kind);
    mesh.vertex(left, -200, 0).vertex(right, -200, 0).vertex(right, 200, 0).vertex(left, 200, 0);
    return mesh;
}

// A moveable of one mesh and no animations.
inline builders::Moveable oneMeshMoveable(level::MeshRecord mesh) {
    builders::Moveable moveable;
    moveable.ObjectId = 1;
    moveable.Meshes = {std::move(mesh)};
    return moveable;
}

// A target with one page (in both page forms) covered by object texture 0, and a one-mesh moveable
// for each of the given meshes.
struct TargetFiles : level::LevelDocument {
    TargetFiles(const std::vector<level::MeshRecord>& meshes, Rgb left, Rgb right) {
        level::Tr4Level built;
        for (const auto& mesh : meshes)
            builders::appendMoveable(built, oneMeshMoveable(mesh));
        builders::appendLevelPage(built, halves(left, right));
        built.ObjectTextures = {wholePage(0)};
        static_cast<level::LevelDocument&>(*this) = level::makeLevelDocument(std::move(built));
    }
};

// A source with one static mesh, the screen square as one quad over the whole of a library page of
// one colour.
struct SourceFiles : wad::LibraryDocument {
    explicit SourceFiles(Rgb colour) {
        auto built = builders::emptyLibrary();
        builders::appendStaticMesh(
            built, builders::staticMesh(1, screenSquare(level::MeshKind::Library).quad({0, 1, 2, 3}, 0).build()));
        builders::appendLibraryPage(built, halves(colour, colour));
        built.TextureSamples = {sample(0, 0, 0, 255, 255)};
        static_cast<wad::LibraryDocument&>(*this) = wad::makeLibraryDocument(std::move(built));
    }
};

inline bool near(const QColor& c, Rgb expected, int tolerance = 2) {
    return std::abs(c.red() - expected.r) <= tolerance && std::abs(c.green() - expected.g) <= tolerance &&
           std::abs(c.blue() - expected.b) <= tolerance;
}

inline std::string describe(const QColor& c) {
    return "(" + std::to_string(c.red()) + ", " + std::to_string(c.green()) + ", " + std::to_string(c.blue()) + ")";
}

// The widget's frame count once no frame has been drawn for a tenth of a second, so that a paint
// asked for earlier and delivered late (a loaded machine, a sanitized build) is not counted later.
inline int settledFrameCount(const app::PreviewWidget& widget) {
    int count = widget.frameCount();
    for (int tries = 0; tries < 50; ++tries) {
        QTest::qWait(100);
        if (widget.frameCount() == count)
            break;
        count = widget.frameCount();
    }
    return count;
}

constexpr Rgb kMagenta{255, 0, 255};
constexpr Rgb kWhite{255, 255, 255};

} // namespace veltrane::preview::testing
