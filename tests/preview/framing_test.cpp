#include "recording_device.h"

#include "demo/demo_level.h"
#include "demo/demo_library.h"
#include "preview/d3d_matrix.h"
#include "preview/scene.h"

#include <glm/common.hpp>
#include <gtest/gtest.h>

#include <algorithm>

namespace veltrane::preview {
namespace {

using testing::RecordingDevice;

// A point of the mesh drawn `draw`th through the frame's matrices, in pixels from the panel's centre (y up).
glm::vec2 toScreen(const RecordingDevice& device, std::size_t draw, glm::vec3 point, glm::ivec2 panel) {
    const glm::mat4 camera = MatrixLookAtLH(device.eye, device.lookAt, {0, 1, 0});
    const glm::vec3 ndc = transformCoord(transformCoord(transformCoord(point, device.draws[draw].world), camera), device.projection);
    return glm::vec2(ndc) * glm::vec2(panel) * 0.5f;
}

// The box of the object's vertices on the screen.
struct Screen {
    glm::vec2 low{1e9f}, high{-1e9f};
    [[nodiscard]] glm::vec2 middle() const { return (low + high) * 0.5f; }
    [[nodiscard]] glm::vec2 size() const { return high - low; }
};

Screen onScreen(const PreviewScene& scene, glm::ivec2 panel) {
    RecordingDevice device;
    scene.drawFrame(device);
    Screen screen;
    for (std::size_t draw = 0; draw < device.draws.size(); ++draw)
        for (const RenderVertex& v : device.draws[draw].mesh->texturedVertexData) {
            screen.low = glm::min(screen.low, toScreen(device, draw, {v.x, v.y, v.z}, panel));
            screen.high = glm::max(screen.high, toScreen(device, draw, {v.x, v.y, v.z}, panel));
        }
    return screen;
}

struct DemoScene : ::testing::Test {
    DemoScene() {
        scene.setTarget(&target);
        scene.setSource(&source);
        scene.buildDeviceObjects(device);
    }
    const level::LevelDocument target = level::makeLevelDocument(demo::demoLevel(demo::DemoScale::Normal));
    const wad::LibraryDocument source = wad::makeLibraryDocument(demo::demoLibrary(demo::DemoScale::Normal));
    RecordingDevice device;
    PreviewScene scene;
};

// Inside what the covered strip leaves of the panel; when `centred`, also with its middle near the
// middle of that and large enough to see.
void expectInView(const Screen& screen, const Viewport& panel, bool centred) {
    const glm::vec2 low(-panel.width / 2.0f, -panel.height / 2.0f + static_cast<float>(panel.covered));
    const glm::vec2 high(panel.width / 2.0f, panel.height / 2.0f);
    EXPECT_TRUE(glm::all(glm::greaterThanEqual(screen.low, low)) && glm::all(glm::lessThanEqual(screen.high, high)))
        << "from (" << screen.low.x << ", " << screen.low.y << ") to (" << screen.high.x << ", " << screen.high.y << ")";
    if (!centred)
        return;
    const float side = std::min(high.x - low.x, high.y - low.y);
    EXPECT_LT(glm::length(screen.middle() - (low + high) * 0.5f), 0.04f * side);
    EXPECT_GT(std::max(screen.size().x, screen.size().y), 0.45f * side);
}

TEST_F(DemoScene, EveryObjectShowsWholeAndCentredAtAnyPanelSizeAndWholeThroughEveryAnimation) {
    const std::pair<PreviewList, std::size_t> lists[] = {
        {PreviewList::TargetMoveables, target.level.Moveables.size()}, {PreviewList::TargetStatics, target.level.StaticMeshes.size()},
        {PreviewList::SourceMoveables, source.library.Moveables.size()}, {PreviewList::SourceStatics, source.library.StaticMeshes.size()}};
    for (const auto& [list, count] : lists)
        for (std::int32_t index = 0; index < static_cast<std::int32_t>(count); ++index) {
            scene.setViewport(PreviewScene::kDesignWidth, PreviewScene::kDesignHeight);
            scene.select({list, index});
            for (const Viewport panel : {Viewport{321, 361, 60}, Viewport{900, 200, 40}, Viewport{120, 600, 0}}) {
                SCOPED_TRACE(::testing::Message() << "list " << static_cast<int>(list) << " entry " << index << " in "
                                                  << panel.width << " x " << panel.height);
                scene.setViewport(panel.width, panel.height, panel.covered);
                expectInView(onScreen(scene, {panel.width, panel.height}), panel, true);
                const auto animations = scene.animationFrameCounts();
                for (std::uint32_t a = 0; a < animations.size(); ++a)
                    for (const std::uint32_t frame : {0u, animations[a] / 2, animations[a] - 1})
                        if (scene.showAnimationFrame(a, frame))
                            expectInView(onScreen(scene, {panel.width, panel.height}), panel, false);
                scene.showRest();
            }
        }
}

TEST_F(DemoScene, TheSameDragsTurnZoomAndPanASmallAndALargeObjectAlikeAndFitGoesBack) {
    const glm::ivec2 panel(PreviewScene::kDesignWidth, PreviewScene::kDesignHeight);
    const auto drag = [&](MouseState state, int dx, int dy) {
        scene.mouseMove(state, 100, 100);
        scene.mouseMove(state, 100 + dx, 100 + dy);
        scene.mouseUp();
    };
    const auto middle = [&] { // of the static mesh on show
        scene.drawFrame(device);
        return toScreen(device, device.draws.size() - 1, scene.view.centre, panel);
    };
    // The lantern, 26 units wide, and the column, 170 units tall.
    for (const PreviewSelection shown : {PreviewSelection{PreviewList::SourceStatics, 4}, {PreviewList::TargetStatics, 2}}) {
        SCOPED_TRACE(static_cast<int>(shown.list));
        scene.select(shown);
        const ViewParameters fitted = scene.view;
        const float height = onScreen(scene, panel).size().y;
        drag({true, false, true}, 40, -30);
        EXPECT_NEAR(middle().x, 40, 0.5) << "the object follows the pointer";
        EXPECT_NEAR(middle().y, 30, 0.5);
        drag({true, true, false}, 0, -100);
        EXPECT_NEAR(onScreen(scene, panel).size().y / height, 2, 0.25) << "100 pixels up halve the distance";
        drag({true, false, false}, 30, 0);
        EXPECT_FLOAT_EQ(scene.view.viewAngleY, 30 * 1200.0f) << "1.2 degrees a pixel";
        scene.fit();
        EXPECT_EQ(scene.view, fitted);
        drag({true, true, false}, 0, 100);
        EXPECT_NEAR(onScreen(scene, panel).size().y / height, 0.5, 0.05) << "fitted afresh";
    }
}

} // namespace
} // namespace veltrane::preview
