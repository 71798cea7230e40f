#include "preview/d3d_matrix.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace veltrane::preview {
namespace {

constexpr float kQuarter = std::numbers::pi_v<float> / 2;

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
