#include "demo/figure.h"

#include "level/frame_format.h"
#include "demo/demo_ids.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <vector>

namespace veltrane::demo {
namespace {

using Rotation = level::MeshRotation;
using level::MeshVector;

enum Role {
    Hips,
    LeftThigh,
    LeftShin,
    LeftFoot,
    RightThigh,
    RightShin,
    RightFoot,
    Torso,
    RightUpperArm,
    RightForearm,
    RightHand,
    LeftUpperArm,
    LeftForearm,
    LeftHand,
    Head,
    kRoles
};

// Every part with its parent, in mesh order: depth first, as the mesh tree needs.
constexpr std::array<std::pair<Role, Role>, kRoles> kParts = {{{Hips, Hips},
                                                               {LeftThigh, Hips},
                                                               {LeftShin, LeftThigh},
                                                               {LeftFoot, LeftShin},
                                                               {RightThigh, Hips},
                                                               {RightShin, RightThigh},
                                                               {RightFoot, RightShin},
                                                               {Torso, Hips},
                                                               {RightUpperArm, Torso},
                                                               {RightForearm, RightUpperArm},
                                                               {RightHand, RightForearm},
                                                               {LeftUpperArm, Torso},
                                                               {LeftForearm, LeftUpperArm},
                                                               {LeftHand, LeftForearm},
                                                               {Head, Torso}}};

bool isExtremity(Role role) { return role == LeftFoot || role == RightFoot || role == LeftHand || role == RightHand; }

using Pose = std::array<Rotation, kRoles>;

class Figure {
public:
    Figure(level::MeshKind kind, const FigureLook& look) : kind_(kind), look_(look) {
        for (const auto& [role, parent] : kParts)
            if (look.HandsAndFeet || !isExtremity(role))
                roles_.push_back(role);
    }

    builders::Moveable build() const {
        builders::Moveable figure;
        figure.ObjectId = look_.ObjectId;
        std::vector<builders::Joint> joints;
        for (Role role : roles_) {
            figure.Meshes.push_back(mesh(role));
            if (role != Hips)
                joints.push_back(joint(role));
        }
        figure.Tree = builders::meshTree(joints);
        figure.Animations = {stand(), walk(), wave(), hop()};
        return figure;
    }

private:
    std::int16_t along(double units) const { return static_cast<std::int16_t>(std::lround(units * look_.Height)); }
    std::int16_t across(double units) const { return static_cast<std::int16_t>(std::lround(units * look_.Girth)); }

    // A limb hanging down (y grows downwards) from its joint.
    level::MeshRecord limb(const builders::Skin& skin, double halfWidth, double length, double halfDepth,
                           double forward = 0) const {
        return builders::ShapeBuilder(kind_, skin)
            .block({static_cast<std::int16_t>(-across(halfWidth)), 0, static_cast<std::int16_t>(-across(halfDepth))},
                   {across(halfWidth), along(length), static_cast<std::int16_t>(across(halfDepth + forward))})
            .build();
    }

    level::MeshRecord mesh(Role role) const {
        switch (role) {
        case Hips:
            return builders::ShapeBuilder(kind_, look_.Body)
                .block({static_cast<std::int16_t>(-across(70)), static_cast<std::int16_t>(-along(50)),
                        static_cast<std::int16_t>(-across(45))},
                       {across(70), along(30), across(45)})
                .build();
        case Torso:
            return builders::ShapeBuilder(kind_, look_.Body)
                .block({static_cast<std::int16_t>(-across(85)), static_cast<std::int16_t>(-along(240)),
                        static_cast<std::int16_t>(-across(50))},
                       {across(85), 0, across(50)})
                .build();
        case Head:
            return builders::ShapeBuilder(kind_, look_.Head)
                .prism(8, across(65), static_cast<std::int16_t>(-along(170)), 0, true)
                .build();
        case LeftThigh:
        case RightThigh: return limb(look_.Limbs, 28, 200, 30);
        case LeftShin:
        case RightShin: return limb(look_.Limbs, 24, 190, 26);
        case LeftFoot:
        case RightFoot: return limb(look_.Limbs, 22, 40, 30, 60);
        case LeftUpperArm:
        case RightUpperArm: return limb(look_.Limbs, 22, 150, 22);
        case LeftForearm:
        case RightForearm: return limb(look_.Limbs, 20, 140, 20);
        default: return limb(look_.Limbs, 18, 60, 10);
        }
    }

