#include "mesh_fixtures.h"
#include "recording_device.h"

#include "preview/d3d_matrix.h"
#include "preview/scene.h"

#include <gtest/gtest.h>

namespace veltrane::preview {
namespace {

using testing::RecordedTexture;
using testing::RecordingDevice;

// A target with one textured mesh shown by one moveable and one static mesh; a source likewise.
struct Files {
    Files()
        : targetMeshes(testing::levelMeshes(target, {testing::square().quad({0, 1, 2, 3}, 0).build()})),
          sourceMeshes(testing::libraryMeshes(
              library, {testing::square(level::MeshKind::Library).quad({0, 1, 2, 3}, 0).build()})) {
        target.Pages32 = testing::pageBytes(1, 4);
        target.Pages16 = testing::pageBytes(1, 2);
        target.ObjectTextures = {testing::wholePage(0)};
        target.Moveables.resize(1);
        target.Moveables[0].MeshCount = 1;
        target.StaticMeshes.resize(1);

        sourcePages.Pages32 = testing::pageBytes(1, 4);
        library.TextureSamples = {testing::sample(0, 0, 0, 255, 255)};
        library.Moveables.resize(2);
        library.Moveables[0].MeshCount = 1;
        library.Moveables[1].MeshCount = 1;
    }
    level::Tr4Level target;
    level::Lista_Mesh targetMeshes;
    level::Tr4Level sourcePages;
    wad::WadLibrary library;
    level::Lista_Mesh sourceMeshes;
};

struct Scene : ::testing::Test {
    Files files;
    RecordingDevice device;
    PreviewScene scene;
};

TEST_F(Scene, NoSelectionDrawsOnlyTheClear) {
    scene.drawFrame(device);
    EXPECT_EQ(device.log, (std::vector<std::string>{"clear"}));
}

TEST_F(Scene, SelectedObjectIsDrawnUnderTheCamera) {
    scene.setTarget(&files.target, &files.targetMeshes);
    EXPECT_FALSE(scene.buildDeviceObjects(device));
    scene.select({PreviewList::TargetMoveables, 0});
    scene.drawFrame(device);
    EXPECT_EQ(device.log, (std::vector<std::string>{"clear", "eye", "lookAt", "draw"}));
    EXPECT_EQ(device.eye, glm::vec3(0, 0, 700));
    EXPECT_EQ(device.lookAt, glm::vec3(0, 0, 0));
    EXPECT_EQ(device.draws[0].world, MatrixScaling(6, 6, 6));
}

TEST_F(Scene, ViewAnglesReachTheDrawAsRadiansFromThousandthsOfADegree) {
    scene.setSource(&files.sourcePages, &files.library, &files.sourceMeshes);
    scene.buildDeviceObjects(device);
    scene.select({PreviewList::SourceMoveables, 1});
    scene.view.viewAngleY = 90'000; // a quarter turn
    scene.view.viewZoom = 0.5f;
    scene.drawFrame(device);
    ASSERT_EQ(device.draws.size(), 1u);
    const glm::vec3 p = transformCoord({2, 0, 0}, device.draws[0].world);
    EXPECT_NEAR(p.x, 0, 1e-5);
    EXPECT_NEAR(p.z, -1, 1e-5);
}

TEST_F(Scene, SelectionResetsTheView) {
    scene.setTarget(&files.target, &files.targetMeshes);
    scene.view.viewAngleY = 5;
    scene.spin.panX = 3;
    scene.select({PreviewList::TargetStatics, 0});
    EXPECT_EQ(scene.view, ViewParameters{});
    EXPECT_EQ(scene.spin.panX, 0);
    EXPECT_NE(scene.selectedObject(), nullptr);
    scene.select({PreviewList::TargetStatics, 4});
    EXPECT_EQ(scene.selectedObject(), nullptr);
}

TEST_F(Scene, TargetWithout32BitTexturesUsesThe16BitPagesAndGivesTheNoticeOnce) {
    device.supports32 = false;
    scene.setTarget(&files.target, &files.targetMeshes);
    EXPECT_TRUE(scene.buildDeviceObjects(device));
    const auto* texture = scene.target()->meshes.at(0)->polygonTextures[0];
    EXPECT_EQ(dynamic_cast<const RecordedTexture&>(*texture).format, TextureFormat::X1R5G5B5);
    // A merge rebuilds 16-bit textures without the notice.
    scene.targetChanged();
    EXPECT_FALSE(scene.buildDeviceObjects(device));
    EXPECT_FALSE(scene.target()->textures->uses32);
    // Opening a target again gives it again.
    scene.setTarget(&files.target, &files.targetMeshes);
    EXPECT_TRUE(scene.buildDeviceObjects(device));
}

TEST_F(Scene, SourceIsTexturedFrom32BitPagesWhateverTheDevice) {
    device.supports32 = false;
    scene.setSource(&files.sourcePages, &files.library, &files.sourceMeshes);
    EXPECT_FALSE(scene.buildDeviceObjects(device));
    EXPECT_TRUE(scene.source()->textures->uses32);
    ASSERT_NE(scene.source()->meshes.at(0), nullptr);
    const auto* texture = scene.source()->meshes.at(0)->polygonTextures[0];
    EXPECT_EQ(dynamic_cast<const RecordedTexture&>(*texture).format, TextureFormat::A8R8G8B8);
}

TEST_F(Scene, OpeningAFileTakesItsObjectOffShowButNotTheOthers) {
    scene.setTarget(&files.target, &files.targetMeshes);
    scene.setSource(&files.sourcePages, &files.library, &files.sourceMeshes);
    scene.select({PreviewList::SourceMoveables, 0});
    scene.setTarget(&files.target, &files.targetMeshes);
    EXPECT_TRUE(scene.selection().has_value());
    scene.setSource(&files.sourcePages, &files.library, &files.sourceMeshes);
    EXPECT_FALSE(scene.selection().has_value());
    scene.select({PreviewList::TargetMoveables, 0});
    scene.setTarget(nullptr, nullptr);
    EXPECT_FALSE(scene.selection().has_value());
}

TEST_F(Scene, TargetGrownByAMergeGetsRenderListsForItsNewObjects) {
    scene.setTarget(&files.target, &files.targetMeshes);
    scene.buildDeviceObjects(device);
    files.target.Moveables.push_back(files.target.Moveables[0]);
    scene.targetChanged();
    scene.buildDeviceObjects(device);
    EXPECT_EQ(scene.target()->moveables.size(), 2u);
    scene.select({PreviewList::TargetMoveables, 1});
    scene.drawFrame(device);
    EXPECT_EQ(device.draws.size(), 1u);
}

TEST_F(Scene, LostDeviceObjectsAreMadeAgainWithoutNotice) {
    device.supports32 = false;
    scene.setTarget(&files.target, &files.targetMeshes);
    scene.buildDeviceObjects(device);
    scene.releaseDeviceObjects();
    EXPECT_EQ(scene.target()->textures, nullptr);
    EXPECT_TRUE(scene.target()->meshes.renderMeshes.empty());
    EXPECT_FALSE(scene.buildDeviceObjects(device));
    EXPECT_NE(scene.target()->meshes.at(0)->vertexBuffer, nullptr);
}

TEST_F(Scene, InvalidFactorTextKeepsTheLastGoodFactor) {
    EXPECT_FLOAT_EQ(scene.spin.factor, 1.2f);
    EXPECT_TRUE(scene.setFactorText("2.5"));
    EXPECT_FALSE(scene.setFactorText("2,5"));
    EXPECT_FLOAT_EQ(scene.spin.factor, 2.5f);
    EXPECT_FALSE(scene.factorValid());
    EXPECT_EQ(scene.factorError(), "'2,5' is not a valid floating point value");
    EXPECT_TRUE(scene.setFactorText("3"));
    EXPECT_TRUE(scene.factorValid());
    EXPECT_EQ(scene.factorError(), "");
}

} // namespace
} // namespace veltrane::preview
