#include "preview/spin.h"

#include <gtest/gtest.h>

#include <numbers>

namespace veltrane::preview {
namespace {

constexpr MouseState kRight{true, false, false};
constexpr MouseState kRightCtrl{true, true, false};
constexpr MouseState kRightShift{true, false, true};

struct Spin : ::testing::Test {
    Spin() { resetView(spin, view); }
    MouseD3D spin{1.2f, 6.0f};
    ViewParameters view;
};

TEST_F(Spin, FirstMoveOnlyStartsTheDragThenThreePixelsRightAdd3600) {
    Panel1MouseMove(spin, view, kRight, 50, 40);
    EXPECT_EQ(view.viewAngleY, 0);
    EXPECT_TRUE(spin.angleYTracking);
    Panel1MouseMove(spin, view, kRight, 53, 40);
    EXPECT_FLOAT_EQ(view.viewAngleY, 3600);
    EXPECT_EQ(view.viewAngleX, 0);
}

TEST_F(Spin, MovingDownLowersTheAngleAboutX) {
    Panel1MouseMove(spin, view, kRight, 0, 0);
    Panel1MouseMove(spin, view, kRight, 0, 2);
    EXPECT_FLOAT_EQ(view.viewAngleX, -2400);
    Panel1MouseMove(spin, view, kRight, 0, 1);
    EXPECT_FLOAT_EQ(view.viewAngleX, -1200);
}

TEST_F(Spin, AnglesAreThousandthsOfADegreeSoAPixelAtTheDefaultFactorIs1Point2Degrees) {
    Panel1MouseMove(spin, view, kRight, 0, 0);
    Panel1MouseMove(spin, view, kRight, 1, 0);
    EXPECT_NEAR(angleRadians(view.viewAngleY), 1.2 * std::numbers::pi / 180, 1e-7);
}

TEST_F(Spin, TurnScalesLinearlyWithTheFactorAndKeepsItsSign) {
    spin.SetFactor(-0.5f);
    Panel1MouseMove(spin, view, kRight, 10, 0);
    Panel1MouseMove(spin, view, kRight, 14, 0);
    EXPECT_FLOAT_EQ(view.viewAngleY, -2000);
    EXPECT_NEAR(angleRadians(view.viewAngleY), -2.0 * std::numbers::pi / 180, 1e-7);
}

TEST_F(Spin, CtrlZoomsOutMovingDownAndNeverBelowTheMinimum) {
    spin.SetFactor(1.0f);
    Panel1MouseMove(spin, view, kRightCtrl, 0, 10);
    Panel1MouseMove(spin, view, kRightCtrl, 0, 12);
    EXPECT_FLOAT_EQ(view.viewZoom, 4.0f);
    Panel1MouseMove(spin, view, kRightCtrl, 0, 9);
    EXPECT_FLOAT_EQ(view.viewZoom, 7.0f);
    Panel1MouseMove(spin, view, kRightCtrl, 0, 500);
    EXPECT_FLOAT_EQ(view.viewZoom, 0.001f);
}

TEST_F(Spin, ZoomIsKeptAsAFloat) {
    spin.SetFactor(0.25f);
    Panel1MouseMove(spin, view, kRightCtrl, 0, 0);
    Panel1MouseMove(spin, view, kRightCtrl, 0, 1);
    EXPECT_FLOAT_EQ(view.viewZoom, 5.75f);
}

TEST_F(Spin, ShiftPansTwentyUnitsAPixelTimesTheFactor) {
    spin.SetFactor(1.0f);
    Panel1MouseMove(spin, view, kRightShift, 20, 20);
    Panel1MouseMove(spin, view, kRightShift, 15, 23);
    EXPECT_FLOAT_EQ(view.viewPanX, 100.0f);
    EXPECT_FLOAT_EQ(view.viewPanY, -60.0f);
    EXPECT_EQ(view.viewAngleY, 0);
}

TEST_F(Spin, CtrlWinsOverShift) {
    Panel1MouseMove(spin, view, {true, true, true}, 0, 0);
    Panel1MouseMove(spin, view, {true, true, true}, 5, 1);
    EXPECT_FLOAT_EQ(view.viewZoom, 4.8f);
    EXPECT_EQ(view.viewPanX, 0);
    EXPECT_EQ(view.viewAngleY, 0);
}

TEST_F(Spin, AfterCtrlIsReleasedTheTurnCoversTheWholeDistanceSinceTheLastPlainMove) {
    Panel1MouseMove(spin, view, kRight, 0, 0);
    Panel1MouseMove(spin, view, kRightCtrl, 10, 0);
    Panel1MouseMove(spin, view, kRightCtrl, 20, 0);
    Panel1MouseMove(spin, view, kRight, 30, 0);
    EXPECT_FLOAT_EQ(view.viewAngleY, 36000);
}

TEST_F(Spin, OnlyTheRightButtonDrags) {
    Panel1MouseMove(spin, view, {false, false, false}, 0, 0);
    Panel1MouseMove(spin, view, {false, false, false}, 9, 9);
    EXPECT_EQ(view, ViewParameters{});
    EXPECT_FALSE(spin.angleYTracking);
}

TEST_F(Spin, ReleaseEndsTheDragSoTheNextMoveStartsAfresh) {
    Panel1MouseMove(spin, view, kRight, 0, 0);
    Panel1MouseMove(spin, view, kRight, 1, 0);
    Panel1MouseUp(spin);
    Panel1MouseMove(spin, view, kRight, 50, 0);
    EXPECT_FLOAT_EQ(view.viewAngleY, 1200);
}

TEST_F(Spin, ResetPutsAnglesAndPansToZeroAndTheZoomToSix) {
    Panel1MouseMove(spin, view, kRight, 0, 0);
    Panel1MouseMove(spin, view, kRight, 4, 4);
    Panel1MouseMove(spin, view, kRightShift, 4, 4);
    Panel1MouseMove(spin, view, kRightShift, 9, 9);
    Panel1MouseMove(spin, view, kRightCtrl, 0, 0);
    Panel1MouseMove(spin, view, kRightCtrl, 0, 2);
    resetView(spin, view);
    EXPECT_EQ(view, ViewParameters{});
    EXPECT_EQ(view.viewZoom, 6.0f);
    EXPECT_EQ(spin.angleY, 0);
    EXPECT_EQ(spin.panX, 0);
    EXPECT_EQ(spin.zoom, 6.0f);
    EXPECT_FALSE(spin.zoomTracking);
}

TEST_F(Spin, WheelZoomsByTheFactorPerNotch) {
    Panel1MouseWheel(spin, view, 1);
    EXPECT_FLOAT_EQ(view.viewZoom, 7.2f);
    Panel1MouseWheel(spin, view, -100);
    EXPECT_FLOAT_EQ(view.viewZoom, 0.001f);
    // A Ctrl drag goes on from the wheel's zoom.
    Panel1MouseMove(spin, view, kRightCtrl, 0, 5);
    Panel1MouseMove(spin, view, kRightCtrl, 0, 4);
    EXPECT_FLOAT_EQ(view.viewZoom, 1.201f);
}

TEST(SpinFactorText, NumbersParseWithAPointAndBlanksAround) {
    EXPECT_FLOAT_EQ(*parseFactor("1.2"), 1.2f);
    EXPECT_FLOAT_EQ(*parseFactor(" -0.5 "), -0.5f);
    EXPECT_FLOAT_EQ(*parseFactor("+3"), 3.0f);
    EXPECT_FLOAT_EQ(*parseFactor("2e1"), 20.0f);
    EXPECT_FLOAT_EQ(*parseFactor(".5"), 0.5f);
}

TEST(SpinFactorText, OtherTextIsNotANumber) {
    for (const char* text : {"", "  ", "1,2", "abc", "1.2x", "--1", "+-1", "inf", "nan", "1e99"})
        EXPECT_FALSE(parseFactor(text).has_value()) << text;
    EXPECT_EQ(invalidFloatMessage("1,2"), "'1,2' is not a valid floating point value");
}

} // namespace
} // namespace veltrane::preview
