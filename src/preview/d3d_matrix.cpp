#include "preview/d3d_matrix.h"

#include <glm/ext/matrix_clip_space.hpp>
#include <glm/ext/matrix_transform.hpp>
#include <glm/vec4.hpp>

#include <cmath>

namespace veltrane::preview {

glm::mat4 MatrixTranslation(float x, float y, float z) {
    glm::mat4 m(1.0f);
    m[3][0] = x;
    m[3][1] = y;
    m[3][2] = z;
    return m;
}

glm::mat4 MatrixScaling(float sx, float sy, float sz) {
    glm::mat4 m(1.0f);
    m[0][0] = sx;
    m[1][1] = sy;
    m[2][2] = sz;
    return m;
}

glm::mat4 MatrixRotationX(float angle) {
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    glm::mat4 m(1.0f);
    m[1][1] = c;
    m[1][2] = s;
    m[2][1] = -s;
    m[2][2] = c;
    return m;
}

glm::mat4 MatrixRotationY(float angle) {
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    glm::mat4 m(1.0f);
    m[0][0] = c;
    m[0][2] = -s;
    m[2][0] = s;
    m[2][2] = c;
    return m;
}

// glm multiplies column-major matrices for column vectors; with the memory order shared, the
// row-vector product a x b is glm's b * a.
glm::mat4 MatrixMultiply(const glm::mat4& a, const glm::mat4& b) { return b * a; }

glm::mat4 MatrixPerspectiveFovLH(float fieldOfView, float aspect, float zNear, float zFar) {
    return glm::perspectiveLH_NO(fieldOfView, aspect, zNear, zFar);
}

glm::mat4 MatrixLookAtLH(const glm::vec3& eye, const glm::vec3& at, const glm::vec3& up) {
    return glm::lookAtLH(eye, at, up);
}

glm::vec3 transformCoord(const glm::vec3& v, const glm::mat4& m) {
    const glm::vec4 r = m * glm::vec4(v, 1.0f);
    return glm::vec3(r) / r.w;
}

} // namespace veltrane::preview
