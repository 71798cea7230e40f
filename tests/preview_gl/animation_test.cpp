#include "gl_fixtures.h"

#include "app/gl/animation_controls.h"
#include "app/gl/preview_widget.h"

#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace veltrane::app {
namespace {

using namespace preview::testing;

constexpr Rgb kGreen{0, 200, 0};

// A moveable of two meshes: a root with no faces, and 100 file units along x from it a square that
// stands edge-on to the camera (in the plane x = 0, z from 0 to 100), faced both ways. Its one
// animation turns the second mesh 90 degrees about y in every keyframe.
level::LevelDocument turningFigure(std::uint8_t frameSize = 0) {
    level::Tr4Level target;
    builders::appendLevelPage(target, halves(kGreen, kGreen));
    target.ObjectTextures = {wholePage(0)};
    builders::Moveable figure;
    figure.Meshes = {builders::MeshBuilder().vertex(0, 0, 0).build(),
                     builders::MeshBuilder()
                         .vertex(0, -50, 0).vertex(0, -50, 100).vertex(0, 50, 100).vertex(0, 50, 0)
                         .quad({0, 1, 2, 3}, 0).quad({3, 2, 1, 0}, 0)
                         .build()};
    figure.Tree = {{level::kFromPrevious, 100, 0, 0}};
    builders::Animation turn;
    turn.FrameRate = 2;
    const std::vector<std::uint16_t> keyframe = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0x4000, 0x8400};
    turn.Keyframes = {keyframe, keyframe, keyframe};
    figure.Animations = {turn};
    builders::appendMoveable(target, figure);
    if (frameSize != 0)
        target.Animations[0].FrameSize = frameSize;
    return level::makeLevelDocument(std::move(target));
}

// Gives the texels of the left half of the first page alpha 0 (and colour 0) in the 32-bit form.
void makeLeftHalfTransparent(level::Tr4Level& target) {
    for (std::size_t texel = 0; texel < 256 * 256; ++texel)
        if (texel % 256 < 128)
            std::fill_n(target.Pages32.begin() + static_cast<std::ptrdiff_t>(texel * 4), 4, 0);
}

struct Animation : ::testing::Test {
    Animation() { application(); }
    void show(const level::LevelDocument& target) {
        widget = std::make_unique<PreviewWidget>(PreviewWidget::Options{.fixedCamera = true});
        controls = std::make_unique<AnimationControls>(*widget, nullptr);
        widget->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(widget.get()));
        widget->setTarget(&target);
        widget->select({preview::PreviewList::TargetMoveables, 0});
    }
    std::unique_ptr<PreviewWidget> widget;
    std::unique_ptr<AnimationControls> controls;
};

TEST_F(Animation, AMeshTurned90DegreesAboutYShowsWhereTheHandCalculationPutsIt) {
    const auto figure = turningFigure();
    show(figure);
    ASSERT_EQ(controls->selector->count(), 2);
    EXPECT_EQ(controls->selector->itemText(0), "Rest");
    EXPECT_EQ(controls->selector->itemText(1), "Anim 0 (5 frames)");
    // Turning (0, y, z) by 90 degrees about y gives (z, y, 0): the square now faces the camera and covers
    // file x 100 to 200. Its middle, x 150, at zoom 6 and 700 units from the eye, lies left of the centre.
    const double unitsToPixels = 361 / (2 * 700 * std::tan(std::numbers::pi / 8));
    const QPoint posed(static_cast<int>(std::lround(160 - 15 * 6 * unitsToPixels)), 180);
    const QPoint mirrored(static_cast<int>(std::lround(160 + 15 * 6 * unitsToPixels)), 180);
    EXPECT_TRUE(near(widget->grabFramebuffer().pixelColor(posed), kMagenta, 0)) << "at rest the square is edge-on";
    controls->selector->activated(1);
    const QImage image = widget->grabFramebuffer();
    EXPECT_TRUE(near(image.pixelColor(posed), kGreen)) << describe(image.pixelColor(posed));
    EXPECT_TRUE(near(image.pixelColor(mirrored), kMagenta, 0)) << describe(image.pixelColor(mirrored));
    const int edge = static_cast<int>(5 * 6 * unitsToPixels); // 50 file units either side of the middle
    EXPECT_TRUE(near(image.pixelColor(posed + QPoint(edge - 3, 0)), kGreen));
    EXPECT_TRUE(near(image.pixelColor(posed + QPoint(edge + 3, 0)), kMagenta, 0));
    widget->select({preview::PreviewList::TargetMoveables, 0});
    EXPECT_EQ(controls->selector->currentIndex(), 0) << "another selection goes back to Rest";
    EXPECT_TRUE(near(widget->grabFramebuffer().pixelColor(posed), kMagenta, 0));

    const auto broken = turningFigure(10); // no room for two rotations after the nine header words
    show(broken);
    controls->selector->activated(1);
    EXPECT_EQ(controls->selector->currentIndex(), 0);
    EXPECT_EQ(controls->note(), "Anim 0: frames of 10 words have no room for 2 meshes");
}

TEST_F(Animation, SeeThroughTexelsShowTheClearColourAndBlendedFacesAdd) {
    // The left half of the page is transparent (alpha 0); the right half is opaque green.
    TargetFiles files({screenSquare().quad({0, 1, 2, 3}, 0).build()}, kGreen, kGreen);
    makeLeftHalfTransparent(files.level);
    files.level.ObjectTextures[0].Attribute = builders::kSeeThrough;
    show(files);
    const QPoint left(160 - 30, 180), right(160 + 30, 180);
    QImage image = widget->grabFramebuffer();
    EXPECT_TRUE(near(image.pixelColor(left), kMagenta, 0)) << describe(image.pixelColor(left));
    EXPECT_TRUE(near(image.pixelColor(right), kGreen)) << describe(image.pixelColor(right));
    controls->transparency->setChecked(false);
    EXPECT_TRUE(near(widget->grabFramebuffer().pixelColor(left), {0, 0, 0})) << "the flat picture";
    controls->transparency->setChecked(true);
    files.level.ObjectTextures[0].Attribute = builders::kBlended;
    widget->targetChanged();
    widget->select({preview::PreviewList::TargetMoveables, 0});
    image = widget->grabFramebuffer();
    EXPECT_TRUE(near(image.pixelColor(right), {255, 200, 255})) << "green added to magenta: " << describe(image.pixelColor(right));
}

TEST_F(Animation, AnOpaqueFaceShowsThroughTheHolesOfASeeThroughFaceInFrontOfItInTheSameMesh) {
    // The front square's texture is see-through with a transparent left half; the square 100 units
    // behind it takes only the page's green right half, drawn as an opaque face.
    TargetFiles files({screenSquare()
                           .vertex(200, -200, -100).vertex(-200, -200, -100).vertex(-200, 200, -100).vertex(200, 200, -100)
                           .quad({0, 1, 2, 3}, 0).quad({4, 5, 6, 7}, 1)
                           .build()},
                      kGreen, kGreen);
    makeLeftHalfTransparent(files.level);
    files.level.ObjectTextures[0].Attribute = builders::kSeeThrough;
    files.level.ObjectTextures.push_back(builders::quadTexture(0, 128, 0, 128, 256));
    show(files);
    const QColor seen = widget->grabFramebuffer().pixelColor(160 - 20, 180);
    EXPECT_TRUE(near(seen, kGreen)) << "the face behind: " << describe(seen);
}

} // namespace
} // namespace veltrane::app
