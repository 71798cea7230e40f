#include "builders/objects.h"

#include "builders/mesh_blocks.h"
#include "builders/mesh_builder.h"
#include "level/animation_tables.h"

#include <algorithm>
#include <limits>
#include <stdexcept>
#include <string>

namespace veltrane::builders {
namespace {

// A value for a 16-bit field, refused when it does not fit.
std::uint16_t word(std::size_t value, const char* field) {
    if (value > std::numeric_limits<std::uint16_t>::max())
        throw std::logic_error(std::string(field) + " " + std::to_string(value) + " does not fit in 16 bits");
    return static_cast<std::uint16_t>(value);
}

std::size_t frameSize(const Animation& animation) {
    std::size_t longest = 0;
    for (const auto& keyframe : animation.Keyframes)
        longest = std::max(longest, keyframe.size());
    if (animation.FrameSize == 0)
        return longest;
    if (longest > animation.FrameSize)
        throw std::logic_error("a keyframe of " + std::to_string(longest) + " words is longer than FrameSize " +
                               std::to_string(animation.FrameSize));
    return animation.FrameSize;
}

// Frames an animation plays: FrameRate frames from one keyframe to the next.
std::size_t frameCount(const Animation& animation) {
    if (animation.Keyframes.empty())
        throw std::logic_error("an animation needs at least one keyframe");
    return (animation.Keyframes.size() - 1) * std::max<std::size_t>(animation.FrameRate, 1) + 1;
}

void checkMoveable(const Moveable& moveable) {
    if (moveable.Meshes.empty())
        throw std::logic_error("a moveable needs at least one mesh");
    if (moveable.Tree.size() + 1 != moveable.Meshes.size())
        throw std::logic_error("a moveable of " + std::to_string(moveable.Meshes.size()) + " meshes needs " +
                               std::to_string(moveable.Meshes.size() - 1) + " mesh-tree nodes");
    for (const auto& animation : moveable.Animations) {
        if (animation.NextAnimation >= moveable.Animations.size())
            throw std::logic_error("NextAnimation names no animation of the moveable");
        for (const auto& change : animation.StateChanges)
            for (const auto& dispatch : change.Dispatches)
                if (dispatch.NextAnimation >= moveable.Animations.size())
                    throw std::logic_error("a dispatch names no animation of the moveable");
        for (const auto& command : animation.Commands)
            if (command.Operands.size() != level::commandOperandCount(command.Opcode))
                throw std::logic_error("anim command " + std::to_string(command.Opcode) + " takes " +
                                       std::to_string(level::commandOperandCount(command.Opcode)) + " operands");
    }
}

// Both files hold the same object tables under the same names; only the unit of AnimCommandOffset
// differs (words in a level, bytes in a library).
template <class Model>
std::size_t appendMoveableTo(Model& model, const Moveable& moveable, std::size_t commandOffsetUnit, bool libraryForm) {
    checkMoveable(moveable);

    // Frames are numbered on from the moveable's first animation.
    std::vector<std::size_t> firstFrames;
    std::size_t nextFrame = 0;
    for (const auto& animation : moveable.Animations) {
        firstFrames.push_back(nextFrame);
        nextFrame += frameCount(animation);
    }
    word(nextFrame, "frame number");

    const std::size_t firstAnimation = model.Animations.size();
    std::vector<level::Tr4Animation> animations;
    std::vector<level::Tr4StateChange> stateChanges;
    std::vector<level::Tr4AnimDispatch> dispatches;
    std::vector<std::uint16_t> commands;
    std::vector<std::uint16_t> frames;
    const std::size_t frameBytes = model.Frames.size() * 2;
    for (std::size_t a = 0; a < moveable.Animations.size(); ++a) {
        const Animation& animation = moveable.Animations[a];
        const std::size_t size = frameSize(animation);
        level::Tr4Animation record;
        record.FrameOffset = static_cast<std::uint32_t>(frameBytes + frames.size() * 2);
        record.FrameRate = animation.FrameRate;
        record.FrameSize = static_cast<std::uint8_t>(size);
        record.StateId = animation.StateId;
        record.Speed = static_cast<std::uint32_t>(animation.Speed);
        record.Accel = static_cast<std::uint32_t>(animation.Accel);
        record.LateralSpeed = static_cast<std::uint32_t>(animation.LateralSpeed);
        record.LateralAccel = static_cast<std::uint32_t>(animation.LateralAccel);
        record.FrameStart = static_cast<std::uint16_t>(firstFrames[a]);
        record.FrameEnd = static_cast<std::uint16_t>(firstFrames[a] + frameCount(animation) - 1);
        record.NextAnimation = word(firstAnimation + animation.NextAnimation, "NextAnimation");
        record.NextFrame = word(firstFrames[animation.NextAnimation] + animation.NextFrame, "NextFrame");

        record.StateChangeCount = word(animation.StateChanges.size(), "StateChangeCount");
        record.StateChangeOffset = word(model.StateChanges.size() + stateChanges.size(), "StateChangeOffset");
        for (const auto& change : animation.StateChanges) {
            stateChanges.push_back({change.StateId, word(change.Dispatches.size(), "DispatchCount"),
                                    word(model.AnimDispatches.size() + dispatches.size(), "DispatchOffset")});
            for (const auto& dispatch : change.Dispatches)
                dispatches.push_back(
                    {word(firstFrames[a] + dispatch.Low, "dispatch frame"),
                     word(firstFrames[a] + dispatch.High, "dispatch frame"),
                     word(firstAnimation + dispatch.NextAnimation, "dispatch NextAnimation"),
                     word(firstFrames[dispatch.NextAnimation] + dispatch.NextFrame, "dispatch NextFrame")});
        }

        record.AnimCommandCount = word(animation.Commands.size(), "AnimCommandCount");
        record.AnimCommandOffset =
            word((model.AnimCommands.size() + commands.size()) * commandOffsetUnit, "AnimCommandOffset");
        for (const auto& command : animation.Commands) {
            commands.push_back(command.Opcode);
            for (std::size_t i = 0; i < command.Operands.size(); ++i) {
                // The frame operand of a sound or effect is numbered like every other frame.
                const bool frameOperand = i == 0 && (command.Opcode == 5 || command.Opcode == 6);
                commands.push_back(
                    static_cast<std::uint16_t>(command.Operands[i] + (frameOperand ? firstFrames[a] : 0)));
            }
        }

        for (const auto& keyframe : animation.Keyframes) {
            frames.insert(frames.end(), keyframe.begin(), keyframe.end());
            frames.resize(frames.size() + size - keyframe.size(), 0);
        }
        animations.push_back(record);
    }

    level::Tr4Moveable record;
    record.ObjectId = moveable.ObjectId;
    record.MeshCount = word(moveable.Meshes.size(), "MeshCount");
    record.StartingMesh = word(model.MeshPointers.size(), "StartingMesh");
    record.MeshTree = static_cast<std::uint32_t>(model.MeshTrees.size());
    record.FrameOffset = static_cast<std::uint32_t>(frameBytes);
    record.Animation = moveable.Animations.empty() && libraryForm ? level::kNoAnimation : word(firstAnimation, "Animation");

    for (const auto& mesh : moveable.Meshes)
        appendMesh(model, mesh);
    for (const auto& node : moveable.Tree)
        model.MeshTrees.insert(model.MeshTrees.end(),
                               {node.Flags, static_cast<std::uint32_t>(node.X), static_cast<std::uint32_t>(node.Y),
                                static_cast<std::uint32_t>(node.Z)});
    model.Frames.insert(model.Frames.end(), frames.begin(), frames.end());
    model.Animations.insert(model.Animations.end(), animations.begin(), animations.end());
    model.StateChanges.insert(model.StateChanges.end(), stateChanges.begin(), stateChanges.end());
    model.AnimDispatches.insert(model.AnimDispatches.end(), dispatches.begin(), dispatches.end());
    model.AnimCommands.insert(model.AnimCommands.end(), commands.begin(), commands.end());
    model.Moveables.push_back(record);
    return model.Moveables.size() - 1;
}

template <class Model>
std::size_t appendStaticMeshTo(Model& model, const StaticMesh& mesh) {
    level::Tr4StaticMesh record;
    record.ObjectId = mesh.ObjectId;
    record.Mesh = word(model.MeshPointers.size(), "static Mesh");
    record.Box = mesh.Box;
    record.Flags = mesh.Flags;
    appendMesh(model, mesh.Mesh);
    model.StaticMeshes.push_back(record);
    return model.StaticMeshes.size() - 1;
}

} // namespace

std::vector<MeshTreeNode> meshTree(std::span<const Joint> joints) {
    const auto parentOf = [&](std::size_t mesh) { return joints[mesh - 1].Parent; };
    std::vector<std::size_t> stack;
    std::vector<MeshTreeNode> nodes;
    for (std::size_t mesh = 1; mesh <= joints.size(); ++mesh) {
        const std::size_t parent = parentOf(mesh);
        bool laterChild = false;
        for (std::size_t later = mesh + 1; later <= joints.size(); ++later)
            laterChild = laterChild || parentOf(later) == parent;
        std::uint32_t flags = 0;
        if (parent + 1 == mesh) {
            flags = laterChild ? level::kPushPrevious : level::kFromPrevious;
            if (laterChild)
                stack.push_back(parent);
        } else {
            if (stack.empty() || stack.back() != parent)
                throw std::logic_error("mesh " + std::to_string(mesh) + " hangs from mesh " + std::to_string(parent) +
                                       ", which is neither the mesh before it nor on top of the stack");
            flags = laterChild ? level::kFromTop : level::kFromPopped;
            if (!laterChild)
                stack.pop_back();
        }
        const Joint& joint = joints[mesh - 1];
        nodes.push_back({flags, joint.X, joint.Y, joint.Z});
    }
    return nodes;
}

StaticMesh staticMesh(std::uint32_t objectId, level::MeshRecord mesh) {
    StaticMesh result;
    result.ObjectId = objectId;
    const auto box = boundingBox(mesh);
    std::copy(box.begin(), box.end(), result.Box.begin());
    std::copy(box.begin(), box.end(), result.Box.begin() + 6);
    result.Mesh = std::move(mesh);
    return result;
}

std::size_t appendMoveable(level::Tr4Level& level, const Moveable& moveable) {
    return appendMoveableTo(level, moveable, 1, false);
}

std::size_t appendMoveable(wad::WadLibrary& library, const Moveable& moveable) {
    return appendMoveableTo(library, moveable, wad::kCommandOffsetBytesPerWord, true);
}

std::size_t appendStaticMesh(level::Tr4Level& level, const StaticMesh& mesh) { return appendStaticMeshTo(level, mesh); }

std::size_t appendStaticMesh(wad::WadLibrary& library, const StaticMesh& mesh) {
    return appendStaticMeshTo(library, mesh);
}

} // namespace veltrane::builders
