#include "preview/d3d_matrix.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace veltrane::preview {
namespace {

// Element (row, column) of a row-vector matrix, as its 16 floats lie in memory.
float element(const glm::mat4& m, int row, int column) { return (&m[0][0])[4 * row + column]; }

TEST(D3DMatrix, TranslationSitsInTheFourthRow) {
    const glm::mat4 m = MatrixTranslation(1, 2, 3);
    EXPECT_EQ(element(m, 3, 0), 1);
    EXPECT_EQ(element(m, 3, 1), 2);
    EXPECT_EQ(element(m, 3, 2), 3);
    EXPECT_EQ(element(m, 0, 3), 0);
}

TEST(D3DMatrix, RotationsHaveTheLeftHandedRowVectorLayout) {
    const float a = 0.5f;
    const glm::mat4 y = MatrixRotationY(a);
    EXPECT_FLOAT_EQ(element(y, 0, 0), std::cos(a));
    EXPECT_FLOAT_EQ(element(y, 0, 2), -std::sin(a));
    EXPECT_FLOAT_EQ(element(y, 2, 0), std::sin(a));
    const glm::mat4 x = MatrixRotationX(a);
    EXPECT_FLOAT_EQ(element(x, 1, 2), std::sin(a));
    EXPECT_FLOAT_EQ(element(x, 2, 1), -std::sin(a));
    // A quarter turn about Y takes +x to -z, and about X takes +y to +z.
    const glm::vec3 p = transformCoord({1, 0, 0}, MatrixRotationY(std::numbers::pi_v<float> / 2));
    EXPECT_NEAR(p.z, -1, 1e-6);
    const glm::vec3 q = transformCoord({0, 1, 0}, MatrixRotationX(std::numbers::pi_v<float> / 2));
    EXPECT_NEAR(q.z, 1, 1e-6);
}

TEST(D3DMatrix, ProductAppliesTheLeftMatrixFirst) {
    const glm::mat4 m = MatrixMultiply(MatrixScaling(2, 2, 2), MatrixTranslation(5, 0, 0));
    EXPECT_FLOAT_EQ(transformCoord({1, 0, 0}, m).x, 7);
}

TEST(D3DMatrix, CameraOnPositiveZShowsPositiveXOnTheLeft) {
    const glm::mat4 view = MatrixLookAtLH({0, 0, 700}, {0, 0, 0}, {0, 1, 0});
    const glm::mat4 projection = MatrixPerspectiveFovLH(std::numbers::pi_v<float> / 4, 1.0f, 1.0f, 3000.0f);
    const glm::mat4 viewProjection = MatrixMultiply(view, projection);
    const glm::vec3 right = transformCoord({100, 0, 0}, viewProjection);
    EXPECT_LT(right.x, 0);
    const glm::vec3 up = transformCoord({0, 100, 0}, viewProjection);
    EXPECT_GT(up.y, 0);
    // The origin, 700 units away, lies between the planes; depth runs from -1 (near) to 1 (far).
    const float depth = transformCoord({0, 0, 0}, viewProjection).z;
    EXPECT_GT(depth, -1);
    EXPECT_LT(depth, 1);
    EXPECT_NEAR(transformCoord({0, 0, 699}, viewProjection).z, -1, 1e-5);
}

TEST(D3DMatrix, FieldOfViewSpansTheScreenHeight) {
    // With a field of view of pi/4 the top edge, 700 units away, is tan(pi/8) * 700 above the centre.
    const glm::mat4 view = MatrixLookAtLH({0, 0, 700}, {0, 0, 0}, {0, 1, 0});
    const glm::mat4 viewProjection =
        MatrixMultiply(view, MatrixPerspectiveFovLH(std::numbers::pi_v<float> / 4, 2.0f, 1, 3000));
    const float top = std::tan(std::numbers::pi_v<float> / 8) * 700;
    EXPECT_NEAR(transformCoord({0, top, 0}, viewProjection).y, 1, 1e-5);
    EXPECT_NEAR(transformCoord({-2 * top, 0, 0}, viewProjection).x, 1, 1e-5);
}

} // namespace
} // namespace veltrane::preview
