#include "demo/filler.h"

#include "level/frame_format.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>

namespace veltrane::demo {
namespace {

using Rotation = level::MeshRotation;

std::int16_t units(int value) { return static_cast<std::int16_t>(value); }

level::MeshRecord solid(level::MeshKind kind, const builders::Skin& skin, Random& random, bool shaded) {
    builders::ShapeBuilder shape(kind, skin, shaded);
    const int pieces = random.between(1, 3);
    int top = 0;
    for (int piece = 0; piece < pieces; ++piece) {
        const int height = random.between(60, 400);
        const int width = random.between(30, 240);
        switch (random.between(0, 2)) {
        case 0:
            shape.block({units(-width), units(top - height), units(-width / 2)},
                        {units(width), units(top), units(width / 2)});
            break;
        case 1: shape.prism(random.between(5, 12), units(width), units(top - height), units(top), true); break;
        default: shape.pyramid(units(width), units(top), units(top - height)); break;
        }
        top -= height;
    }
    return shape.build();
}

// Chains of limbs from the body: each chain starts at the body, and now and then a chain forks at
// its first limb.
std::vector<builders::Joint> limbJoints(std::size_t meshes, Random& random) {
    std::vector<builders::Joint> joints;
    std::size_t chainStart = 0;
    for (std::size_t mesh = 1; mesh < meshes; ++mesh) {
        const bool newChain = mesh == 1 || random.between(0, 3) == 0;
        const bool fork = !newChain && mesh > chainStart + 1 && random.between(0, 5) == 0;
        std::size_t parent = mesh - 1;
        if (newChain) {
            parent = 0;
            chainStart = mesh;
        } else if (fork) {
            parent = chainStart;
        }
        joints.push_back({parent, random.between(-300, 300), random.between(-400, 100), random.between(-300, 300)});
    }
    // Meshes listed depth first: a fork hangs from its chain's first limb, which is then an ancestor
    // of the mesh before it.
    return joints;
}

// How each mesh turns: a few about one axis (one word), the rest about all three (two words).
std::vector<Rotation::Axes> turningAxes(std::size_t meshes, Random& random) {
    std::vector<Rotation::Axes> axes;
    for (std::size_t mesh = 0; mesh < meshes; ++mesh)
        axes.push_back(mesh == 0 ? Rotation::Axes::All : static_cast<Rotation::Axes>(random.between(0, 3)));
    return axes;
}

Rotation swing(Rotation::Axes axes, double amplitude, double phase) {
    const double angle = amplitude * std::sin(phase);
    switch (axes) {
    case Rotation::Axes::X: return Rotation::aboutX(angle);
    case Rotation::Axes::Y: return Rotation::aboutY(angle);
    case Rotation::Axes::Z: return Rotation::aboutZ(angle);
    case Rotation::Axes::All: break;
    }
    return Rotation::all(angle, angle / 2, -angle / 3);
}

builders::AnimCommand randomCommand(std::uint16_t frames, Random& random) {
    const auto frame = static_cast<std::int16_t>(random.between(0, frames - 1));
    switch (random.between(1, 6)) {
    case 1:
        return builders::AnimCommand::setPosition(units(random.between(-512, 512)), 0,
                                                  units(random.between(-512, 512)));
    case 2: return builders::AnimCommand::jumpVelocity(units(random.between(-80, -10)), units(random.between(0, 40)));
    case 3: return builders::AnimCommand::emptyHands();
    case 4: return builders::AnimCommand::kill();
    case 5: return builders::AnimCommand::playSound(frame, units(random.between(0, 4)));
    default: return builders::AnimCommand::flipEffect(frame, units(random.between(0, 40)));
    }
}

struct FillerShape {
    std::size_t Meshes = 1;
    std::size_t Animations = 0;
    std::size_t FrameWords = 0; // about how many frame words its animations should take
};

// A moveable of `shape.Meshes` limbs in chains hanging from a body (some chains forking), with
// looping animations that change into each other and carry commands.
builders::Moveable fillerMoveable(level::MeshKind kind, std::uint32_t objectId, const FillerShape& shape,
                                  const builders::Skin& skin, Random& random) {
    builders::Moveable moveable;
    moveable.ObjectId = objectId;
    for (std::size_t mesh = 0; mesh < shape.Meshes; ++mesh)
        moveable.Meshes.push_back(solid(kind, skin, random, false));
    moveable.Tree = builders::meshTree(limbJoints(shape.Meshes, random));
    if (shape.Animations == 0)
        return moveable;

    const auto axes = turningAxes(shape.Meshes, random);
    std::size_t frameSize = 9;
    for (auto axis : axes)
        frameSize += axis == Rotation::Axes::All ? 2 : 1;
    const std::size_t keyframes = std::max<std::size_t>(
        2, static_cast<std::size_t>(std::lround(double(shape.FrameWords) / double(shape.Animations * frameSize))));
    const auto box = builders::boundingBox(moveable.Meshes[0]);

    for (std::size_t a = 0; a < shape.Animations; ++a) {
        builders::Animation animation;
        animation.StateId = static_cast<std::uint16_t>(a);
        animation.FrameRate = static_cast<std::uint8_t>(random.between(1, 3));
        const double amplitude = random.between(5, 45);
        const double rate = random.between(1, 2);
        for (std::size_t k = 0; k < keyframes; ++k) {
            const double phase = 2 * std::numbers::pi * rate * double(k) / double(keyframes - 1);
            level::Keyframe frame;
            frame.boundingBox = box;
            frame.offset = {0, units(-std::lround(20 * std::sin(phase))), 0};
            for (std::size_t mesh = 0; mesh < shape.Meshes; ++mesh)
                frame.rotations.push_back(swing(axes[mesh], amplitude, phase + double(mesh) * 0.5));
            animation.Keyframes.push_back(level::encodeKeyframe(frame));
        }
        animation.Speed = random.between(0, 30) << 16;
        animation.NextAnimation = static_cast<std::uint16_t>(random.between(0, 3) == 0 ? 0 : a);
        const auto frames = static_cast<std::uint16_t>((keyframes - 1) * animation.FrameRate + 1);
        for (int change = random.between(0, 2); change > 0; --change) {
            builders::StateChange stateChange;
            stateChange.StateId = static_cast<std::uint16_t>(random.between(0, static_cast<int>(shape.Animations) - 1));
            const auto split = static_cast<std::uint16_t>(random.between(0, frames - 1));
            stateChange.Dispatches.push_back({0, split, stateChange.StateId, 0});
            if (split + 1 < frames)
                stateChange.Dispatches.push_back({static_cast<std::uint16_t>(split + 1),
                                                  static_cast<std::uint16_t>(frames - 1), stateChange.StateId, 0});
            animation.StateChanges.push_back(stateChange);
        }
        for (int command = random.between(0, 3); command > 0; --command)
            animation.Commands.push_back(randomCommand(frames, random));
        moveable.Animations.push_back(std::move(animation));
    }
    return moveable;
}

// A static mesh of one to three solids.
builders::StaticMesh fillerStatic(level::MeshKind kind, std::uint32_t objectId, const builders::Skin& skin,
                                  Random& random) {
    return builders::staticMesh(objectId, solid(kind, skin, random, random.between(0, 1) == 1));
}

// `total` split into `parts` whole numbers of at least `least` each, unevenly.
std::vector<std::size_t> splitTotal(std::size_t total, std::size_t parts, std::size_t least, Random& random) {
    if (parts == 0 || total < parts * least)
        throw std::logic_error("cannot split the total into that many parts");
    std::vector<double> weights;
    double sum = 0;
    for (std::size_t i = 0; i < parts; ++i) {
        weights.push_back(0.3 + random.unit());
        sum += weights.back();
    }
    const std::size_t spare = total - parts * least;
    std::vector<std::size_t> shares;
    std::size_t given = 0;
    for (double weight : weights) {
        shares.push_back(least + static_cast<std::size_t>(double(spare) * weight / sum));
        given += shares.back() - least;
    }
    for (std::size_t i = 0; given < spare; ++i, ++given)
        ++shares[i % parts];
    return shares;
}

template <class Model>
void addFillersTo(Model& model, level::MeshKind kind, const FillerPlan& plan, const SkinFor& moveableSkin,
                  const SkinFor& staticSkin, Random& random) {
    const std::size_t moveables = plan.Moveables - model.Moveables.size();
    const std::size_t statics = plan.StaticMeshes - model.StaticMeshes.size();
    const std::size_t meshes = plan.Meshes - model.MeshPointers.size() - statics;
    const std::size_t animations = plan.Animations - model.Animations.size();
    const std::size_t frameWords = plan.FrameWords - model.Frames.size();
    const auto meshCounts = splitTotal(meshes, moveables, 2, random);
    const auto animationCounts = splitTotal(animations, moveables, 4, random);
    for (std::size_t i = 0; i < moveables; ++i) {
        FillerShape shape;
        shape.Meshes = meshCounts[i];
        shape.Animations = plan.SomeStill && i % 10 == 5 ? 0 : animationCounts[i];
        shape.FrameWords = frameWords * animationCounts[i] / animations;
        builders::appendMoveable(model, fillerMoveable(kind, plan.FirstMoveableId + static_cast<std::uint32_t>(i),
                                                       shape, moveableSkin(i), random));
    }
    for (std::size_t i = 0; i < statics; ++i)
        builders::appendStaticMesh(
            model, fillerStatic(kind, plan.FirstStaticId + static_cast<std::uint32_t>(i), staticSkin(i), random));
}

} // namespace

void addFillers(level::Tr4Level& level, const FillerPlan& plan, const SkinFor& moveableSkin, const SkinFor& staticSkin,
                Random& random) {
    addFillersTo(level, level::MeshKind::Level, plan, moveableSkin, staticSkin, random);
}

void addFillers(wad::WadLibrary& library, const FillerPlan& plan, const SkinFor& moveableSkin,
                const SkinFor& staticSkin, Random& random) {
    addFillersTo(library, level::MeshKind::Library, plan, moveableSkin, staticSkin, random);
}

} // namespace veltrane::demo
