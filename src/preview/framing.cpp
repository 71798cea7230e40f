#include "preview/framing.h"

#include "preview/d3d_matrix.h"

#include <glm/common.hpp>
#include <glm/geometric.hpp>

#include <algorithm>
#include <cmath>

namespace veltrane::preview {
namespace {

// Room left around the sphere, so that its outline does not touch the panel's edges.
constexpr float kFitMargin = 0.9f;

} // namespace

Bounds boundsOf(std::span<const glm::vec3> points) {
    if (points.empty())
        return {};
    glm::vec3 low = points.front(), high = points.front();
    for (const glm::vec3& p : points) {
        low = glm::min(low, p);
        high = glm::max(high, p);
    }
    Bounds bounds{(low + high) * 0.5f, 0.0f};
    for (const glm::vec3& p : points)
        bounds.radius = std::max(bounds.radius, glm::distance(p, bounds.centre));
    return bounds;
}

glm::mat4 projectionOf(const Viewport& viewport) {
    const float aspect = static_cast<float>(viewport.width) / static_cast<float>(viewport.height);
    const glm::mat4 perspective = MatrixPerspectiveFovLH(kFieldOfView, aspect, kNearPlane, kFarPlane);
    if (viewport.covered == 0)
        return perspective;
    // Up by half the strip: covered / 2 of the height / 2 pixels that clip space spans from 0 to 1.
    const float up = static_cast<float>(viewport.covered) / static_cast<float>(viewport.height);
    return MatrixMultiply(perspective, MatrixTranslation(0, up, 0));
}

float fitZoom(float radius, const Viewport& viewport, float otherwise) {
    const int free = viewport.height - viewport.covered;
    if (!(radius > 0) || viewport.width <= 0 || free <= 0)
        return otherwise;
    // A sphere at the eye's distance fits a cone of half-angle a when its radius is at most
    // distance x sin(a); the cone takes the narrower side of what the strip leaves.
    const float halfSide = std::tan(kFieldOfView / 2) * static_cast<float>(std::min(viewport.width, free)) /
                           static_cast<float>(viewport.height);
    return kFitMargin * kEyeZ * std::sin(std::atan(halfSide)) / radius;
}

float unitsPerPixel(int height) {
    return 2 * kEyeZ * std::tan(kFieldOfView / 2) / static_cast<float>(std::max(height, 1));
}

} // namespace veltrane::preview
