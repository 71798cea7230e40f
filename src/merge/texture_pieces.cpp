#include "merge/texture_pieces.h"

#include <algorithm>

namespace veltrane::merge {

const TexturePiece* Lista_Texturas::find(const TexturePiece& key) const {
    const std::size_t at = keyOf(key);
    return at < byKey_.size() && byKey_[at] != 0 ? &pieces_[byKey_[at] - 1] : nullptr;
}

const TexturePiece& Lista_Texturas::add(TexturePiece piece) {
    piece.NewIndex = base_ + count();
    const std::size_t at = keyOf(piece);
    if (at >= byKey_.size())
        byKey_.resize(std::max(at + 1, 2 * byKey_.size()));
    byKey_[at] = static_cast<std::uint32_t>(pieces_.size() + 1);
    pieces_.push_back(piece);
    return pieces_.back();
}

std::vector<TexturePiece> Lista_Texturas::newestFirst() const { return {pieces_.rbegin(), pieces_.rend()}; }

std::size_t Lista_Texturas::keyOf(const TexturePiece& piece) {
    return std::size_t{static_cast<std::uint32_t>(piece.SourceIndex)} << 5 | std::size_t{piece.Orientation & 7} << 2 |
           std::size_t{piece.Mirror & 1u} << 1 | std::size_t{piece.AttributeFlag & 1u};
}

Lista_Texturas BeginTextureMerge(const level::Tr4Level& target) {
    return Lista_Texturas(static_cast<std::int32_t>(target.ObjectTextures.size()));
}

std::uint16_t RemapFaceTexture(Lista_Texturas& pieces, const wad::WadLibrary& library,
                               const level::MeshPolygon& face) {
    const level::LibraryFaceTexture texture = level::libraryFaceTexture(face.Shape, face.Texture);
    TexturePiece key;
    key.Orientation = texture.orientation;
    key.Mirror = texture.mirrored ? 1 : 0;
    key.AttributeFlag = (face.Attribute & 1) == 0 ? 1 : 0;
    // A face that names no sample of the library shows sample 0.
    key.SourceIndex = static_cast<std::uint32_t>(texture.sample) < library.TextureSamples.size() ? texture.sample : 0;

    if (const TexturePiece* found = pieces.find(key))
        return static_cast<std::uint16_t>(found->NewIndex);

    const wad::WadTextureSample& sample = library.TextureSamples[static_cast<std::size_t>(key.SourceIndex)];
    key.Width = sample.AddWidth + 1;
    key.Height = sample.AddHeight + 1;
    key.SourcePage = sample.Page;
    key.SourceX = sample.X;
    key.SourceY = sample.Y;
    return static_cast<std::uint16_t>(pieces.add(key).NewIndex);
}

std::int32_t PieceCount(const Lista_Texturas& pieces) { return pieces.count(); }

} // namespace veltrane::merge
