#include "demo/props.h"

#include "level/frame_format.h"
#include "demo/demo_ids.h"

#include <cmath>
#include <numbers>
#include <vector>

namespace veltrane::demo {
namespace {

using builders::Animation;
using builders::AnimCommand;
using Rotation = level::MeshRotation;
using builders::ShapeBuilder;
using level::MeshKind;

// A keyframe of a small object: its box, the root's lift and one rotation a mesh.
std::vector<std::uint16_t> pose(const level::MeshRecord& root, std::int16_t lift, std::vector<Rotation> rotations) {
    level::Keyframe frame;
    frame.boundingBox = builders::boundingBox(root);
    frame.offset = {0, lift, 0};
    frame.rotations = std::move(rotations);
    return level::encodeKeyframe(frame);
}

Animation held(std::uint16_t state, std::vector<std::uint16_t> keyframe, std::uint16_t self) {
    Animation animation;
    animation.StateId = state;
    animation.Keyframes = {std::move(keyframe)};
    animation.NextAnimation = self;
    return animation;
}

// `keys` keyframes from t = 0 to t = 1, each made by poseAt(t).
template <class PoseAt>
std::vector<std::vector<std::uint16_t>> sweep(int keys, PoseAt&& poseAt) {
    std::vector<std::vector<std::uint16_t>> frames;
    for (int k = 0; k < keys; ++k)
        frames.push_back(poseAt(k / double(keys - 1)));
    return frames;
}

std::uint16_t lastFrame(const Animation& animation) {
    return static_cast<std::uint16_t>((animation.Keyframes.size() - 1) * animation.FrameRate);
}

constexpr std::uint16_t kStateClosed = 0;
constexpr std::uint16_t kStateOpen = 1;

// The four animations of a thing that opens and closes: 0 closed, 1 opening, 2 open, 3 closing.
// poseAt(t) poses it from closed (t = 0) to open (t = 1).
template <class PoseAt>
std::vector<Animation> openAndClose(PoseAt&& poseAt, int keys, std::uint8_t rate, std::vector<AnimCommand> opened,
                                    std::vector<AnimCommand> closed) {
    Animation shut = held(kStateClosed, poseAt(0.0), 0);
    Animation opening;
    opening.StateId = kStateOpen;
    opening.FrameRate = rate;
    opening.Keyframes = sweep(keys, poseAt);
    opening.NextAnimation = 2;
    opening.Commands = std::move(opened);
    Animation open = held(kStateOpen, poseAt(1.0), 2);
    Animation closing = opening;
    closing.StateId = kStateClosed;
    closing.Keyframes = sweep(keys, [&](double t) { return poseAt(1 - t); });
    closing.NextAnimation = 0;
    closing.Commands = std::move(closed);
    shut.StateChanges = {{kStateOpen, {{0, 0, 1, 0}}}};
    open.StateChanges = {{kStateClosed, {{0, 0, 3, 0}}}};
    return {shut, opening, open, closing};
}

} // namespace

builders::Moveable lever(MeshKind kind, std::uint32_t objectId, const builders::Skin& skin) {
    builders::Moveable lever;
    lever.ObjectId = objectId;
    lever.Meshes = {ShapeBuilder(kind, skin).block({-100, -60, -60}, {100, 0, 60}).build(),
                    ShapeBuilder(kind, skin).block({-15, -220, -15}, {15, 0, 15}).build()};
    lever.Tree = {{level::kFromPrevious, 0, -50, 0}};
    const auto& base = lever.Meshes[0];
    const auto thrown = [&](double t) {
        return pose(base, 0, {Rotation::all(0, 0, 0), Rotation::aboutX(-40 + 80 * t)});
    };
    lever.Animations = openAndClose(thrown, 5, 3, {AnimCommand::playSound(3, ids::kSwitch)},
                                    {AnimCommand::playSound(3, ids::kSwitch)});
    return lever;
}

builders::Moveable door(MeshKind kind, std::uint32_t objectId, const builders::Skin& skin) {
    builders::Moveable door;
    door.ObjectId = objectId;
    door.Meshes = {ShapeBuilder(kind, skin).block({-512, -2048, -40}, {512, 0, 40}).build()};
    const auto& slab = door.Meshes[0];
    const auto lifted = [&](double t) {
        return pose(slab, static_cast<std::int16_t>(std::lround(-1800 * t)), {Rotation::all(0, 0, 0)});
    };
    constexpr int kKeys = 6;
    constexpr int kRate = 4;
    // Closing shakes the camera on its last frame, as the door lands.
    constexpr auto kLanding = static_cast<std::int16_t>((kKeys - 1) * kRate);
    door.Animations = openAndClose(
        lifted, kKeys, kRate, {AnimCommand::playSound(0, ids::kDoorSound)},
        {AnimCommand::playSound(0, ids::kDoorSound), AnimCommand::flipEffect(kLanding, ids::kShakeCamera)});
    return door;
}

builders::Moveable crawler(MeshKind kind, std::uint32_t objectId, const builders::Skin& skin) {
    builders::Moveable crawler;
    crawler.ObjectId = objectId;
    crawler.Meshes.push_back(
        ShapeBuilder(kind, skin).block({-120, -80, -160}, {120, 0, 160}).prism(6, 60, -140, -80, true).build());
    std::vector<builders::Joint> joints;
    for (int leg = 0; leg < 4; ++leg) {
        crawler.Meshes.push_back(ShapeBuilder(kind, skin).block({-15, 0, -15}, {15, 160, 15}).build());
        joints.push_back({0, leg % 2 == 0 ? 130 : -130, -40, leg < 2 ? 100 : -100});
    }
    crawler.Tree = builders::meshTree(joints);
    const auto& body = crawler.Meshes[0];
    const auto stride = [&](double t, double reach) {
        const double s = std::sin(2 * std::numbers::pi * t);
        return pose(body, -170,
                    {Rotation::all(0, 3 * s, 0), Rotation::all(reach * s, 0, 20), Rotation::all(-reach * s, 0, -20),
                     Rotation::all(-reach * s, 0, 20), Rotation::all(reach * s, 0, -20)});
    };
    Animation idle;
    idle.StateId = 1;
    idle.FrameRate = 5;
    idle.Keyframes = sweep(3, [&](double t) { return stride(t, 5); });
    Animation crawl;
    crawl.StateId = 2;
    crawl.FrameRate = 2;
    crawl.Speed = 8 << 16;
    crawl.Keyframes = sweep(7, [&](double t) { return stride(t, 30); });
    crawl.NextAnimation = 1;
    Animation attack;
    attack.StateId = 3;
    attack.FrameRate = 2;
    attack.Keyframes = sweep(5, [&](double t) {
        return pose(body, static_cast<std::int16_t>(-170 - 120 * std::sin(std::numbers::pi * t)),
                    {Rotation::aboutX(-30 * std::sin(std::numbers::pi * t)), Rotation::all(0, 0, 40),
                     Rotation::all(0, 0, -40), Rotation::all(0, 0, 40), Rotation::all(0, 0, -40)});
    });
    attack.Commands = {AnimCommand::flipEffect(4, ids::kShakeCamera)};
    idle.StateChanges = {{2, {{0, lastFrame(idle), 1, 0}}}, {3, {{0, lastFrame(idle), 2, 0}}}};
    crawl.StateChanges = {{1, {{0, lastFrame(crawl), 0, 0}}}};
    crawler.Animations = {idle, crawl, attack};
    return crawler;
}

builders::Moveable gem(MeshKind kind, std::uint32_t objectId, const builders::Skin& skin) {
    builders::Skin translucent = skin;
    translucent.Attribute = 1;
    builders::Moveable gem;
    gem.ObjectId = objectId;
    gem.Meshes = {ShapeBuilder(kind, translucent).pyramid(60, -80, -200).pyramid(60, -80, 0).build()};
    return gem;
}

builders::Moveable bell(MeshKind kind, std::uint32_t objectId, const builders::Skin& skin) {
    builders::Moveable bell;
    bell.ObjectId = objectId;
    bell.Meshes = {ShapeBuilder(kind, skin)
                       .block({-400, -700, -40}, {400, -620, 40})
                       .block({-400, -620, -40}, {-320, 0, 40})
                       .block({320, -620, -40}, {400, 0, 40})
                       .build(),
                   ShapeBuilder(kind, skin).prism(8, 140, 0, 260, true).prism(8, 40, -40, 0, false).build()};
    bell.Tree = {{level::kFromPrevious, 0, -600, 0}};
    const auto& frame = bell.Meshes[0];
    const auto swing = [&](double degrees) {
        return pose(frame, 0, {Rotation::all(0, 0, 0), Rotation::aboutX(degrees)});
    };
    Animation still = held(1, swing(0), 0);
    Animation ring;
    ring.StateId = 2;
    ring.FrameRate = 2;
    ring.Keyframes = sweep(9, [&](double t) { return swing(35 * std::sin(2 * std::numbers::pi * t)); });
    ring.Commands = {AnimCommand::playSound(4, ids::kBellSound), AnimCommand::playSound(12, ids::kBellSound)};
    still.StateChanges = {{2, {{0, 0, 1, 0}}}};
    bell.Animations = {still, ring};
    return bell;
}

builders::Moveable bladeTrap(MeshKind kind, std::uint32_t objectId, const builders::Skin& skin) {
    builders::Moveable trap;
    trap.ObjectId = objectId;
    trap.Meshes = {ShapeBuilder(kind, skin).block({-200, -60, -200}, {200, 0, 200}).build(),
                   ShapeBuilder(kind, skin).prism(6, 30, -300, 0, true).build(),
                   ShapeBuilder(kind, skin).block({-450, -20, -40}, {450, 20, 40}).build()};
    trap.Tree = {{level::kFromPrevious, 0, -60, 0}, {level::kFromPrevious, 0, -280, 0}};
    const auto& base = trap.Meshes[0];
    const auto turned = [&](double degrees, double raise) {
        return pose(base, 0, {Rotation::all(0, 0, 0), Rotation::aboutY(degrees / 2), Rotation::all(0, degrees, raise)});
    };
    Animation idle = held(1, turned(0, 0), 0);
    Animation spin;
    spin.StateId = 2;
    spin.FrameRate = 1;
    spin.Keyframes = sweep(9, [&](double t) { return turned(360 * t, 0); });
    spin.NextAnimation = 1;
    spin.Commands = {AnimCommand::playSound(0, ids::kBladeSound)};
    Animation retract;
    retract.StateId = 3;
    retract.FrameRate = 3;
    retract.Keyframes = sweep(4, [&](double t) { return turned(0, -80 * t); });
    retract.NextAnimation = 2;
    retract.Commands = {AnimCommand::kill()};
    idle.StateChanges = {{2, {{0, 0, 1, 0}}}};
    spin.StateChanges = {{3, {{0, lastFrame(spin), 2, 0}}}};
    trap.Animations = {idle, spin, retract};
    return trap;
}

builders::StaticMesh plant(MeshKind kind, std::uint32_t objectId, const builders::Skin& skin) {
    ShapeBuilder shape(kind, skin, true);
    shape.crossedPlanes(300, 700);
    return builders::staticMesh(objectId, shape.build());
}

builders::StaticMesh rock(MeshKind kind, std::uint32_t objectId, const builders::Skin& skin) {
    ShapeBuilder shape(kind, skin, true);
    shape.prism(7, 380, -260, 0, true).prism(5, 200, -420, -260, true, {60, 0, -40});
    return builders::staticMesh(objectId, shape.build());
}

builders::StaticMesh column(MeshKind kind, std::uint32_t objectId, const builders::Skin& skin) {
    ShapeBuilder shape(kind, skin, true);
    shape.block({-300, -160, -300}, {300, 0, 300}).prism(12, 220, -1700, -160, true);
    return builders::staticMesh(objectId, shape.build());
}

builders::StaticMesh urn(MeshKind kind, std::uint32_t objectId, const builders::Skin& skin) {
    ShapeBuilder shape(kind, skin, true);
    shape.prism(10, 180, -360, 0, true).prism(10, 90, -480, -360, true);
    return builders::staticMesh(objectId, shape.build());
}

builders::StaticMesh crate(MeshKind kind, std::uint32_t objectId, const builders::Skin& skin) {
    ShapeBuilder shape(kind, skin);
    shape.block({-256, -512, -256}, {256, 0, 256});
    return builders::staticMesh(objectId, shape.build());
}

builders::StaticMesh pillar(MeshKind kind, std::uint32_t objectId, const builders::Skin& skin) {
    ShapeBuilder shape(kind, skin, true);
    shape.block({-260, -120, -260}, {260, 0, 260})
        .prism(8, 180, -2000, -120, true)
        .block({-260, -2120, -260}, {260, -2000, 260});
    return builders::staticMesh(objectId, shape.build());
}

builders::StaticMesh barrel(MeshKind kind, std::uint32_t objectId, const builders::Skin& skin) {
    ShapeBuilder shape(kind, skin);
    shape.prism(12, 200, -560, 0, true);
    return builders::staticMesh(objectId, shape.build());
}

builders::StaticMesh obelisk(MeshKind kind, std::uint32_t objectId, const builders::Skin& skin) {
    ShapeBuilder shape(kind, skin, true);
    shape.block({-200, -1400, -200}, {200, 0, 200}).pyramid(200, -1400, -1800);
    return builders::staticMesh(objectId, shape.build());
}

builders::StaticMesh lantern(MeshKind kind, std::uint32_t objectId, const builders::Skin& skin) {
    builders::Skin translucent = skin;
    translucent.Attribute = 1;
    ShapeBuilder shape(kind, translucent);
    shape.prism(6, 120, -360, -40, true).pyramid(130, -360, -480);
    return builders::staticMesh(objectId, shape.build());
}

builders::StaticMesh table(MeshKind kind, std::uint32_t objectId, const builders::Skin& skin) {
    ShapeBuilder shape(kind, skin);
    shape.block({-500, -480, -300}, {500, -420, 300});
    for (const int x : {-460, 420})
        for (const int z : {-260, 220})
            shape.block({static_cast<std::int16_t>(x), -420, static_cast<std::int16_t>(z)},
                        {static_cast<std::int16_t>(x + 40), 0, static_cast<std::int16_t>(z + 40)});
    return builders::staticMesh(objectId, shape.build());
}

} // namespace veltrane::demo
