#include "preview/animation_pose.h"

#include "level/mesh_tree.h"

#include <algorithm>
#include <glm/gtc/matrix_transform.hpp>

namespace veltrane::preview {
namespace {

glm::mat4 localTransform(const level::MeshVector& offset, const level::MeshRotation& rotation) {
    const auto radians = [](double degrees) { return glm::radians(static_cast<float>(degrees)); };
    glm::mat4 m = glm::translate(glm::mat4(1.0f), glm::vec3(offset.x, offset.y, offset.z));
    m = glm::rotate(m, radians(rotation.y), glm::vec3(0, 1, 0));
    m = glm::rotate(m, radians(rotation.x), glm::vec3(1, 0, 0));
    return glm::rotate(m, radians(rotation.z), glm::vec3(0, 0, 1));
}

std::vector<glm::mat4> keyframePose(const level::Keyframe& keyframe, const std::vector<level::MeshLink>& links) {
    std::vector<glm::mat4> pose(links.size());
    for (std::size_t k = 0; k < links.size(); ++k) {
        const glm::mat4 parent =
            k == 0 ? glm::mat4(1.0f) : pose[static_cast<std::size_t>(links[k].parent)];
        pose[k] = parent * localTransform(k == 0 ? keyframe.offset : links[k].offset, keyframe.rotations[k]);
    }
    return pose;
}

} // namespace

io::Outcome<std::vector<glm::mat4>> poseAt(std::span<const std::uint16_t> frames,
                                           const std::vector<std::uint32_t>& meshTrees,
                                           const level::Tr4Moveable& moveable, const level::Tr4Animation& animation,
                                           std::uint32_t frame) {
    using Result = io::Outcome<std::vector<glm::mat4>>;
    const level::AnimationLength length = level::animationLength(animation, frames.size());
    if (length.keyframes == 0)
        return Result::failure("the animation has no frame data");
    const std::uint32_t rate = std::max<std::uint32_t>(animation.FrameRate, 1);
    const std::uint32_t k = std::min(frame / rate, length.keyframes - 1);
    const auto links = level::meshTreeLinks(meshTrees, moveable);

    const auto first = level::decodeKeyframe(frames, animation, k, links.size());
    if (!first)
        return Result::failure(first.error());
    auto pose = keyframePose(first.value(), links);
    const float blend = static_cast<float>(frame % rate) / static_cast<float>(rate);
    if (blend == 0.0f || k + 1 >= length.keyframes)
        return pose;
    const auto second = level::decodeKeyframe(frames, animation, k + 1, links.size());
    if (!second)
        return Result::failure(second.error());
    const auto next = keyframePose(second.value(), links);
    for (std::size_t mesh = 0; mesh < pose.size(); ++mesh)
        pose[mesh] = pose[mesh] * (1.0f - blend) + next[mesh] * blend;
    return pose;
}

glm::vec3 animationCentre(std::span<const std::uint16_t> frames, const level::Tr4Animation& animation,
                          std::size_t meshCount) {
    const auto first = level::decodeKeyframe(frames, animation, 0, meshCount);
    if (!first)
        return {};
    const auto& box = first->boundingBox;
    return {(box[0] + box[1]) / 2.0f, (box[2] + box[3]) / 2.0f, (box[4] + box[5]) / 2.0f};
}

std::vector<glm::mat4> previewPose(const std::vector<glm::mat4>& filePose, glm::vec3 centre) {
    const glm::mat4 toPreview =
        glm::translate(glm::scale(glm::mat4(1.0f), glm::vec3(0.1f, -0.1f, 0.1f)), -centre);
    const glm::mat4 toFile = glm::scale(glm::mat4(1.0f), glm::vec3(10.0f, -10.0f, 10.0f));
    std::vector<glm::mat4> pose;
    pose.reserve(filePose.size());
    for (const glm::mat4& m : filePose)
        // A column-vector matrix stored by glm has the same floats as its row-vector counterpart.
        pose.push_back(toPreview * m * toFile);
    return pose;
}

} // namespace veltrane::preview
