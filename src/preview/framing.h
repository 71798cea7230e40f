#pragma once

#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>

#include <numbers>
#include <span>

// The preview's camera and how it frames an object: the eye stands on +z looking at the origin, and
// the object on show is moved and scaled so that a sphere around it fits in the panel.
namespace veltrane::preview {

constexpr float kEyeZ = 700.0f;
constexpr float kFieldOfView = std::numbers::pi_v<float> / 4; // vertical, radians
constexpr float kNearPlane = 1.0f;
constexpr float kFarPlane = 3000.0f;

// A sphere that holds an object.
struct Bounds {
    glm::vec3 centre{0.0f};
    float radius = 0;
    bool operator==(const Bounds&) const = default;
};

// The sphere around the points: centred in their box, reaching the farthest of them. None (radius 0
// at the origin) for no points.
Bounds boundsOf(std::span<const glm::vec3> points);

// The panel in pixels, and the strip along its bottom that a line drawn over it covers.
struct Viewport {
    int width = 321;
    int height = 361;
    int covered = 0;
    bool operator==(const Viewport&) const = default;
};

// The perspective of the panel (the field of view spans its height), moved up by half the covered
// strip: the origin then shows in the middle of what the strip leaves.
glm::mat4 projectionOf(const Viewport& viewport);

// The zoom at which a sphere of `radius` around the origin, seen from the eye, fits in what the strip
// leaves of the panel with a tenth to spare. An empty sphere gets `otherwise`.
float fitZoom(float radius, const Viewport& viewport, float otherwise);

// Preview units in the plane of the origin that one of `height` pixels of the panel covers.
float unitsPerPixel(int height);

} // namespace veltrane::preview