    builders::Joint joint(Role role) const {
        std::size_t parentIndex = 0;
        std::int32_t x = 0;
        std::int32_t y = 0;
        const Role parent = kParts[static_cast<std::size_t>(role)].second;
        parentIndex = static_cast<std::size_t>(std::find(roles_.begin(), roles_.end(), parent) - roles_.begin());
        switch (role) {
        case LeftThigh: x = across(50), y = along(20); break;
        case RightThigh: x = -across(50), y = along(20); break;
        case LeftShin:
        case RightShin: y = along(200); break;
        case LeftFoot:
        case RightFoot: y = along(190); break;
        case Torso: y = -along(40); break;
        case LeftUpperArm: x = across(110), y = -along(220); break;
        case RightUpperArm: x = -across(110), y = -along(220); break;
        case LeftForearm:
        case RightForearm: y = along(150); break;
        case LeftHand:
        case RightHand: y = along(140); break;
        case Head: y = -along(240); break;
        default: break;
        }
        return {parentIndex, x, y, 0};
    }

    // Where the hips sit above the feet.
    std::int16_t hipHeight() const {
        return static_cast<std::int16_t>(-along(20 + 200 + 190 + (look_.HandsAndFeet ? 40 : 0)));
    }

    std::vector<std::uint16_t> keyframe(const Pose& pose, std::int16_t lift = 0) const {
        level::Keyframe frame;
        frame.boundingBox = {static_cast<std::int16_t>(-across(170)),
                             across(170),
                             static_cast<std::int16_t>(hipHeight() - along(500)),
                             0,
                             static_cast<std::int16_t>(-across(140)),
                             across(140)};
        frame.offset = {0, static_cast<std::int16_t>(hipHeight() + lift), 0};
        for (Role role : roles_)
            frame.rotations.push_back(pose[static_cast<std::size_t>(role)]);
        return level::encodeKeyframe(frame);
    }

    // The pose every animation starts from: upright, arms a little away from the body.
    static Pose rest() {
        Pose pose;
        pose.fill(Rotation::aboutX(0));
        pose[Hips] = Rotation::all(0, 0, 0);
        pose[Torso] = Rotation::all(0, 0, 0);
        pose[LeftUpperArm] = Rotation::all(0, 0, 6);
        pose[RightUpperArm] = Rotation::all(0, 0, -6);
        pose[Head] = Rotation::aboutY(0);
        return pose;
    }

    // `keys` keyframes over one cycle, the last equal to the first so that the loop is seamless.
    template <class PoseAt>
    std::vector<std::vector<std::uint16_t>> cycle(int keys, PoseAt&& poseAt) const {
        std::vector<std::vector<std::uint16_t>> frames;
        for (int k = 0; k < keys; ++k) {
            const double phase = 2 * std::numbers::pi * (k % (keys - 1)) / (keys - 1);
            const auto [pose, lift] = poseAt(phase);
            frames.push_back(keyframe(pose, lift));
        }
        return frames;
    }

    static std::uint16_t lastFrame(const builders::Animation& animation) {
        return static_cast<std::uint16_t>((animation.Keyframes.size() - 1) * animation.FrameRate);
    }

    builders::Animation stand() const {
        builders::Animation animation;
        animation.StateId = kStateStand;
        animation.FrameRate = 4;
        animation.Keyframes = cycle(5, [](double phase) {
            Pose pose = rest();
            pose[Torso] = Rotation::all(2 * std::sin(phase), 0, 0);
            pose[Head] = Rotation::aboutX(-3 * std::sin(phase));
            return std::pair{pose, std::int16_t{0}};
        });
        animation.NextAnimation = 0;
        const auto last = lastFrame(animation);
        animation.StateChanges = {{kStateWalk, {{0, last, 1, 0}}},
                                  {kStateWave, {{0, last, 2, 0}}},
                                  {kStateHop,
                                   {{0, static_cast<std::uint16_t>(last / 2), 3, 0},
                                    {static_cast<std::uint16_t>(last / 2 + 1), last, 3, 2}}}};
        return animation;
    }

