#include "cli/info.h"

#include "io/file_io.h"
#include "io/memory_guard.h"
#include "level/file_kind.h"
#include "level/level_file.h"
#include "level/slot_names.h"
#include "wad/wad_library.h"

#include <cstdio>
#include <sstream>
#include <string_view>

namespace veltrane::cli {
namespace {

// " Name=SKELETON" for an object in a named slot; nothing past the game's slots.
std::string slotName(std::string_view name) { return name.empty() ? std::string() : " Name=" + std::string(name); }

template <class Records>
void listObjects(std::ostream& out, const Records& moveables, const auto& statics) {
    for (std::size_t i = 0; i < moveables.size(); ++i)
        out << "moveable " << i << ": ObjectId=" << moveables[i].ObjectId << " MeshCount=" << moveables[i].MeshCount
            << " Animation=" << moveables[i].Animation << slotName(level::moveableSlotName(moveables[i].ObjectId))
            << '\n';
    for (std::size_t i = 0; i < statics.size(); ++i)
        out << "static " << i << ": ObjectId=" << statics[i].ObjectId << " Mesh=" << statics[i].Mesh
            << slotName(level::staticSlotName(statics[i].ObjectId)) << '\n';
}

std::string versionText(std::uint32_t version) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%08X", version);
    std::string text = hex;
    std::string letters;
    for (int shift = 0; shift < 32; shift += 8) {
        const char c = static_cast<char>((version >> shift) & 0xFF);
        letters += (c >= 32 && c < 127) ? std::string(1, c) : (c == 0 ? "\\0" : "?");
    }
    return text + " (\"" + letters + "\")";
}

std::string describeLevel(const level::Tr4Level& level) {
    std::ostringstream out;
    out << "kind: level\n"
        << "Version: " << versionText(level.Version) << '\n'
        << "NumRoomPages: " << level.NumRoomPages << '\n'
        << "NumObjectPages: " << level.NumObjectPages << '\n'
        << "NumBumpPages: " << level.NumBumpPages << '\n'
        << "PageCount: " << level.PageCount << '\n'
        << "Pages32: " << level.Pages32.size() << " bytes, " << level.Pages32PackedSize << " packed\n"
        << "Pages16: " << level.Pages16.size() << " bytes, " << level.Pages16PackedSize << " packed\n"
        << "PagesMisc: " << level.PagesMisc.size() << " bytes, " << level.PagesMiscPackedSize << " packed\n"
        << "LevelData: " << level.LevelData.size() << " bytes, " << level.LevelDataPackedSize << " packed\n"
        << "SampleCount: " << level.SampleCount << '\n'
        << "Tail: " << level.Tail.size() << " bytes\n"
        << "tables:\n"
        << "  Rooms: " << level.Rooms.size() << '\n'
        << "  FloorData: " << level.FloorData.size() << '\n'
        << "  MeshWords: " << level.MeshWords.size() << '\n'
        << "  MeshPointers: " << level.MeshPointers.size() << '\n'
        << "  Animations: " << level.Animations.size() << '\n'
        << "  StateChanges: " << level.StateChanges.size() << '\n'
        << "  AnimDispatches: " << level.AnimDispatches.size() << '\n'
        << "  AnimCommands: " << level.AnimCommands.size() << '\n'
        << "  MeshTrees: " << level.MeshTrees.size() << '\n'
        << "  Frames: " << level.Frames.size() << '\n'
        << "  Moveables: " << level.Moveables.size() << '\n'
        << "  StaticMeshes: " << level.StaticMeshes.size() << '\n'
        << "  SpriteTextures: " << level.SpriteTextures.size() << '\n'
        << "  SpriteSequences: " << level.SpriteSequences.size() << '\n'
        << "  Cameras: " << level.Cameras.size() << '\n'
        << "  FlybyCameras: " << level.FlybyCameras.size() << '\n'
        << "  SoundSources: " << level.SoundSources.size() << '\n'
        << "  Boxes: " << level.Boxes.size() << '\n'
        << "  Overlaps: " << level.Overlaps.size() << '\n'
        << "  Zones: " << level.Zones.size() << '\n'
        << "  AnimatedTextures: " << level.AnimatedTextures.size() << '\n'
        << "  ObjectTextures: " << level.ObjectTextures.size() << '\n'
        << "  Items: " << level.Items.size() << '\n'
        << "  AiObjects: " << level.AiObjects.size() << '\n'
        << "  DemoData: " << level.DemoData.size() << '\n'
        << "  SoundDetails: " << level.SoundDetails.size() << '\n'
        << "  SampleIndices: " << level.SampleIndices.size() << '\n'
        << "  AfterEndMarker: " << level.AfterEndMarker.size() << " bytes\n";
    listObjects(out, level.Moveables, level.StaticMeshes);
    return out.str();
}

std::string describeLibrary(const wad::WadLibrary& library) {
    std::ostringstream out;
    out << "kind: library\n"
        << "Version: " << library.Version << '\n'
        << "PageCount: " << level::wholePages(library.TextureBytes.size(), wad::kWadPageBytes) << '\n'
        << "tables:\n"
        << "  TextureSamples: " << library.TextureSamples.size() << '\n'
        << "  TextureBytes: " << library.TextureBytes.size() << '\n'
        << "  MeshPointers: " << library.MeshPointers.size() << '\n'
        << "  MeshWords: " << library.MeshWords.size() << '\n'
        << "  Animations: " << library.Animations.size() << '\n'
        << "  StateChanges: " << library.StateChanges.size() << '\n'
        << "  AnimDispatches: " << library.AnimDispatches.size() << '\n'
        << "  AnimCommands: " << library.AnimCommands.size() << '\n'
        << "  MeshTrees: " << library.MeshTrees.size() << '\n'
        << "  Frames: " << library.Frames.size() << '\n'
        << "  Moveables: " << library.Moveables.size() << '\n'
        << "  StaticMeshes: " << library.StaticMeshes.size() << '\n';
    listObjects(out, library.Moveables, library.StaticMeshes);
    return out.str();
}

// A library is known by its extension, or else by its first word; anything else is taken for a level.
bool looksLikeLibrary(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    const auto extension = path.extension().string();
    if (extension == ".wad" || extension == ".WAD")
        return true;
    if (extension == ".tr4" || extension == ".TR4")
        return false;
    return level::recogniseFile(bytes) == level::FileKind::Library;
}

} // namespace

io::Outcome<std::string> describeFile(const std::filesystem::path& path) {
    using Result = io::Outcome<std::string>;
    return io::guardMemory("open", path, [&]() -> Result {
        auto bytes = io::readWholeFile(path);
        if (!bytes)
            return Result::failure(bytes.error());
        const std::string heading = "file: " + path.string() + "\n";
        const auto refused = [&](level::FileKind expected, const std::string& reason) {
            return Result::failure(level::openingFailure(path, bytes.value(), expected, reason));
        };
        if (looksLikeLibrary(path, bytes.value())) {
            auto library = wad::decodeLibrary(bytes.value());
            if (!library)
                return refused(level::FileKind::Library, library.error());
            return heading + describeLibrary(library.value());
        }
        auto decoded = level::decodeLevel(bytes.value());
        if (!decoded)
            return refused(level::FileKind::Level, decoded.error());
        return heading + describeLevel(decoded.value());
    });
}

} // namespace veltrane::cli
