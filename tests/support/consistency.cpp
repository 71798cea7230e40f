#include "support/consistency.h"

#include "level/mesh_block.h"
#include "builders/objects.h"

#include <algorithm>
#include <cstring>
#include <optional>

namespace veltrane::builders {
namespace {

using level::MeshKind;

constexpr std::uint16_t kNoAnimations = 0xFFFF;
constexpr std::size_t kTreeStack = 5;
constexpr std::size_t kKeyframeHeader = 9; // bounding box and root offset

class Report {
public:
    void add(const std::string& place, const std::string& fault) { lines_.push_back(place + ": " + fault); }
    std::vector<std::string> take() { return std::move(lines_); }

private:
    std::vector<std::string> lines_;
};

std::string name(const char* what, std::size_t index) { return std::string(what) + " " + std::to_string(index); }

template <class Model>
void checkMeshPointers(const Model& model, MeshKind kind, Report& report) {
    const auto meshes = level::parseMeshBlock(level::wordBytes(model.MeshWords), kind);
    if (!meshes.keptBlock().empty())
        report.add("mesh block", "the meshes do not tile the block");
    for (std::size_t i = 0; i < model.MeshPointers.size(); ++i)
        if (meshes.MeshIndexOf(model.MeshPointers[i]) < 0)
            report.add(name("mesh pointer", i), "names no mesh");
}

void checkTree(const std::vector<std::uint32_t>& trees, const level::Tr4Moveable& moveable, const std::string& place,
               Report& report) {
    if (moveable.MeshCount < 2)
        return;
    const std::size_t words = 4 * std::size_t{moveable.MeshCount - 1u};
    if (moveable.MeshTree + words > trees.size()) {
        report.add(place, "mesh tree runs past MeshTrees");
        return;
    }
    std::size_t stack = 0;
    for (std::size_t node = 0; node + 1 < moveable.MeshCount; ++node) {
        const std::uint32_t flags = trees[moveable.MeshTree + 4 * node];
        if (flags > kFromTop) {
            report.add(place, "mesh-tree flag " + std::to_string(flags));
        } else if (flags == kPushPrevious) {
            if (++stack > kTreeStack)
                report.add(place, "mesh tree pushes more than five meshes");
        } else if (flags == kFromPopped || flags == kFromTop) {
            if (stack == 0)
                report.add(place, "mesh tree reads an empty stack");
            else if (flags == kFromPopped)
                --stack;
        }
    }
}

// How many commands' words from `start`, or nothing when they run past the table.
std::optional<std::size_t> commandWords(const std::vector<std::uint16_t>& commands, std::size_t start,
                                        std::size_t count) {
    std::size_t at = start;
    for (std::size_t c = 0; c < count; ++c) {
        if (at >= commands.size())
            return std::nullopt;
        at += 1 + operandCount(commands[at]);
    }
    if (at > commands.size())
        return std::nullopt;
    return at - start;
}

// Walks a keyframe's rotations: one word about one axis, two words about all three.
bool keyframeFits(const std::vector<std::uint16_t>& frames, std::size_t start, std::size_t frameSize,
                  std::size_t meshes) {
    std::size_t at = kKeyframeHeader;
    for (std::size_t mesh = 0; mesh < meshes; ++mesh) {
        if (at >= frameSize)
            return false;
        at += (frames[start + at] & 0xC000) == 0 ? 2 : 1;
    }
    return at <= frameSize;
}

struct FrameRange {
    std::size_t begin = 0; // bytes
    std::size_t end = 0;
};

template <class Model>
void checkAnimations(const Model& model, std::size_t commandUnit, Report& report) {
    const std::size_t animationCount = model.Animations.size();
    const std::size_t frameBytes = model.Frames.size() * 2;
    for (std::size_t m = 0; m < model.Moveables.size(); ++m) {
        const auto& moveable = model.Moveables[m];
        const std::string place = name("moveable", m);
        if (std::size_t{moveable.StartingMesh} + moveable.MeshCount > model.MeshPointers.size())
            report.add(place, "meshes run past MeshPointers");
        checkTree(model.MeshTrees, moveable, place, report);

        const FrameRange frames{moveable.FrameOffset,
                                m + 1 < model.Moveables.size() ? model.Moveables[m + 1].FrameOffset : frameBytes};
        if (frames.begin > frames.end || frames.end > frameBytes || frames.begin % 2 != 0) {
            report.add(place, "frames run outside Frames");
            continue;
        }
        if (moveable.Animation == kNoAnimations)
            continue;
        std::size_t end = animationCount;
        for (std::size_t next = m + 1; next < model.Moveables.size(); ++next)
            if (model.Moveables[next].Animation != kNoAnimations) {
                end = model.Moveables[next].Animation;
                break;
            }
        if (moveable.Animation > end || end > animationCount) {
            report.add(place, "animations run outside Animations");
            continue;
        }
        for (std::size_t a = moveable.Animation; a < end; ++a) {
            const auto& animation = model.Animations[a];
            const std::string where = place + ", " + name("animation", a);
            const std::size_t rate = std::max<std::size_t>(animation.FrameRate, 1);
            if (animation.FrameEnd < animation.FrameStart) {
                report.add(where, "FrameEnd lies before FrameStart");
                continue;
            }
            const std::size_t keyframes = (animation.FrameEnd - animation.FrameStart) / rate + 1;
            const std::size_t bytes = keyframes * animation.FrameSize * 2;
            const std::size_t ownEnd = a + 1 < end ? model.Animations[a + 1].FrameOffset : frames.end;
            if (animation.FrameOffset < frames.begin || animation.FrameOffset + bytes > std::min(ownEnd, frames.end)) {
                report.add(where, "keyframes run outside the moveable's frames");
            } else {
                for (std::size_t k = 0; k < keyframes; ++k)
                    if (!keyframeFits(model.Frames, animation.FrameOffset / 2 + k * animation.FrameSize,
                                      animation.FrameSize, moveable.MeshCount))
                        report.add(where, name("keyframe", k) + " does not fit FrameSize");
            }

            const auto frameIn = [&](std::size_t target, std::uint16_t frame) {
                return target < animationCount && frame >= model.Animations[target].FrameStart &&
                       frame <= model.Animations[target].FrameEnd;
            };
            if (!frameIn(animation.NextAnimation, animation.NextFrame))
                report.add(where, "NextAnimation or NextFrame names no frame");
            if (std::size_t{animation.StateChangeOffset} + animation.StateChangeCount > model.StateChanges.size()) {
                report.add(where, "state changes run past StateChanges");
            } else {
                for (std::size_t s = 0; s < animation.StateChangeCount; ++s) {
                    const auto& change = model.StateChanges[animation.StateChangeOffset + s];
                    if (std::size_t{change.DispatchOffset} + change.DispatchCount > model.AnimDispatches.size()) {
                        report.add(where, "dispatches run past AnimDispatches");
                        continue;
                    }
                    for (std::size_t d = 0; d < change.DispatchCount; ++d) {
                        const auto& dispatch = model.AnimDispatches[change.DispatchOffset + d];
                        if (dispatch.Low > dispatch.High || !frameIn(a, dispatch.Low) || !frameIn(a, dispatch.High) ||
                            !frameIn(dispatch.NextAnimation, dispatch.NextFrame))
                            report.add(where,
                                       name("dispatch", change.DispatchOffset + d) + " names frames it does not have");
                    }
                }
            }
            if (animation.AnimCommandOffset % commandUnit != 0 ||
                !commandWords(model.AnimCommands, animation.AnimCommandOffset / commandUnit,
                              animation.AnimCommandCount))
                report.add(where, "commands run past AnimCommands");
        }
    }
    for (std::size_t s = 0; s < model.StaticMeshes.size(); ++s)
        if (model.StaticMeshes[s].Mesh >= model.MeshPointers.size())
            report.add(name("static mesh", s), "Mesh names no mesh pointer");
}

template <std::size_t N>
std::uint16_t wordAt(const level::Opaque<N>& record, std::size_t offset) {
    std::uint16_t value;
    std::memcpy(&value, record.data() + offset, 2);
    return value;
}

} // namespace

std::vector<std::string> objectTableProblems(const level::Tr4Level& level) {
    Report report;
    checkMeshPointers(level, MeshKind::Level, report);
    checkAnimations(level, 1, report);
    return report.take();
}

std::vector<std::string> objectTableProblems(const wad::WadLibrary& library) {
    Report report;
    checkMeshPointers(library, MeshKind::Library, report);
    checkAnimations(library, 2, report);
    return report.take();
}

std::vector<std::string> textureProblems(const level::Tr4Level& level) {
    Report report;
    for (std::size_t t = 0; t < level.ObjectTextures.size(); ++t) {
        const auto& texture = level.ObjectTextures[t];
        if ((texture.Tile & 0x7FFF) >= level.PageCount)
            report.add(name("object texture", t), "lies on no page");
    }
    const std::size_t textures = level.ObjectTextures.size();
    const auto meshes = level::parseMeshBlock(level::wordBytes(level.MeshWords), MeshKind::Level);
    for (const auto& mesh : meshes.meshes()) {
        for (const auto& rectangle : mesh.Rectangles)
            if ((rectangle.Texture & 0x7FFF) >= textures)
                report.add(name("mesh at byte", mesh.Offset), "rectangle names no object texture");
        for (const auto& triangle : mesh.Triangles)
            if (triangle.Texture >= textures)
                report.add(name("mesh at byte", mesh.Offset), "triangle names no object texture");
    }
    for (std::size_t r = 0; r < level.Rooms.size(); ++r) {
        const auto& room = level.Rooms[r];
        for (const auto& rectangle : room.Rectangles)
            if ((wordAt(rectangle, 8) & 0x7FFF) >= textures)
                report.add(name("room", r), "rectangle names no object texture");
        for (const auto& triangle : room.Triangles)
            if ((wordAt(triangle, 6) & 0x7FFF) >= textures)
                report.add(name("room", r), "triangle names no object texture");
        for (const auto& sprite : room.Sprites)
            if (wordAt(sprite, 2) >= level.SpriteTextures.size())
                report.add(name("room", r), "sprite names no sprite texture");
    }
    return report.take();
}

std::vector<std::string> textureProblems(const wad::WadLibrary& library) {
    Report report;
    const std::size_t pages = library.TextureBytes.size() / wad::kWadPageBytes;
    for (std::size_t s = 0; s < library.TextureSamples.size(); ++s) {
        const auto& sample = library.TextureSamples[s];
        if (sample.Page >= pages || sample.X + sample.AddWidth > 255 || sample.Y + sample.AddHeight > 255)
            report.add(name("texture sample", s), "lies off its page");
    }
    const std::size_t samples = library.TextureSamples.size();
    const auto meshes = level::parseMeshBlock(level::wordBytes(library.MeshWords), MeshKind::Library);
    for (const auto& mesh : meshes.meshes()) {
        for (const auto& polygon : mesh.Polygons) {
            const auto word = static_cast<std::int16_t>(polygon.Texture);
            std::size_t sample = 0;
            if (polygon.Shape == level::kShapeQuad)
                sample = static_cast<std::size_t>(word < 0 ? -word : word);
            else if (polygon.Shape == level::kShapeTriangle)
                sample = polygon.Texture & 0x7FF;
            else
                continue;
            if (sample >= samples)
                report.add(name("mesh at byte", mesh.Offset), "face names no texture sample");
        }
    }
    return report.take();
}

} // namespace veltrane::builders
