#include "gl_fixtures.h"

#include "app/gl/dx_device8.h"
#include "app/gl/offscreen_frame.h"
#include "preview/render_mesh.h"
#include "preview/scene.h"

#include <gtest/gtest.h>

#include <numbers>
#include <utility>

namespace veltrane::app {
namespace {

using namespace preview::testing;

// A target of one mesh whose faces alternate between two pages and overlap in depth: a small
// rectangle in front of a large one, and two triangles reaching out to the left of the screen.
level::LevelDocument twoPageTarget() {
    level::Tr4Level target;
    builders::appendLevelPage(target, halves({255, 0, 0}, {0, 255, 0}));
    builders::appendLevelPage(target, halves({0, 0, 255}, {255, 255, 0}));
    target.ObjectTextures = {wholePage(0), wholePage(1)};
    const auto mesh = builders::MeshBuilder()
                              .vertex(300, -300, 0).vertex(-300, -300, 0).vertex(-300, 300, 0).vertex(300, 300, 0)
                              .vertex(100, -100, 50).vertex(-100, -100, 50).vertex(-100, 100, 50).vertex(100, 100, 50)
                              .vertex(500, 0, 40)
                              .quad({0, 1, 2, 3}, 0)
                              .quad({4, 5, 6, 7}, 1)
                              .triangle({0, 3, 8}, 1)
                              .triangle({4, 7, 8}, 0)
                              .build();
    builders::appendMoveable(target, oneMeshMoveable(mesh));
    return level::makeLevelDocument(std::move(target));
}

struct Device : ::testing::Test {
    Device() { application(); }
};

// A device ready on an offscreen frame: magenta clear colour, the preview's projection.
struct OffscreenDevice {
    OffscreenDevice(int width, int height) : frame(width, height), device(main) {
        EXPECT_TRUE(frame.isValid());
        EXPECT_TRUE(device.initialize());
        device.SetClearColor(255, 0, 255);
        device.SetProjection(1, 3000, static_cast<float>(width) / static_cast<float>(height),
                             std::numbers::pi_v<float> / 4);
    }
    ~OffscreenDevice() { device.release(); }

    OffscreenFrame frame;
    dxMain main;
    dxDevice8 device;
};

QImage drawFrame(OffscreenFrame& frame, dxDevice8& device, const preview::PreviewScene& scene) {
    scene.drawFrame(device);
    frame.finish();
    return frame.image();
}

TEST_F(Device, BatchedDrawingGivesThePictureOfOneCallPerPolygon) {
    OffscreenDevice gl(321, 361);
    dxDevice8& device = gl.device;
    const level::LevelDocument files = twoPageTarget();
    preview::PreviewScene scene;
    scene.setTarget(&files);
    scene.buildDeviceObjects(device);
    scene.select({preview::PreviewList::TargetMoveables, 0});
    scene.view.viewAngleY = 20'000;
    scene.view.viewAngleX = -15'000;
    ASSERT_EQ(scene.target()->meshes.at(0)->drawBatches.size(), 2u);

    const QImage batched = drawFrame(gl.frame, device, scene);
    device.setDrawPerPolygon(true);
    const QImage perPolygon = drawFrame(gl.frame, device, scene);
    EXPECT_EQ(batched, perPolygon);
    // Both pages show: red or green from the first, blue or yellow from the second.
    bool first = false, second = false;
    for (int y = 0; y < batched.height(); ++y)
        for (int x = 0; x < batched.width(); ++x) {
            const QColor c = batched.pixelColor(x, y);
            first = first || near(c, {255, 0, 0}) || near(c, {0, 255, 0});
            second = second || near(c, {0, 0, 255}) || near(c, {255, 255, 0});
        }
    EXPECT_TRUE(first);
    EXPECT_TRUE(second);
    scene.releaseDeviceObjects();
}

// Draws one triangle that runs clockwise on the screen with the given render flags; returns the
// picture and the number of red pixels in it.
std::pair<QImage, int> drawClockwiseTriangle(std::uint32_t flags) {
    OffscreenDevice gl(64, 64);
    dxDevice8& device = gl.device;
    device.SetEye(0, 0, 700);
    device.SetLookAt(0, 0, 0);
    const auto page = builders::levelPage32(halves({255, 0, 0}, {255, 0, 0}));
    auto texture = device.CreatePageTexture(256, 256, preview::TextureFormat::A8R8G8B8, page);
    auto polygon = std::make_unique<preview::dxTrianguloTex>();
    polygon->flags = flags;
    // Top-left, top-right, bottom-right as seen from the eye on +z.
    polygon->AddVertex(100, 100, 0);
    polygon->AddVertex(-100, 100, 0);
    polygon->AddVertex(-100, -100, 0);
    polygon->SetTexture(texture.get(), {0, 0, 1, 0, 1, 1});
    preview::dxBufferTextura mesh;
    preview::AddPolygon(mesh, std::move(polygon));
    EXPECT_EQ(preview::CreateVertexBuffer(device, mesh), 0);
    device.ClearFrame(true);
    EXPECT_EQ(preview::DrawMesh(device, &mesh), 0);
    gl.frame.finish();
    const QImage image = gl.frame.image();
    int red = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            red += near(image.pixelColor(x, y), {255, 0, 0}) ? 1 : 0;
    mesh.vertexBuffer.reset();
    texture.reset();
    return {image, red};
}

TEST_F(Device, RenderFlagsChooseCullingAndFill) {
    const QPoint inside(38, 26); // in the upper-right half of the frame's centre square
    const auto [counterClockwiseCulled, shown] = drawClockwiseTriangle(preview::kFlagCullCounterClockwise);
    EXPECT_TRUE(near(counterClockwiseCulled.pixelColor(inside), {255, 0, 0}));
    const auto [clockwiseCulled, none] = drawClockwiseTriangle(preview::kFlagCullClockwise);
    EXPECT_EQ(none, 0);
    const auto [noCulling, all] = drawClockwiseTriangle(0);
    EXPECT_EQ(all, shown);
    const auto [wireframe, edges] = drawClockwiseTriangle(preview::kFlagWireframe);
    EXPECT_TRUE(near(wireframe.pixelColor(inside), {255, 0, 255}, 0));
    EXPECT_GT(edges, 0);
    EXPECT_LT(edges, shown);
}

TEST_F(Device, ClearColourTakesTheLowEightBitsOfEachChannel) {
    OffscreenDevice gl(8, 8);
    gl.device.SetClearColor(10, 20, 300);
    gl.device.ClearFrame(true);
    gl.frame.finish();
    EXPECT_TRUE(near(gl.frame.image().pixelColor(3, 3), {10, 20, 44}, 0));
}

} // namespace
} // namespace veltrane::app
