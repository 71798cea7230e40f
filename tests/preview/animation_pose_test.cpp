#include "demo/demo_level.h"
#include "demo/demo_library.h"
#include "merge/merge_operation.h"
#include "preview/animation_pose.h"
#include "preview/d3d_matrix.h"
#include "preview/scene.h"

#include <gtest/gtest.h>

namespace veltrane::preview {
namespace {

// Two meshes: the second hangs 100 units along x from the first. Two keyframes four frames apart: the
// root at (0, 0, 0) and then at (40, 0, 0), the second mesh turned 0 and then 90 degrees about y.
struct TwoMeshes {
    std::vector<std::uint32_t> meshTrees = {0, 100, 0, 0};
    level::Tr4Moveable moveable{7, 2, 0, 0, 0, 0};
    level::Tr4Animation animation;
    std::vector<std::uint16_t> frames = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0x4000, 0x8000, //
                                         0, 0, 0, 0, 0, 0, 40, 0, 0, 0x4000, 0x8400};
    TwoMeshes() {
        animation.FrameSize = 11;
        animation.FrameRate = 4;
        animation.FrameEnd = 4;
    }
    // Where file vertex (0, 0, 50) of mesh `mesh` is at `frame`.
    glm::vec3 at(std::uint32_t frame, std::size_t mesh = 1) const {
        const auto pose = poseAt(frames, meshTrees, moveable, animation, frame);
        EXPECT_TRUE(pose.ok()) << pose.error();
        return pose.ok() ? transformCoord({0, 0, 50}, pose.value()[mesh]) : glm::vec3{};
    }
};

void expectNear(glm::vec3 a, glm::vec3 b) {
    EXPECT_NEAR(a.x, b.x, 1e-3f);
    EXPECT_NEAR(a.y, b.y, 1e-3f);
    EXPECT_NEAR(a.z, b.z, 1e-3f);
}

TEST(AnimationPose, AMeshTurnsAtItsLinkAndFramesBetweenKeyframesBlendUntilTheLastIsHeld) {
    TwoMeshes figure;
    expectNear(figure.at(0), {100, 0, 50});
    // Turning (0, 0, 50) by 90 degrees about y gives (50, 0, 0); the link and the root move it to (190, 0, 0).
    expectNear(figure.at(4), {190, 0, 0});
    expectNear(figure.at(2), {145, 0, 25});
    expectNear(figure.at(2, 0), {20, 0, 50});
    expectNear(figure.at(40), {190, 0, 0});

    // In the preview a render vertex is the file vertex times (0.1, -0.1, 0.1), and the pose is centred
    // on the first keyframe's box.
    const auto turned = poseAt(figure.frames, figure.meshTrees, figure.moveable, figure.animation, 4).value();
    expectNear(transformCoord({0, 0, 5}, previewPose(turned)[1]), {19, 0, 0});
    expectNear(transformCoord({0, -2, 0}, previewPose(turned)[1]), {14, -2, 0});
    for (auto keyframe : {0u, 11u}) {
        figure.frames[keyframe + 0] = static_cast<std::uint16_t>(-100); // x from -100 to 300
        figure.frames[keyframe + 1] = 300;
        figure.frames[keyframe + 2] = static_cast<std::uint16_t>(-400); // y from -400 (up) to 0
    }
    const auto centre = animationCentre(figure.frames, figure.animation, 2);
    EXPECT_EQ(centre, glm::vec3(100, -200, 0));
    const auto rest = poseAt(figure.frames, figure.meshTrees, figure.moveable, figure.animation, 0).value();
    expectNear(transformCoord({0, 0, 0}, previewPose(rest, centre)[0]), {-10, -20, 0});
}

TEST(AnimationPose, FrameDataTooShortForTheMeshesIsRefused) {
    TwoMeshes figure;
    figure.animation.FrameSize = 10;
    EXPECT_EQ(poseAt(figure.frames, figure.meshTrees, figure.moveable, figure.animation, 0).error(),
              "frames of 10 words have no room for 2 meshes");
    EXPECT_EQ(animationCentre(figure.frames, figure.animation, 2), glm::vec3(0, 0, 0));
    figure.animation.FrameOffset = 1000;
    EXPECT_EQ(poseAt(figure.frames, figure.meshTrees, figure.moveable, figure.animation, 0).error(),
              "the animation has no frame data");
}

TEST(AnimationPose, AMergedMoveablePlaysInTheTargetExactlyAsInTheSource) {
    auto target = level::makeLevelDocument(demo::demoLevel(demo::DemoScale::Normal));
    const auto source = wad::makeLibraryDocument(demo::demoLibrary(demo::DemoScale::Normal));
    ASSERT_TRUE(merge::mergeObjects(target, source, {{}, {0}}).ok());
    const std::int32_t merged = static_cast<std::int32_t>(target.level.Moveables.size() - 1);

    PreviewScene inSource;
    PreviewScene inTarget;
    inSource.setSource(&source);
    inTarget.setTarget(&target);
    inSource.select({PreviewList::SourceMoveables, 0});
    inTarget.select({PreviewList::TargetMoveables, merged});
    const auto counts = inSource.animationFrameCounts();
    ASSERT_GT(counts.size(), 1u);
    EXPECT_EQ(inTarget.animationFrameCounts(), counts);
    for (std::uint32_t a = 0; a < counts.size(); ++a)
        for (std::uint32_t frame : {0u, 3u, 7u}) {
            ASSERT_TRUE(inSource.showAnimationFrame(a, frame).ok());
            ASSERT_TRUE(inTarget.showAnimationFrame(a, frame).ok());
            EXPECT_EQ(inSource.source()->moveables[0]->pose, inTarget.target()->moveables[merged]->pose)
                << "animation " << a << " frame " << frame;
        }
    EXPECT_EQ(inTarget.showAnimationFrame(static_cast<std::uint32_t>(counts.size()), 0).error(),
              "the moveable has no animation " + std::to_string(counts.size()));
    inTarget.select({PreviewList::TargetStatics, 0});
    EXPECT_TRUE(inTarget.animationFrameCounts().empty());
    EXPECT_FALSE(inTarget.showAnimationFrame(0, 0).ok());
}

} // namespace
} // namespace veltrane::preview
