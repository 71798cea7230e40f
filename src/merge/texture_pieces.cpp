#include "merge/texture_pieces.h"

namespace veltrane::merge {

const TexturePiece* Lista_Texturas::find(const TexturePiece& key) const {
    const auto found = byKey_.find(keyOf(key));
    return found == byKey_.end() ? nullptr : &pieces_[found->second];
}

const TexturePiece& Lista_Texturas::add(TexturePiece piece) {
    piece.NewIndex = base_ + count();
    byKey_.emplace(keyOf(piece), pieces_.size());
    pieces_.push_back(piece);
    return pieces_.back();
}

std::vector<TexturePiece> Lista_Texturas::newestFirst() const { return {pieces_.rbegin(), pieces_.rend()}; }

std::uint64_t Lista_Texturas::keyOf(const TexturePiece& piece) {
    return std::uint64_t{static_cast<std::uint32_t>(piece.SourceIndex)} << 5 | std::uint64_t{piece.Orientation & 7} << 2 |
           std::uint64_t{piece.Mirror & 1u} << 1 | std::uint64_t{piece.AttributeFlag & 1u};
}

Lista_Texturas BeginTextureMerge(const level::Tr4Level& target) {
    return Lista_Texturas(static_cast<std::int32_t>(target.ObjectTextures.size()));
}

std::uint16_t RemapFaceTexture(Lista_Texturas& pieces, const wad::WadLibrary& library,
                               const level::MeshPolygon& face) {
    const std::int32_t t = static_cast<std::int16_t>(face.Texture);
    const bool quad = face.Shape == level::kShapeQuad;

    TexturePiece key;
    key.Orientation = quad ? 7u : static_cast<std::uint32_t>((t & 0x7000) >> 12);
    key.Mirror = (t & 0x8000) != 0 ? 1 : 0;
    key.AttributeFlag = (face.Attribute & 1) == 0 ? 1 : 0;
    std::int32_t source = t;
    if (quad && t < 0)
        source = -t; // a negative quad texture word names sample -t, mirrored
    else if (face.Shape == level::kShapeTriangle)
        source = t & 0x7FF;
    if (static_cast<std::uint32_t>(source) >= library.TextureSamples.size())
        source = 0;
    key.SourceIndex = source;

    if (const TexturePiece* found = pieces.find(key))
        return static_cast<std::uint16_t>(found->NewIndex);

    const wad::WadTextureSample& sample = library.TextureSamples[static_cast<std::size_t>(source)];
    key.Width = sample.AddWidth + 1;
    key.Height = sample.AddHeight + 1;
    key.SourcePage = sample.Page;
    key.SourceX = sample.X;
    key.SourceY = sample.Y;
    return static_cast<std::uint16_t>(pieces.add(key).NewIndex);
}

std::int32_t PieceCount(const Lista_Texturas& pieces) { return pieces.count(); }

} // namespace veltrane::merge
