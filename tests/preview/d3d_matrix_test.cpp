#include "preview/d3d_matrix.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace veltrane::preview {
namespace {

constexpr float kQuarter = std::numbers::pi_v<float> / 2;

TEST(D3DMatrix, RowVectorMatricesTurnLeftHandedAndTheLeftFactorActsFirst) {
    // Element (row, column) of a row-vector matrix, as its 16 floats lie in memory.
    const auto element = [](const glm::mat4& m, int row, int column) { return (&m[0][0])[4 * row + column]; };
    EXPECT_EQ(element(MatrixTranslation(1, 2, 3), 3, 1), 2) << "a translation sits in the fourth row";
    EXPECT_FLOAT_EQ(element(MatrixRotationY(0.5f), 0, 2), -std::sin(0.5f));
    EXPECT_FLOAT_EQ(element(MatrixRotationX(0.5f), 1, 2), std::sin(0.5f));
    // A quarter turn about Y takes +x to -z, and about X takes +y to +z.
    EXPECT_NEAR(transformCoord({1, 0, 0}, MatrixRotationY(kQuarter)).z, -1, 1e-6);
    EXPECT_NEAR(transformCoord({0, 1, 0}, MatrixRotationX(kQuarter)).z, 1, 1e-6);
    EXPECT_FLOAT_EQ(transformCoord({1, 0, 0}, MatrixMultiply(MatrixScaling(2, 2, 2), MatrixTranslation(5, 0, 0))).x, 7);
}

TEST(D3DMatrix, TheCameraOnPositiveZShowsPositiveXOnTheLeftAndTheFieldOfViewSpansTheHeight) {
    const glm::mat4 view = MatrixLookAtLH({0, 0, 700}, {0, 0, 0}, {0, 1, 0});
    const glm::mat4 camera = MatrixMultiply(view, MatrixPerspectiveFovLH(kQuarter / 2, 2.0f, 1, 3000));
    // With a field of view of pi/4 the top edge, 700 units away, is tan(pi/8) * 700 above the centre.
    const float top = std::tan(kQuarter / 4) * 700;
    EXPECT_NEAR(transformCoord({0, top, 0}, camera).y, 1, 1e-5);
    EXPECT_NEAR(transformCoord({-2 * top, 0, 0}, camera).x, 1, 1e-5) << "an aspect of 2 and +x on the left";
    // Depth runs from -1 at the near plane to 1 at the far one.
    EXPECT_NEAR(transformCoord({0, 0, 699}, camera).z, -1, 1e-5);
    EXPECT_NEAR(transformCoord({0, 0, -2300}, camera).z, 1, 1e-5);
}

} // namespace
} // namespace veltrane::preview
