// Preview frames of the largest moveable of the large demo library: drawn batched (one call per
// texture page of each mesh) against one call per polygon, in the same run. Needs OpenGL on a
// display: run it through scripts/with-display.sh (the bench-preview target does).
#include "app/gl/dx_device8.h"
#include "app/gl/offscreen_frame.h"
#include "preview/scene.h"
#include "ratio_reporter.h"
#include "demo/demo_library.h"
#include "wad/library_document.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <memory>

using namespace veltrane;

namespace {

// The large library, its meshes and pages, drawn on an offscreen frame of the preview's size.
struct Bench {
    Bench()
        : source(wad::makeLibraryDocument(demo::demoLibrary(demo::DemoScale::Large))), frame(321, 361), device(main) {
        if (!frame.isValid() || !device.initialize())
            return;
        device.SetClearColor(255, 0, 255);
        scene.setSource(&source);
        scene.buildDeviceObjects(device);
        scene.select({preview::PreviewList::SourceMoveables, largestMoveable()});
        scene.view.viewAngleY = 30'000;
        scene.view.viewAngleX = -20'000;
        ready = true;
    }
    ~Bench() {
        scene.releaseDeviceObjects();
        device.release();
    }

    // The moveable with the most polygons, and that number.
    std::int32_t largestMoveable() {
        std::int32_t best = 0;
        for (const auto& moveable : scene.source()->moveables) {
            std::int32_t polygonCount = 0;
            std::int32_t batchCount = 0;
            for (const std::int32_t index : moveable->meshIndex)
                if (const auto* mesh = scene.source()->meshes.at(index)) {
                    polygonCount += mesh->polygonCount();
                    batchCount += static_cast<std::int32_t>(mesh->drawBatches.size());
                }
            if (polygonCount > polygons) {
                polygons = polygonCount;
                batches = batchCount;
                best = moveable->moveableIndex;
            }
        }
        return best;
    }

    wad::LibraryDocument source;
    app::OffscreenFrame frame;
    app::dxMain main;
    app::dxDevice8 device;
    preview::PreviewScene scene;
    std::int32_t polygons = 0;
    std::int32_t batches = 0;
    bool ready = false;
};

// Made in main, on the running application, and gone before it.
std::unique_ptr<Bench> theBench;

Bench& bench() {
    if (!theBench)
        theBench = std::make_unique<Bench>();
    return *theBench;
}

void drawFrames(benchmark::State& state, bool perPolygon) {
    Bench& b = bench();
    if (!b.ready) {
        state.SkipWithError("no OpenGL 3.3 context");
        return;
    }
    b.device.setDrawPerPolygon(perPolygon);
    for (auto _ : state) {
        b.scene.drawFrame(b.device);
        b.frame.finish();
    }
    state.counters["polygons"] = b.polygons;
    state.counters["draw_calls"] = perPolygon ? b.polygons : b.batches;
}

void PreviewFrameBatched(benchmark::State& state) { drawFrames(state, false); }
void PreviewFrameOneCallPerPolygon(benchmark::State& state) { drawFrames(state, true); }

BENCHMARK(PreviewFrameOneCallPerPolygon)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(PreviewFrameBatched)->Unit(benchmark::kMillisecond)->MinTime(1.0);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication application(argc, argv);
    // The ratio is the speed-up of batching; the goal is at least 10.
    const int result = bench::runWithRatios(argc, argv, {{"PreviewFrameOneCallPerPolygon", "PreviewFrameBatched"}});
    theBench.reset();
    return result;
}
