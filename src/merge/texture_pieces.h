#pragma once

#include "level/mesh_record.h"
#include "level/tr4_level.h"
#include "wad/wad_library.h"

#include <cstdint>
#include <vector>

namespace veltrane::merge {

// One object texture that a merge creates: the library rectangle a face shows, and which corners of
// it the face's vertices take.
struct TexturePiece {
    std::int32_t NewIndex = 0;      // its index in the target's ObjectTextures
    std::int32_t SourceIndex = 0;   // index into the library's TextureSamples
    std::int32_t Width = 0;         // 1 to 256 texels
    std::int32_t Height = 0;        // 1 to 256 texels
    std::uint32_t SourcePage = 0;   // page of the source page set
    std::uint32_t SourceX = 0;      // left texel column on that page
    std::uint32_t SourceY = 0;      // top texel row on that page
    std::uint32_t Orientation = 0;  // 0 to 7; 7 for a quad
    std::uint8_t Mirror = 0;        // 1: corners taken in mirrored order
    std::uint8_t AttributeFlag = 0; // 1 when bit 0 of the face's attribute byte is clear

    bool operator==(const TexturePiece&) const = default;
};

// The pieces of one merge operation. Faces that agree on (SourceIndex, Orientation, Mirror,
// AttributeFlag) share one piece; pieces are numbered from the base in the order they are first met.
class Lista_Texturas {
public:
    explicit Lista_Texturas(std::int32_t base) : base_(base) {}

    [[nodiscard]] std::int32_t base() const { return base_; }
    [[nodiscard]] std::int32_t count() const { return static_cast<std::int32_t>(pieces_.size()); }

    // The piece whose four key fields equal those of `key`, or null.
    [[nodiscard]] const TexturePiece* find(const TexturePiece& key) const;
    // Adds `piece` as the newest, numbered base + count.
    const TexturePiece& add(TexturePiece piece);
    // Every piece, the newest first.
    [[nodiscard]] std::vector<TexturePiece> newestFirst() const;

private:
    static std::size_t keyOf(const TexturePiece& piece);

    std::int32_t base_;
    std::vector<TexturePiece> pieces_; // oldest first
    // For each key, 1 + the index of its piece, or 0. A piece is only made when no piece has its key, so
    // keys are unique and the table finds the same piece that a scan from the newest would. Keys are
    // dense (a sample index and five bits), so a plain table finds a face's piece at once.
    std::vector<std::uint32_t> byKey_;
};

// An empty piece list whose base is the target's current object-texture count.
Lista_Texturas BeginTextureMerge(const level::Tr4Level& target);

// The object-texture index that a converted copy of `face` takes: the NewIndex of the piece for the
// face's key, made now if the list has none. The library must hold at least one texture sample.
std::uint16_t RemapFaceTexture(Lista_Texturas& pieces, const wad::WadLibrary& library,
                               const level::MeshPolygon& face);

// The number of pieces in the list.
std::int32_t PieceCount(const Lista_Texturas& pieces);

} // namespace veltrane::merge
