#include "merge/merge_operation.h"
#include "merge/source_set.h"
#include "preview/animation_pose.h"
#include "preview/d3d_matrix.h"
#include "level/mesh_block.h"
#include "demo/demo_level.h"
#include "demo/demo_library.h"

#include <gtest/gtest.h>
#include <numeric>

using namespace veltrane;

namespace {

// Two meshes: the second hangs 100 units along x from the first.
struct TwoMeshes {
    std::vector<std::uint32_t> meshTrees = {0, 100, 0, 0};
    level::Tr4Moveable moveable{7, 2, 0, 0, 0, 0};
    level::Tr4Animation animation;
    std::vector<std::uint16_t> frames;

    // Two keyframes: the root at (0, 0, 0); the second mesh turned 0 then 90 degrees about y.
    TwoMeshes() {
        animation.FrameSize = 11;
        animation.FrameRate = 4;
        animation.FrameEnd = 4;
        frames = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0x4000, 0x8000, //
                  0, 0, 0, 0, 0, 0, 0, 0, 0, 0x4000, 0x8400};
    }
};

glm::vec3 place(const glm::mat4& pose, glm::vec3 vertex) { return preview::transformCoord(vertex, pose); }

void expectNear(glm::vec3 a, glm::vec3 b) {
    EXPECT_NEAR(a.x, b.x, 1e-3f);
    EXPECT_NEAR(a.y, b.y, 1e-3f);
    EXPECT_NEAR(a.z, b.z, 1e-3f);
}

} // namespace

TEST(AnimationPose, AMeshTurned90DegreesAboutYHangsAtItsLinkWithItsVertexTurned) {
    const TwoMeshes figure;
    const auto rest = preview::PoseAt(figure.frames, figure.meshTrees, figure.moveable, figure.animation, 0);
    ASSERT_TRUE(rest.ok()) << rest.error();
    // A file vertex (0, 0, 50) of the second mesh: at rest it sits at (100, 0, 50).
    expectNear(place(rest.value()[1], {0, 0, 50}), {100, 0, 50});

    // Frame 4 is the second keyframe: turning (0, 0, 50) by 90 degrees about y gives (50, 0, 0),
    // then the link moves it to (150, 0, 0).
    const auto turned = preview::PoseAt(figure.frames, figure.meshTrees, figure.moveable, figure.animation, 4);
    ASSERT_TRUE(turned.ok());
    expectNear(place(turned.value()[1], {0, 0, 50}), {150, 0, 0});
    expectNear(place(turned.value()[0], {0, 0, 50}), {0, 0, 50});

    // In the preview, a render vertex is the file vertex times (0.1, -0.1, 0.1).
    const auto previewPose = preview::previewPose(turned.value());
    expectNear(place(previewPose[1], {0, 0, 5}), {15, 0, 0});
    expectNear(place(previewPose[1], {0, -2, 0}), {10, -2, 0}); // y stays turned over
}

TEST(AnimationPose, FramesBetweenKeyframesBlendAndTheLastKeyframeIsHeld) {
    const TwoMeshes figure;
    const auto half = preview::PoseAt(figure.frames, figure.meshTrees, figure.moveable, figure.animation, 2);
    ASSERT_TRUE(half.ok());
    expectNear(place(half.value()[1], {0, 0, 50}), {125, 0, 25});
    const auto past = preview::PoseAt(figure.frames, figure.meshTrees, figure.moveable, figure.animation, 40);
    ASSERT_TRUE(past.ok());
    expectNear(place(past.value()[1], {0, 0, 50}), {150, 0, 0});
}

TEST(AnimationPose, FrameDataTooShortForTheMeshesIsRefused) {
    TwoMeshes figure;
    figure.animation.FrameSize = 10;
    const auto pose = preview::PoseAt(figure.frames, figure.meshTrees, figure.moveable, figure.animation, 0);
    ASSERT_FALSE(pose.ok());
    EXPECT_EQ(pose.error(), "frames of 10 words have no room for 2 meshes");
    figure.animation.FrameOffset = 1000;
    EXPECT_FALSE(preview::PoseAt(figure.frames, figure.meshTrees, figure.moveable, figure.animation, 0).ok());
}

