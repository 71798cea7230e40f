#include "gl_fixtures.h"

#include "app/gl/dx_device8.h"
#include "app/gl/offscreen_frame.h"
#include "preview/render_mesh.h"
#include "preview/scene.h"

#include <gtest/gtest.h>

namespace veltrane::app {
namespace {

using namespace preview::testing;

// A device ready on an offscreen frame: magenta clear colour, the preview's projection.
struct OffscreenDevice {
    OffscreenDevice(int width, int height) : frame(width, height), device(main) {
        EXPECT_TRUE(frame.isValid());
        EXPECT_TRUE(device.initialize());
        device.SetClearColor(255, 0, 255);
        device.setProjection(preview::projectionOf({width, height}));
    }
    ~OffscreenDevice() { device.release(); }
    // The picture after `draw`, and the number of pixels of `colour` in it.
    template <class Draw>
    std::pair<QImage, int> picture(Draw&& draw, Rgb colour) {
        draw();
        frame.finish();
        const QImage image = frame.image();
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                count += near(image.pixelColor(x, y), colour) ? 1 : 0;
        return {image, count};
    }

    QApplication& app = application();
    OffscreenFrame frame;
    dxMain main;
    dxDevice8 device;
};

TEST(Device, BatchedDrawingGivesThePictureOfOneCallPerPolygon) {
    // One mesh whose faces alternate between two pages and overlap in depth: a small rectangle in front
    // of a large one, and two triangles reaching out to the left of the screen.
    level::Tr4Level target;
    builders::appendLevelPage(target, halves({255, 0, 0}, {0, 255, 0}));
    builders::appendLevelPage(target, halves({0, 0, 255}, {255, 255, 0}));
    target.ObjectTextures = {wholePage(0), wholePage(1)};
    builders::appendMoveable(target, oneMeshMoveable(builders::MeshBuilder()
                                                         .vertex(300, -300, 0).vertex(-300, -300, 0).vertex(-300, 300, 0).vertex(300, 300, 0)
                                                         .vertex(100, -100, 50).vertex(-100, -100, 50).vertex(-100, 100, 50).vertex(100, 100, 50)
                                                         .vertex(500, 0, 40)
                                                         .quad({0, 1, 2, 3}, 0).quad({4, 5, 6, 7}, 1)
                                                         .triangle({0, 3, 8}, 1).triangle({4, 7, 8}, 0)
                                                         .build()));
    const auto document = level::makeLevelDocument(std::move(target));
    OffscreenDevice gl(321, 361);
    preview::PreviewScene scene;
    scene.setTarget(&document);
    scene.buildDeviceObjects(gl.device);
    scene.select({preview::PreviewList::TargetMoveables, 0});
    scene.view.viewAngleY = 20'000;
    scene.view.viewAngleX = -15'000;
    ASSERT_EQ(scene.target()->meshes.at(0)->drawBatches.size(), 2u);
    const auto [batched, red] = gl.picture([&] { scene.drawFrame(gl.device); }, {255, 0, 0});
    gl.device.setDrawPerPolygon(true);
    const auto [perPolygon, blue] = gl.picture([&] { scene.drawFrame(gl.device); }, {0, 0, 255});
    EXPECT_EQ(batched, perPolygon);
    EXPECT_GT(red, 0) << "the first page shows";
    EXPECT_GT(blue, 0) << "the second page shows";
    scene.releaseDeviceObjects();
}

TEST(Device, RenderFlagsChooseCullingAndFillAndTheClearColourTakesTheLowEightBitsOfEachChannel) {
    // One red triangle that runs clockwise on the screen, drawn with each set of render flags.
    const auto drawn = [](std::uint32_t flags) {
        OffscreenDevice gl(64, 64);
        gl.device.SetEye(0, 0, 700);
        gl.device.SetLookAt(0, 0, 0);
        auto texture = gl.device.CreatePageTexture(256, 256, preview::TextureFormat::A8R8G8B8,
                                                    builders::levelPage32(halves({255, 0, 0}, {255, 0, 0})));
        auto polygon = std::make_unique<preview::dxTrianguloTex>();
        polygon->flags = flags;
        polygon->AddVertex(100, 100, 0); // top-left, top-right, bottom-right as seen from the eye on +z
        polygon->AddVertex(-100, 100, 0);
        polygon->AddVertex(-100, -100, 0);
        polygon->SetTexture(texture.get(), {0, 0, 1, 0, 1, 1});
        preview::dxBufferTextura mesh;
        preview::AddPolygon(mesh, std::move(polygon));
        EXPECT_EQ(preview::CreateVertexBuffer(gl.device, mesh), 0);
        return gl.picture([&] {
            gl.device.ClearFrame(true);
            EXPECT_EQ(preview::DrawMesh(gl.device, &mesh), 0);
        }, {255, 0, 0});
    };
    const QPoint inside(38, 26); // in the upper-right half of the frame's centre square
    const auto [shown, filled] = drawn(preview::kFlagCullCounterClockwise);
    EXPECT_TRUE(near(shown.pixelColor(inside), {255, 0, 0}));
    EXPECT_EQ(drawn(preview::kFlagCullClockwise).second, 0);
    EXPECT_EQ(drawn(0).second, filled);
    const auto [wireframe, edges] = drawn(preview::kFlagWireframe);
    EXPECT_TRUE(near(wireframe.pixelColor(inside), {255, 0, 255}, 0));
    EXPECT_GT(edges, 0);
    EXPECT_LT(edges, filled);

    OffscreenDevice gl(8, 8);
    gl.device.SetClearColor(10, 20, 300);
    const auto [cleared, ignored] = gl.picture([&] { gl.device.ClearFrame(true); }, {});
    EXPECT_TRUE(near(cleared.pixelColor(3, 3), {10, 20, 44}, 0));
}

} // namespace
} // namespace veltrane::app
