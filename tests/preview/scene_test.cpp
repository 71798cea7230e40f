#include "mesh_fixtures.h"
#include "recording_device.h"

#include "preview/d3d_matrix.h"
#include "preview/scene.h"

#include <glm/geometric.hpp>
#include <gtest/gtest.h>

namespace veltrane::preview {
namespace {

using testing::RecordedTexture;
using testing::RecordingDevice;

TextureFormat formatOf(const PageTexture* texture) { return dynamic_cast<const RecordedTexture&>(*texture).format; }

// A target with one textured mesh shown by one moveable and one static mesh; a source with two moveables.
struct Scene : ::testing::Test {
    Scene()
        : target(testing::levelWith({testing::square().quad({0, 1, 2, 3}, 0).build()})),
          source(testing::libraryWith({testing::square(level::MeshKind::Library).quad({0, 1, 2, 3}, 0).build()})) {
        target.level.ObjectTextures = {testing::wholePage(0)};
        target.level.Moveables = {{0, 1, 0, 0, 0, 0}};
        target.level.StaticMeshes.resize(1);
        source.library.TextureSamples = {testing::sample(0, 0, 0, 255, 255)};
        source.library.Moveables = {{0, 1, 0, 0, 0, 0}, {0, 1, 0, 0, 0, 0}};
    }
    level::LevelDocument target;
    wad::LibraryDocument source;
    RecordingDevice device;
    PreviewScene scene;
};

TEST_F(Scene, TheObjectOnShowIsDrawnUnderTheCameraAboutItsMiddleOrWithTheFixedCameraAboutTheOrigin) {
    scene.drawFrame(device);
    EXPECT_EQ(device.log, (std::vector<std::string>{"clear"}));
    scene.setTarget(&target);
    scene.setSource(&source);
    EXPECT_FALSE(scene.buildDeviceObjects(device));
    scene.select({PreviewList::TargetMoveables, 0});
    scene.setViewport(400, 200);
    scene.drawFrame(device);
    EXPECT_EQ(device.log, (std::vector<std::string>{"clear", "clear", "draw"}));
    EXPECT_EQ(device.projection, MatrixPerspectiveFovLH(kFieldOfView, 2, kNearPlane, kFarPlane));
    EXPECT_EQ(device.eye, glm::vec3(0, 0, kEyeZ));
    EXPECT_EQ(device.lookAt, glm::vec3(0, 0, 0));
    EXPECT_NEAR(glm::length(transformCoord({5, -5, 0}, device.draws[0].world)), 0, 1e-4) << "the square's middle";
    scene.setFixedCamera(true);
    scene.drawFrame(device);
    EXPECT_EQ(device.draws[1].world, MatrixScaling(6, 6, 6));
}

TEST_F(Scene, AFrameMakesTheTexturesAndMeshesOfTheFileItShowsAndNoOther) {
    scene.setTarget(&target);
    scene.setSource(&source);
    scene.buildShownDeviceObjects(device);
    scene.select({PreviewList::SourceMoveables, 1});
    scene.buildShownDeviceObjects(device);
    EXPECT_EQ(scene.target()->textures, nullptr);
    EXPECT_NE(scene.source()->meshes.at(0)->vertexBuffer, nullptr);
    scene.select({PreviewList::TargetStatics, 0});
    scene.buildShownDeviceObjects(device);
    EXPECT_NE(scene.target()->meshes.at(0)->vertexBuffer, nullptr);
    // Once made, they stay: the next frames upload nothing again.
    const int buffers = device.buffersAsked;
    scene.buildShownDeviceObjects(device);
    scene.buildDeviceObjects(device);
    EXPECT_EQ(device.buffersAsked, buffers);
}

TEST_F(Scene, ASelectionResetsTheViewAndOpeningAFileTakesOnlyItsOwnObjectOffShow) {
    scene.setTarget(&target);
    scene.setSource(&source);
    scene.view.viewAngleY = 5;
    scene.spin.panX = 3;
    scene.select({PreviewList::TargetStatics, 0});
    EXPECT_EQ(scene.view, scene.fittedView());
    EXPECT_EQ(scene.view.centre, glm::vec3(5, -5, 0));
    EXPECT_EQ(scene.spin.panX, 0);
    EXPECT_NE(scene.selectedObject(), nullptr);
    scene.select({PreviewList::TargetStatics, 4});
    EXPECT_EQ(scene.selectedObject(), nullptr);

    scene.select({PreviewList::SourceMoveables, 0});
    scene.setTarget(&target);
    EXPECT_TRUE(scene.selection().has_value());
    scene.setSource(&source);
    EXPECT_FALSE(scene.selection().has_value());
    scene.select({PreviewList::TargetMoveables, 0});
    scene.setSource(&source);
    EXPECT_TRUE(scene.selection().has_value());
    scene.setTarget(nullptr);
    EXPECT_FALSE(scene.selection().has_value());
    EXPECT_EQ(scene.target(), nullptr);
}

TEST_F(Scene, WithoutThirtyTwoBitTexturesTheTargetShowsItsSixteenBitPagesWithTheNoticeOnceAndTheSourceItsOwn) {
    device.supports32 = false;
    scene.setTarget(&target);
    scene.setSource(&source);
    EXPECT_TRUE(scene.buildDeviceObjects(device));
    EXPECT_EQ(formatOf(scene.target()->meshes.at(0)->polygonTextures[0]), TextureFormat::X1R5G5B5);
    EXPECT_EQ(formatOf(scene.source()->meshes.at(0)->polygonTextures[0]), TextureFormat::A8R8G8B8);
    // A merge and a lost device rebuild without the notice; opening a target again gives it again.
    scene.targetChanged();
    EXPECT_FALSE(scene.buildDeviceObjects(device));
    scene.releaseDeviceObjects();
    EXPECT_EQ(scene.target()->textures, nullptr);
    EXPECT_TRUE(scene.source()->meshes.renderMeshes.empty());
    EXPECT_FALSE(scene.buildDeviceObjects(device));
    EXPECT_NE(scene.target()->meshes.at(0)->vertexBuffer, nullptr);
    scene.setTarget(&target);
    EXPECT_TRUE(scene.buildDeviceObjects(device));
}

TEST_F(Scene, ATargetGrownByAMergeGetsRenderListsAndTexturesForWhatItGained) {
    scene.setTarget(&target);
    scene.buildDeviceObjects(device);
    target.level.Moveables.push_back(target.level.Moveables[0]);
    target.level.Pages32.resize(2 * level::kPageBytes32);
    scene.targetChanged();
    scene.buildDeviceObjects(device);
    EXPECT_EQ(scene.target()->moveables.size(), 2u);
    EXPECT_EQ(scene.target()->textures->pageCount, 2);
    scene.select({PreviewList::TargetMoveables, 1});
    scene.drawFrame(device);
    EXPECT_EQ(device.draws.size(), 1u);
}

TEST_F(Scene, AnInvalidFactorTextKeepsTheLastGoodFactor) {
    EXPECT_FLOAT_EQ(scene.spin.factor, 1.2f);
    EXPECT_TRUE(scene.setFactorText("2.5"));
    EXPECT_FALSE(scene.setFactorText("2,5"));
    EXPECT_FLOAT_EQ(scene.spin.factor, 2.5f);
    EXPECT_FALSE(scene.factorValid());
    EXPECT_EQ(scene.factorError(), "'2,5' is not a valid floating point value");
    EXPECT_TRUE(scene.setFactorText("3"));
    EXPECT_EQ(scene.factorError(), "");
}

TEST(ObjectInfo, TellsTheSlotTheMeshesThePolygonsAndTheDistinctPiecesAndPagesTheFacesShow) {
    // Mesh 0 has quads on object textures 2 and 0, a triangle on 2 again and a quad whose negative word
    // names none; mesh 1 a triangle on texture 3, just past the table; the third mesh pointer is missing.
    auto target = testing::levelWith({testing::square().quad({0, 1, 2, 3}, 2).quad({0, 1, 2, 3}, 0).triangle({0, 1, 2}, 2)
                                          .quad({0, 1, 2, 3}, 0x8001).build(),
                                      testing::square().triangle({0, 1, 2}, 3).build()});
    target.level.ObjectTextures = {testing::wholePage(3), testing::wholePage(1), testing::wholePage(0)};
    target.level.Moveables = {{123, 3, 0, 0, 0, 0}};
    // A library quad whose word -1 shows sample 1 mirrored.
    auto source = testing::libraryWith({testing::square(level::MeshKind::Library).quad({0, 1, 2, 3}, 0xFFFF).build()});
    source.library.TextureSamples = {testing::sample(0, 0, 0, 9, 9), testing::sample(0, 0, 5, 9, 9)};
    source.library.StaticMeshes = {{44, 0, {}, 0}};
    PreviewScene scene;
    scene.setTarget(&target);
    scene.setSource(&source);
    EXPECT_FALSE(scene.shownInfo().has_value());
    scene.select({PreviewList::TargetMoveables, 0});
    EXPECT_EQ(infoText(scene.shownInfo().value()),
              "Moveable ID #123  TRAPDOOR2: 3 meshes, 5 polygons, 2 texture pieces on pages 0, 3");
    scene.select({PreviewList::SourceStatics, 0});
    EXPECT_EQ(infoText(scene.shownInfo().value()), "Static Mesh ID #44  DEBRIS4: 1 mesh, 1 polygon, 1 texture piece on page 5");
    ObjectInfo unnamed;
    unnamed.objectId = 600;
    EXPECT_EQ(infoText(unnamed), "Moveable ID #600: 0 meshes, 0 polygons, no texture pieces");
}

} // namespace
} // namespace veltrane::preview
