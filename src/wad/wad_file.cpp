#include "io/byte_reader.h"
#include "io/format_error.h"
#include "wad/wad_library.h"

#include <string>

namespace veltrane::wad {

io::Outcome<WadLibrary> decodeLibrary(std::span<const std::uint8_t> file, std::span<const std::uint8_t>* textureBytes) {
    using Result = io::Outcome<WadLibrary>;
    WadLibrary library;
    try {
        io::within("library", [&] {
            io::ByteReader in(file, "file");
            library.Version = in.u32("version");
            if (library.Version != kWadVersion)
                throw io::FormatError("version is " + std::to_string(library.Version) + ", not " +
                                      std::to_string(kWadVersion));
            library.TextureSamples = in.countedRecords<WadTextureSample>("texture samples");
            const auto textures = in.countedBytes("texture bytes");
            if (textureBytes != nullptr)
                *textureBytes = textures;
            else
                library.TextureBytes.assign(textures.begin(), textures.end());
            library.MeshPointers = in.countedArray<std::uint32_t>("mesh pointers");
            library.MeshWords = in.countedArray<std::uint16_t>("mesh words");
            library.Animations = in.countedRecords<level::Tr4Animation>("animations");
            library.StateChanges = in.countedRecords<level::Tr4StateChange>("state changes");
            library.AnimDispatches = in.countedRecords<level::Tr4AnimDispatch>("anim dispatches");
            library.AnimCommands = in.countedArray<std::uint16_t>("anim commands");
            library.MeshTrees = in.countedArray<std::uint32_t>("mesh trees");
            library.Frames = in.countedArray<std::uint16_t>("frames");
            library.Moveables = in.countedRecords<level::Tr4Moveable>("moveables");
            library.StaticMeshes = in.countedRecords<level::Tr4StaticMesh>("static meshes");
        });
    } catch (const io::FormatError& error) {
        return Result::failure(error.what());
    }
    return library;
}

std::vector<std::uint8_t> encodeLibrary(const WadLibrary& library) {
    io::ByteWriter out(52 + library.TextureBytes.size() + library.MeshWords.size() * 2 + library.Frames.size() * 2);
    out.u32(library.Version);
    out.countedRecords(library.TextureSamples, "texture samples");
    out.countedArray(library.TextureBytes, "texture bytes");
    out.countedArray(library.MeshPointers, "mesh pointers");
    out.countedArray(library.MeshWords, "mesh words");
    out.countedRecords(library.Animations, "animations");
    out.countedRecords(library.StateChanges, "state changes");
    out.countedRecords(library.AnimDispatches, "anim dispatches");
    out.countedArray(library.AnimCommands, "anim commands");
    out.countedArray(library.MeshTrees, "mesh trees");
    out.countedArray(library.Frames, "frames");
    out.countedRecords(library.Moveables, "moveables");
    out.countedRecords(library.StaticMeshes, "static meshes");
    return out.take();
}

} // namespace veltrane::wad