TEST(AnimationPose, AMoveableOwnsTheAnimationsUpToTheNextThatHasAny) {
    std::vector<level::Tr4Moveable> moveables(4);
    moveables[0].Animation = 0;
    moveables[1].Animation = 0xFFFF;
    moveables[2].Animation = 5;
    moveables[3].Animation = 9;
    EXPECT_EQ(preview::moveableAnimations(moveables, 0, 12).count, 5u);
    EXPECT_EQ(preview::moveableAnimations(moveables, 1, 12).count, 0u);
    EXPECT_EQ(preview::moveableAnimations(moveables, 3, 12).count, 3u);
    EXPECT_EQ(preview::moveableAnimations(moveables, 3, 8).count, 0u) << "a first animation past the table";
}

TEST(AnimationPose, AMergedMoveablePlaysInTheTargetExactlyAsInTheSource) {
    auto target = demo::demoLevel(demo::DemoScale::Normal);
    auto targetMeshes = level::parseMeshBlock(level::wordBytes(target.MeshWords), level::MeshKind::Level);
    const auto source = merge::openSourceSet(demo::demoLibrary(demo::DemoScale::Normal));
    const auto& library = source.library;
    const std::size_t walker = 0;
    ASSERT_GT(library.Moveables[walker].MeshCount, 5);
    merge::MergeTicks ticks;
    ticks.moveables = {static_cast<std::int32_t>(walker)};
    ASSERT_TRUE(merge::mergeObjects({target, targetMeshes}, source.view(), ticks).ok());

    const auto sourceRange = preview::moveableAnimations(library.Moveables, walker, library.Animations.size());
    const std::size_t merged = target.Moveables.size() - 1;
    const auto targetRange = preview::moveableAnimations(target.Moveables, merged, target.Animations.size());
    ASSERT_GT(sourceRange.count, 1u);
    ASSERT_EQ(targetRange.count, sourceRange.count);
    for (std::uint32_t a = 0; a < sourceRange.count; ++a) {
        const auto& sourceAnimation = library.Animations[sourceRange.first + a];
        const auto& targetAnimation = target.Animations[targetRange.first + a];
        for (std::uint32_t frame : {0u, 3u, 7u}) {
            const auto inSource = preview::PoseAt(library.Frames, library.MeshTrees, library.Moveables[walker],
                                                  sourceAnimation, frame);
            const auto inTarget = preview::PoseAt(target.Frames, target.MeshTrees, target.Moveables[merged],
                                                  targetAnimation, frame);
            ASSERT_TRUE(inSource.ok()) << inSource.error();
            ASSERT_TRUE(inTarget.ok()) << inTarget.error();
            EXPECT_EQ(inSource.value(), inTarget.value()) << "animation " << a << " frame " << frame;
        }
    }
}

TEST(AnimationPose, APosedObjectIsCentredOnItsFirstBoundingBox) {
    TwoMeshes figure;
    // A box from y -400 (up) to 0 (the feet), x -100 to 300.
    for (auto keyframe : {0u, 11u}) {
        figure.frames[keyframe + 0] = static_cast<std::uint16_t>(-100);
        figure.frames[keyframe + 1] = 300;
        figure.frames[keyframe + 2] = static_cast<std::uint16_t>(-400);
    }
    const auto centre = preview::animationCentre(figure.frames, figure.animation, 2);
    EXPECT_EQ(centre, glm::vec3(100, -200, 0));
    const auto pose = preview::PoseAt(figure.frames, figure.meshTrees, figure.moveable, figure.animation, 0);
    ASSERT_TRUE(pose.ok());
    // The root's origin, file (0, 0, 0), lies 100 left and 200 below the box's middle.
    expectNear(place(preview::previewPose(pose.value(), centre)[0], {0, 0, 0}), {-10, -20, 0});
}
