#include "io/byte_reader.h"
#include "io/file_io.h"
#include "io/format_error.h"
#include "wad/wad_library.h"

#include <string>

namespace veltrane::wad {
namespace {

template <class T>
std::vector<T> table(io::ByteReader& in, std::string_view name) {
    const std::uint32_t count = in.u32(std::string(name) + " count");
    return in.array<T>(count, name);
}

template <class Record>
std::vector<Record> recordTable(io::ByteReader& in, std::string_view name) {
    const std::uint32_t count = in.u32(std::string(name) + " count");
    return in.records<Record>(count, name);
}

} // namespace

io::Outcome<WadLibrary> decodeLibrary(std::span<const std::uint8_t> file) {
    using Result = io::Outcome<WadLibrary>;
    WadLibrary library;
    try {
        io::within("library", [&] {
            io::ByteReader in(file, "file");
            library.Version = in.u32("version");
            if (library.Version != kWadVersion)
                throw io::FormatError("version is " + std::to_string(library.Version) + ", not " +
                                      std::to_string(kWadVersion));
            library.TextureSamples = recordTable<WadTextureSample>(in, "texture samples");
            library.TextureBytes = table<std::uint8_t>(in, "texture bytes");
            library.MeshPointers = table<std::uint32_t>(in, "mesh pointers");
            library.MeshWords = table<std::uint16_t>(in, "mesh words");
            library.Animations = recordTable<level::Tr4Animation>(in, "animations");
            library.StateChanges = recordTable<level::Tr4StateChange>(in, "state changes");
            library.AnimDispatches = recordTable<level::Tr4AnimDispatch>(in, "anim dispatches");
            library.AnimCommands = table<std::uint16_t>(in, "anim commands");
            library.MeshTrees = table<std::uint32_t>(in, "mesh trees");
            library.Frames = table<std::uint16_t>(in, "frames");
            library.Moveables = recordTable<level::Tr4Moveable>(in, "moveables");
            library.StaticMeshes = recordTable<level::Tr4StaticMesh>(in, "static meshes");
        });
    } catch (const io::FormatError& error) {
        return Result::failure(error.what());
    }
    return library;
}

io::Outcome<WadLibrary> readLibrary(const std::filesystem::path& path) {
    auto file = io::readWholeFile(path);
    if (!file)
        return io::Outcome<WadLibrary>::failure(file.error());
    return decodeLibrary(file.value());
}

} // namespace veltrane::wad
