#include "merge/texture_pieces.h"

#include "merge_fixture.h"

#include <gtest/gtest.h>

namespace veltrane::merge {
namespace {

using testing::quad;
using testing::triangle;

class TexturePiecesTest : public ::testing::Test {
protected:
    TexturePiecesTest() {
        for (std::uint8_t i = 0; i < 8; ++i)
            source.addSample(static_cast<std::uint8_t>(10 * i), static_cast<std::uint8_t>(i), 1, i + 1, 2 * i + 1);
    }
    // The piece that a face alone makes.
    TexturePiece pieceFor(const level::MeshPolygon& face) {
        Lista_Texturas pieces(0);
        RemapFaceTexture(pieces, source.library, face);
        return pieces.newestFirst().at(0);
    }
    testing::SourceFixture source;
};

TEST_F(TexturePiecesTest, APieceTakesItsFacesKeyAndItsSamplesRectangle) {
    const TexturePiece mirrored = pieceFor(quad(static_cast<std::uint16_t>(-5)));
    EXPECT_EQ(mirrored, (TexturePiece{0, 5, 6, 11, 1, 50, 5, 7, 1, 1}));
    EXPECT_EQ(pieceFor(triangle(0xA803, 3)), (TexturePiece{0, 3, 4, 7, 1, 30, 3, 2, 1, 0}));
    EXPECT_EQ(pieceFor(triangle(0x4807)), (TexturePiece{0, 7, 8, 15, 1, 70, 7, 4, 0, 1})) << "orientation 4, sample 7";
    EXPECT_EQ(pieceFor(quad(8)).SourceIndex, 0) << "a sample the library does not have reads as sample 0";
    EXPECT_EQ(pieceFor({5, {}, 0x9000, 0, 0}).SourceIndex, 0) << "another shape's negative word names no sample";
}

TEST_F(TexturePiecesTest, FacesWithOneKeyShareAPieceAndNewPiecesAreNumberedFromTheBase) {
    level::Tr4Level target;
    target.ObjectTextures.resize(40);
    Lista_Texturas pieces = BeginTextureMerge(target);
    EXPECT_EQ(pieces.base(), 40);
    EXPECT_EQ(RemapFaceTexture(pieces, source.library, quad(2)), 40);
    EXPECT_EQ(RemapFaceTexture(pieces, source.library, triangle(2)), 41); // another orientation
    EXPECT_EQ(RemapFaceTexture(pieces, source.library, quad(2)), 40);
    EXPECT_EQ(RemapFaceTexture(pieces, source.library, quad(static_cast<std::uint16_t>(-2))), 42); // mirrored
    EXPECT_EQ(RemapFaceTexture(pieces, source.library, quad(2, 1)), 43); // blended
    EXPECT_EQ(PieceCount(pieces), 4);
    const auto newestFirst = pieces.newestFirst();
    EXPECT_EQ(newestFirst.front().NewIndex, 43);
    EXPECT_EQ(newestFirst.back().NewIndex, 40);
}

} // namespace
} // namespace veltrane::merge
