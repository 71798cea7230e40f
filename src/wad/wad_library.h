#pragma once

#include "io/outcome.h"
#include "level/records.h"

#include <cstdint>
#include <span>
#include <vector>

namespace veltrane::wad {

// One rectangle of texels on one library page.
struct WadTextureSample {
    static constexpr std::size_t kSize = 8;
    std::uint8_t X = 0;         // left texel column
    std::uint8_t Y = 0;         // top texel row
    std::uint16_t Page = 0;     // page in TextureBytes, from 0
    std::uint8_t Unused4 = 0;   // not used by Veltrane
    std::uint8_t AddWidth = 0;  // width in texels - 1
    std::uint8_t Unused6 = 0;   // not used by Veltrane
    std::uint8_t AddHeight = 0; // height in texels - 1

    void read(io::ByteReader& in) {
        X = in.u8("texture sample");
        Y = in.u8("texture sample");
        Page = in.u16("texture sample");
        Unused4 = in.u8("texture sample");
        AddWidth = in.u8("texture sample");
        Unused6 = in.u8("texture sample");
        AddHeight = in.u8("texture sample");
    }
    void write(io::ByteWriter& out) const {
        out.u8(X);
        out.u8(Y);
        out.u16(Page);
        out.u8(Unused4);
        out.u8(AddWidth);
        out.u8(Unused6);
        out.u8(AddHeight);
    }
    bool operator==(const WadTextureSample&) const = default;
};

constexpr std::uint32_t kWadVersion = 129;
// A library page is 256 x 256 texels of R, G, B; 255, 0, 255 marks a transparent texel.
constexpr std::size_t kWadPageBytes = 256 * 256 * 3;

// An object library of the level editor: the version word and its twelve tables in file order.
// Indices inside it refer to its own tables; an animation's AnimCommandOffset is a byte offset.
struct WadLibrary {
    std::uint32_t Version = 0;
    std::vector<WadTextureSample> TextureSamples;
    std::vector<std::uint8_t> TextureBytes;
    std::vector<std::uint32_t> MeshPointers;
    std::vector<std::uint16_t> MeshWords; // library-form mesh block
    std::vector<level::Tr4Animation> Animations;
    std::vector<level::Tr4StateChange> StateChanges;
    std::vector<level::Tr4AnimDispatch> AnimDispatches;
    std::vector<std::uint16_t> AnimCommands;
    std::vector<std::uint32_t> MeshTrees; // four words a link
    std::vector<std::uint16_t> Frames;
    std::vector<level::Tr4Moveable> Moveables;
    std::vector<level::Tr4StaticMesh> StaticMeshes;

    bool operator==(const WadLibrary&) const = default;
};

// A library's AnimCommandOffset counts bytes of AnimCommands, two a command word (a level's counts words).
constexpr std::size_t kCommandOffsetBytesPerWord = 2;

// Reads a library. Refuses a version other than 129 and a file that ends before its twelve tables do,
// with a message saying what is wrong and where. Given `textureBytes`, the texture bytes are not copied
// into the library: the span takes them where they lie in `file`.
io::Outcome<WadLibrary> decodeLibrary(std::span<const std::uint8_t> file,
                                      std::span<const std::uint8_t>* textureBytes = nullptr);

// The bytes of a .wad file: the version word, then the twelve tables in file order, each a 32-bit
// count and its elements. Throws io::FormatError for a table too long for its count.
std::vector<std::uint8_t> encodeLibrary(const WadLibrary& library);

} // namespace veltrane::wad
