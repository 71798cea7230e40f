#include "builders/wad_writer.h"

#include "io/byte_writer.h"

#include <limits>
#include <stdexcept>

namespace veltrane::builders {
namespace {

std::uint32_t count(std::size_t size) {
    if (size > std::numeric_limits<std::uint32_t>::max())
        throw std::logic_error("a library table is too long for its 32-bit count");
    return static_cast<std::uint32_t>(size);
}

template <class T>
void table(io::ByteWriter& out, const std::vector<T>& values) {
    out.u32(count(values.size()));
    out.array(values);
}

template <class Record>
void recordTable(io::ByteWriter& out, const std::vector<Record>& values) {
    out.u32(count(values.size()));
    out.records(values);
}

} // namespace

wad::WadLibrary emptyLibrary() {
    wad::WadLibrary library;
    library.Version = wad::kWadVersion;
    return library;
}

std::vector<std::uint8_t> encodeLibrary(const wad::WadLibrary& library) {
    io::ByteWriter out(52 + library.TextureBytes.size() + library.MeshWords.size() * 2 + library.Frames.size() * 2);
    out.u32(library.Version);
    recordTable(out, library.TextureSamples);
    table(out, library.TextureBytes);
    table(out, library.MeshPointers);
    table(out, library.MeshWords);
    recordTable(out, library.Animations);
    recordTable(out, library.StateChanges);
    recordTable(out, library.AnimDispatches);
    table(out, library.AnimCommands);
    table(out, library.MeshTrees);
    table(out, library.Frames);
    recordTable(out, library.Moveables);
    recordTable(out, library.StaticMeshes);
    return out.take();
}

} // namespace veltrane::builders
