#include "builders/table_check.h"

#include "level/animation_tables.h"
#include "level/frame_format.h"
#include "level/mesh_block.h"
#include "level/mesh_tree.h"

#include <cstring>

namespace veltrane::builders {
namespace {

class Report {
public:
    void add(const std::string& place, const std::string& fault) { lines_.push_back(place + ": " + fault); }
    std::vector<std::string> take() { return std::move(lines_); }

private:
    std::vector<std::string> lines_;
};

std::string name(const char* what, std::size_t index) { return std::string(what) + " " + std::to_string(index); }

// Checks the model's mesh block and what names its meshes; returns the meshes for the face checks.
template <class Model>
level::Lista_Mesh checkMeshPointers(const Model& model, level::MeshKind kind, Report& report) {
    auto meshes = level::parseMeshBlock(level::wordBytes(model.MeshWords), kind);
    if (!meshes.keptBlock().empty())
        report.add("mesh block", "the meshes do not tile the block");
    for (std::size_t i = 0; i < model.MeshPointers.size(); ++i)
        if (meshes.MeshIndexOf(model.MeshPointers[i]) < 0)
            report.add(name("mesh pointer", i), "names no mesh");
    for (std::size_t s = 0; s < model.StaticMeshes.size(); ++s)
        if (model.StaticMeshes[s].Mesh >= model.MeshPointers.size())
            report.add(name("static mesh", s), "Mesh names no mesh pointer");
    return meshes;
}

template <class Model>
void checkAnimation(const Model& model, std::size_t a, const level::Tr4Moveable& moveable, const level::FrameBlock& frames,
                    std::size_t end, std::size_t commandUnit, const std::string& where, Report& report) {
    const auto& animation = model.Animations[a];
    const auto length = level::animationLength(animation, model.Frames.size());
    const std::size_t ownEnd = a + 1 < end ? model.Animations[a + 1].FrameOffset : frames.end;
    if (animation.FrameEnd < animation.FrameStart || animation.FrameOffset < frames.start ||
        animation.FrameOffset + std::size_t{length.keyframes} * animation.FrameSize * 2 > std::min(ownEnd, frames.end) ||
        length.frames != animation.FrameEnd - animation.FrameStart + 1u)
        report.add(where, "keyframes run outside the moveable's frames");
    for (std::uint32_t k = 0; k < length.keyframes; ++k)
        if (auto keyframe = level::decodeKeyframe(model.Frames, animation, k, moveable.MeshCount); !keyframe)
            report.add(where, name("keyframe", k) + ": " + keyframe.error());

    const auto frameIn = [&](std::size_t target, std::uint16_t frame) {
        return target < model.Animations.size() && frame >= model.Animations[target].FrameStart &&
               frame <= model.Animations[target].FrameEnd;
    };
    if (!frameIn(animation.NextAnimation, animation.NextFrame))
        report.add(where, "NextAnimation or NextFrame names no frame");
    if (std::size_t{animation.StateChangeOffset} + animation.StateChangeCount > model.StateChanges.size()) {
        report.add(where, "state changes run past StateChanges");
        return;
    }
    for (std::size_t s = 0; s < animation.StateChangeCount; ++s) {
        const auto& change = model.StateChanges[animation.StateChangeOffset + s];
        if (std::size_t{change.DispatchOffset} + change.DispatchCount > model.AnimDispatches.size()) {
            report.add(where, "dispatches run past AnimDispatches");
            continue;
        }
        for (std::size_t d = change.DispatchOffset; d < std::size_t{change.DispatchOffset} + change.DispatchCount; ++d) {
            const auto& dispatch = model.AnimDispatches[d];
            if (dispatch.Low > dispatch.High || !frameIn(a, dispatch.Low) || !frameIn(a, dispatch.High) ||
                !frameIn(dispatch.NextAnimation, dispatch.NextFrame))
                report.add(where, name("dispatch", d) + " names frames it does not have");
        }
    }
    if (animation.AnimCommandOffset % commandUnit != 0 ||
        !level::commandRunWords(model.AnimCommands, animation.AnimCommandOffset / commandUnit, animation.AnimCommandCount))
        report.add(where, "commands run past AnimCommands");
}

template <class Model>
void checkMoveables(const Model& model, std::size_t commandUnit, Report& report) {
    for (std::size_t m = 0; m < model.Moveables.size(); ++m) {
        const auto& moveable = model.Moveables[m];
        const std::string place = name("moveable", m);
        if (std::size_t{moveable.StartingMesh} + moveable.MeshCount > model.MeshPointers.size())
            report.add(place, "meshes run past MeshPointers");
        for (const level::MeshLink& link : level::meshTreeLinks(model.MeshTrees, moveable))
            if (!link.fault.empty())
                report.add(place, std::string(link.fault));
        const auto frames = level::moveableFrameBlock(model.Moveables, m, model.Frames.size());
        if (!frames || frames->start % 2 != 0) {
            report.add(place, "frames run outside Frames");
            continue;
        }
        const auto animations = level::moveableAnimations(model.Moveables, m, model.Animations.size());
        if (!animations) {
            report.add(place, animations.error());
            continue;
        }
        const std::size_t end = animations->first + animations->count;
        for (std::size_t a = animations->first; a < end; ++a)
            checkAnimation(model, a, moveable, *frames, end, commandUnit, place + ", " + name("animation", a), report);
    }
}

template <std::size_t N>
std::uint16_t wordAt(const level::Opaque<N>& record, std::size_t offset) {
    std::uint16_t value;
    std::memcpy(&value, record.data() + offset, 2);
    return value;
}

} // namespace

std::vector<std::string> tableProblems(const level::Tr4Level& level) {
    Report report;
    const auto meshes = checkMeshPointers(level, level::MeshKind::Level, report);
    checkMoveables(level, 1, report);
    for (std::size_t t = 0; t < level.ObjectTextures.size(); ++t)
        if ((level.ObjectTextures[t].Tile & 0x7FFF) >= level.PageCount)
            report.add(name("object texture", t), "lies on no page");
    const std::size_t textures = level.ObjectTextures.size();
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

std::vector<std::string> tableProblems(const wad::WadLibrary& library) {
    Report report;
    const auto meshes = checkMeshPointers(library, level::MeshKind::Library, report);
    checkMoveables(library, wad::kCommandOffsetBytesPerWord, report);
    const std::size_t pages = level::wholePages(library.TextureBytes.size(), wad::kWadPageBytes);
    for (std::size_t s = 0; s < library.TextureSamples.size(); ++s) {
        const auto& sample = library.TextureSamples[s];
        if (sample.Page >= pages || sample.X + sample.AddWidth > 255 || sample.Y + sample.AddHeight > 255)
            report.add(name("texture sample", s), "lies off its page");
    }
    for (const auto& mesh : meshes.meshes())
        for (const auto& polygon : mesh.Polygons)
            if (level::polygonCorners(polygon.Shape) > 0 &&
                static_cast<std::size_t>(level::libraryFaceTexture(polygon.Shape, polygon.Texture).sample) >=
                    library.TextureSamples.size())
                report.add(name("mesh at byte", mesh.Offset), "face names no texture sample");
    return report.take();
}

} // namespace veltrane::builders
