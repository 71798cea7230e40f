#include "cli/file_summary.h"

#include "io/file_io.h"
#include "io/memory_guard.h"
#include "level/file_kind.h"
#include "level/level_file.h"
#include "level/slot_names.h"
#include "wad/wad_library.h"

namespace veltrane::cli {
namespace {

template <class Records>
void listObjects(FileSummary& summary, const Records& moveables, const auto& statics) {
    for (std::size_t i = 0; i < moveables.size(); ++i) {
        const auto& moveable = moveables[i];
        summary.moveables.push_back({i, moveable.ObjectId, moveable.MeshCount,
                                     moveable.Animation == level::kNoAnimation
                                         ? std::nullopt
                                         : std::optional<std::uint16_t>(moveable.Animation),
                                     level::moveableSlotName(moveable.ObjectId)});
    }
    for (std::size_t i = 0; i < statics.size(); ++i)
        summary.statics.push_back(
            {i, statics[i].ObjectId, statics[i].Mesh, level::staticSlotName(statics[i].ObjectId)});
}

void summariseLevel(FileSummary& summary, const level::Tr4Level& level) {
    summary.Version = level.Version;
    summary.header = {{"NumRoomPages", level.NumRoomPages},
                      {"NumObjectPages", level.NumObjectPages},
                      {"NumBumpPages", level.NumBumpPages},
                      {"SampleCount", level.SampleCount}};
    summary.PageCount = level.PageCount;
    summary.chunks = {{"Pages32", level.Pages32.size(), level.Pages32PackedSize},
                      {"Pages16", level.Pages16.size(), level.Pages16PackedSize},
                      {"PagesMisc", level.PagesMisc.size(), level.PagesMiscPackedSize},
                      {"LevelData", level.LevelData.size(), level.LevelDataPackedSize}};
    summary.tailBytes = level.Tail.size();
    summary.tables = {{"Rooms", level.Rooms.size()},
                      {"FloorData", level.FloorData.size()},
                      {"MeshWords", level.MeshWords.size()},
                      {"MeshPointers", level.MeshPointers.size()},
                      {"Animations", level.Animations.size()},
                      {"StateChanges", level.StateChanges.size()},
                      {"AnimDispatches", level.AnimDispatches.size()},
                      {"AnimCommands", level.AnimCommands.size()},
                      {"MeshTrees", level.MeshTrees.size()},
                      {"Frames", level.Frames.size()},
                      {"Moveables", level.Moveables.size()},
                      {"StaticMeshes", level.StaticMeshes.size()},
                      {"SpriteTextures", level.SpriteTextures.size()},
                      {"SpriteSequences", level.SpriteSequences.size()},
                      {"Cameras", level.Cameras.size()},
                      {"FlybyCameras", level.FlybyCameras.size()},
                      {"SoundSources", level.SoundSources.size()},
                      {"Boxes", level.Boxes.size()},
                      {"Overlaps", level.Overlaps.size()},
                      {"Zones", level.Zones.size()},
                      {"AnimatedTextures", level.AnimatedTextures.size()},
                      {"ObjectTextures", level.ObjectTextures.size()},
                      {"Items", level.Items.size()},
                      {"AiObjects", level.AiObjects.size()},
                      {"DemoData", level.DemoData.size()},
                      {"SoundDetails", level.SoundDetails.size()},
                      {"SampleIndices", level.SampleIndices.size()},
                      {"AfterEndMarker", level.AfterEndMarker.size()}};
    listObjects(summary, level.Moveables, level.StaticMeshes);
}

void summariseLibrary(FileSummary& summary, const wad::WadLibrary& library, std::size_t textureBytes) {
    summary.library = true;
    summary.Version = library.Version;
    summary.PageCount = level::wholePages(textureBytes, wad::kWadPageBytes);
    summary.tables = {{"TextureSamples", library.TextureSamples.size()},
                      {"TextureBytes", textureBytes},
                      {"MeshPointers", library.MeshPointers.size()},
                      {"MeshWords", library.MeshWords.size()},
                      {"Animations", library.Animations.size()},
                      {"StateChanges", library.StateChanges.size()},
                      {"AnimDispatches", library.AnimDispatches.size()},
                      {"AnimCommands", library.AnimCommands.size()},
                      {"MeshTrees", library.MeshTrees.size()},
                      {"Frames", library.Frames.size()},
                      {"Moveables", library.Moveables.size()},
                      {"StaticMeshes", library.StaticMeshes.size()}};
    listObjects(summary, library.Moveables, library.StaticMeshes);
}

bool looksLikeLibrary(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    const auto extension = path.extension().string();
    if (extension == ".wad" || extension == ".WAD")
        return true;
    if (extension == ".tr4" || extension == ".TR4")
        return false;
    return level::recogniseFile(bytes) == level::FileKind::Library;
}

} // namespace

io::Outcome<FileSummary> summariseFile(const std::filesystem::path& path) {
    using Result = io::Outcome<FileSummary>;
    return io::guardMemory("open", path, [&]() -> Result {
        auto bytes = io::readWholeFile(path);
        if (!bytes)
            return Result::failure(bytes.error());
        const auto refused = [&](level::FileKind expected, const std::string& reason) {
            return Result::failure(level::openingFailure(path, bytes.value(), expected, reason));
        };
        FileSummary summary;
        summary.file = path;
        if (looksLikeLibrary(path, bytes.value())) {
            // Only counted: the pages stay in the file's bytes.
            std::span<const std::uint8_t> textureBytes;
            auto library = wad::decodeLibrary(bytes.value(), &textureBytes);
            if (!library)
                return refused(level::FileKind::Library, library.error());
            summariseLibrary(summary, library.value(), textureBytes.size());
            return summary;
        }
        // Only summarised, never saved: the chunks' streams need not be kept.
        auto decoded = level::decodeLevel(bytes.value(), io::hardwareThreads(), false);
        if (!decoded)
            return refused(level::FileKind::Level, decoded.error());
        summariseLevel(summary, decoded.value());
        return summary;
    });
}

} // namespace veltrane::cli
