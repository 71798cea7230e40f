#pragma once

#include "io/outcome.h"
#include "level/frame_format.h"
#include "level/records.h"

#include <cstdint>
#include <glm/mat4x4.hpp>
#include <span>
#include <vector>

namespace veltrane::preview {

// Where every mesh of a moveable is at frame `frame` of an animation (0 = its first frame): matrices
// in file units and axes that take a vertex v of mesh k to pose[k] * v. The root mesh sits at the
// keyframe's offset; every other mesh at its parent's pose times its mesh-tree offset. Each mesh is
// turned as the game turns it: the matrix turns about Y, then X, then Z. Between two keyframes the
// matrices are blended, as the game does; past the last keyframe the last one is held.
io::Outcome<std::vector<glm::mat4>> poseAt(std::span<const std::uint16_t> frames,
                                           const std::vector<std::uint32_t>& meshTrees,
                                           const level::Tr4Moveable& moveable, const level::Tr4Animation& animation,
                                           std::uint32_t frame);

// The middle of the bounding box of the animation's first keyframe, in file units (the origin when
// that keyframe cannot be read).
glm::vec3 animationCentre(std::span<const std::uint16_t> frames, const level::Tr4Animation& animation,
                          std::size_t meshCount);

// The same pose for the preview: row-vector matrices in preview units (x 0.1, y -0.1, z 0.1) that take
// a render vertex of mesh k to its posed place, moved so that `centre` (file units) lies at the origin
// the camera looks at. Centred on its animation's first box, a figure that the root offset lifts
// onto its feet stays in view as the rest view does.
std::vector<glm::mat4> previewPose(const std::vector<glm::mat4>& filePose, glm::vec3 centre = {});

} // namespace veltrane::preview