    builders::Animation walk() const {
        builders::Animation animation;
        animation.StateId = kStateWalk;
        animation.FrameRate = 2;
        animation.Speed = 12 << 16;
        animation.Keyframes = cycle(9, [](double phase) {
            const double s = std::sin(phase);
            Pose pose = rest();
            pose[Hips] = Rotation::all(0, 4 * s, 0);
            pose[LeftThigh] = Rotation::aboutX(-25 * s);
            pose[RightThigh] = Rotation::aboutX(25 * s);
            pose[LeftShin] = Rotation::aboutX(15 + 25 * std::max(0.0, s));
            pose[RightShin] = Rotation::aboutX(15 + 25 * std::max(0.0, -s));
            pose[LeftFoot] = Rotation::aboutX(-10 * s);
            pose[RightFoot] = Rotation::aboutX(10 * s);
            pose[Torso] = Rotation::all(5, -5 * s, 0);
            pose[LeftUpperArm] = Rotation::all(25 * s, 0, 6);
            pose[RightUpperArm] = Rotation::all(-25 * s, 0, -6);
            pose[LeftForearm] = Rotation::aboutX(-20 - 10 * s);
            pose[RightForearm] = Rotation::aboutX(-20 + 10 * s);
            pose[Head] = Rotation::aboutY(5 * s);
            return std::pair{pose, static_cast<std::int16_t>(std::lround(-10 * std::abs(std::cos(phase))))};
        });
        animation.NextAnimation = 1;
        const auto last = lastFrame(animation);
        const auto half = static_cast<std::uint16_t>(last / 2);
        animation.StateChanges = {{kStateStand, {{0, half, 0, 0}, {static_cast<std::uint16_t>(half + 1), last, 0, 8}}},
                                  {kStateHop, {{0, last, 3, 0}}}};
        animation.Commands = {builders::AnimCommand::playSound(4, ids::kFootstep),
                              builders::AnimCommand::flipEffect(4, ids::kFootprint),
                              builders::AnimCommand::playSound(static_cast<std::int16_t>(half + 4), ids::kFootstep),
                              builders::AnimCommand::flipEffect(static_cast<std::int16_t>(half + 4), ids::kFootprint)};
        return animation;
    }

    builders::Animation wave() const {
        builders::Animation animation;
        animation.StateId = kStateWave;
        animation.FrameRate = 2;
        animation.Keyframes = cycle(9, [](double phase) {
            Pose pose = rest();
            pose[RightUpperArm] = Rotation::all(0, 10, -150);
            pose[RightForearm] = Rotation::aboutZ(-25 + 30 * std::sin(2 * phase));
            pose[RightHand] = Rotation::aboutY(20 * std::sin(2 * phase));
            pose[Head] = Rotation::all(-5, -15, 0);
            return std::pair{pose, std::int16_t{0}};
        });
        animation.NextAnimation = 0;
        animation.StateChanges = {{kStateStand, {{0, lastFrame(animation), 0, 0}}}};
        animation.Commands = {builders::AnimCommand::emptyHands()};
        return animation;
    }

    builders::Animation hop() const {
        builders::Animation animation;
        animation.StateId = kStateHop;
        animation.FrameRate = 2;
        animation.Speed = 20 << 16;
        constexpr int kKeys = 7;
        for (int k = 0; k < kKeys; ++k) {
            const double t = k / double(kKeys - 1);
            const double crouch = std::max(0.0, 1 - std::abs(t - 0.2) * 5) + std::max(0.0, 1 - std::abs(t - 0.95) * 5);
            const double air = t > 0.3 && t < 0.85 ? std::sin((t - 0.3) / 0.55 * std::numbers::pi) : 0;
            Pose pose = rest();
            pose[LeftThigh] = pose[RightThigh] = Rotation::aboutX(-45 * crouch - 30 * air);
            pose[LeftShin] = pose[RightShin] = Rotation::aboutX(80 * crouch + 50 * air);
            pose[LeftUpperArm] = Rotation::all(-60 * air, 0, 20);
            pose[RightUpperArm] = Rotation::all(-60 * air, 0, -20);
            pose[Torso] = Rotation::all(20 * crouch, 0, 0);
            animation.Keyframes.push_back(
                keyframe(pose, static_cast<std::int16_t>(std::lround(along(90) * crouch - along(250) * air))));
        }
        animation.NextAnimation = 0;
        animation.Commands = {
            builders::AnimCommand::jumpVelocity(-40, 25),
            builders::AnimCommand::playSound(static_cast<std::int16_t>(lastFrame(animation) - 2), ids::kFootstep),
            builders::AnimCommand::setPosition(0, 0, along(512))};
        return animation;
    }

    level::MeshKind kind_;
    FigureLook look_;
    std::vector<Role> roles_;
};

} // namespace

builders::Moveable jointedFigure(level::MeshKind kind, const FigureLook& look) { return Figure(kind, look).build(); }

} // namespace veltrane::demo
