#pragma once

#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>

// Matrices as the preview composes them: row vectors, a vertex v transformed as v x M, and a
// left-handed world. A glm::mat4 holds such a matrix with the same 16 floats in the same memory
// order (element [r][c] of the row-vector matrix is glm's m[r][c]), so it can go to OpenGL as it is.
namespace veltrane::preview {

glm::mat4 MatrixTranslation(float x, float y, float z);
glm::mat4 MatrixScaling(float sx, float sy, float sz);
// Turns about the axis by `angle` radians, clockwise when looking from the positive axis to the origin.
glm::mat4 MatrixRotationX(float angle);
glm::mat4 MatrixRotationY(float angle);
// a x b: a vertex is transformed by a first, then by b.
glm::mat4 MatrixMultiply(const glm::mat4& a, const glm::mat4& b);
// Left-handed perspective: x and y as the row-vector convention gives them, depth mapped to
// OpenGL's -1 (near) to 1 (far).
glm::mat4 MatrixPerspectiveFovLH(float fieldOfView, float aspect, float zNear, float zFar);
glm::mat4 MatrixLookAtLH(const glm::vec3& eye, const glm::vec3& at, const glm::vec3& up);
// The point v x m (with w = 1), divided by the resulting w.
glm::vec3 transformCoord(const glm::vec3& v, const glm::mat4& m);

} // namespace veltrane::preview
