#include "mesh_fixtures.h"
#include "recording_device.h"

#include "preview/d3d_matrix.h"
#include "preview/scene.h"

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

TEST_F(Scene, TheObjectOnShowIsDrawnUnderTheCamera) {
    scene.drawFrame(device);
    EXPECT_EQ(device.log, (std::vector<std::string>{"clear"}));
    scene.setTarget(&target);
    scene.setSource(&source);
    EXPECT_FALSE(scene.buildDeviceObjects(device));
    scene.select({PreviewList::TargetMoveables, 0});
    scene.drawFrame(device);
    EXPECT_EQ(device.log, (std::vector<std::string>{"clear", "clear", "draw"}));
    EXPECT_EQ(device.eye, glm::vec3(0, 0, kEyeZ));
    EXPECT_EQ(device.lookAt, glm::vec3(0, 0, 0));
    EXPECT_EQ(device.draws[0].world, MatrixScaling(6, 6, 6));
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
}

TEST_F(Scene, ASelectionResetsTheViewAndOpeningAFileTakesOnlyItsOwnObjectOffShow) {
    scene.setTarget(&target);
    scene.setSource(&source);
    scene.view.viewAngleY = 5;
    scene.spin.panX = 3;
    scene.select({PreviewList::TargetStatics, 0});
    EXPECT_EQ(scene.view, ViewParameters{});
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

} // namespace
} // namespace veltrane::preview
