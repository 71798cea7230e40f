#include "merge/texture_pieces.h"

#include "merge_fixture.h"

#include <gtest/gtest.h>

namespace veltrane::merge {
namespace {

using testing::otherShape;
using testing::quad;
using testing::SourceFixture;
using testing::triangle;

class FaceKeyTest : public ::testing::Test {
protected:
    FaceKeyTest() {
        for (std::uint8_t i = 0; i < 8; ++i)
            source.addSample(static_cast<std::uint8_t>(10 * i), static_cast<std::uint8_t>(i), 1, i + 1, 2 * i + 1);
    }
    // The piece that a face alone makes.
    TexturePiece pieceFor(const level::MeshPolygon& face) {
        Lista_Texturas pieces(0);
        RemapFaceTexture(pieces, source.library, face);
        return pieces.newestFirst().at(0);
    }
    SourceFixture source;
};

TEST_F(FaceKeyTest, QuadTakesOrientationSevenAndANegativeWordNamesAMirroredSample) {
    const TexturePiece piece = pieceFor(quad(static_cast<std::uint16_t>(-5)));
    EXPECT_EQ(piece.SourceIndex, 5);
    EXPECT_EQ(piece.Mirror, 1);
    EXPECT_EQ(piece.Orientation, 7u);
    // The sample's fields are copied into the piece.
    EXPECT_EQ(piece.SourceX, 50u);
    EXPECT_EQ(piece.SourceY, 5u);
    EXPECT_EQ(piece.SourcePage, 1u);
    EXPECT_EQ(piece.Width, 6);
    EXPECT_EQ(piece.Height, 11);
}

TEST_F(FaceKeyTest, TriangleIndexIsTheLowElevenBitsAndOrientationBitsTwelveToFourteen) {
    const TexturePiece piece = pieceFor(triangle(0xA803)); // mirror, orientation 2, bit 11, sample 3
    EXPECT_EQ(piece.SourceIndex, 3);
    EXPECT_EQ(piece.Orientation, 2u);
    EXPECT_EQ(piece.Mirror, 1);
}

TEST_F(FaceKeyTest, AttributeFlagIsSetWhenBitZeroOfTheAttributeIsClear) {
    EXPECT_EQ(pieceFor(quad(1, 2)).AttributeFlag, 1);
    EXPECT_EQ(pieceFor(quad(1, 3)).AttributeFlag, 0);
}

TEST_F(FaceKeyTest, AnIndexOutsideTheSamplesTakesSampleZero) {
    EXPECT_EQ(pieceFor(quad(8)).SourceIndex, 0);
    // Another shape uses the word as it stands: a negative one reads as a huge unsigned index.
    const TexturePiece other = pieceFor(otherShape(5, 0x9000));
    EXPECT_EQ(other.SourceIndex, 0);
    EXPECT_EQ(other.Orientation, 1u);
    EXPECT_EQ(other.Mirror, 1);
}

TEST_F(FaceKeyTest, FacesWithOneKeyShareAPieceAndNewPiecesAreNumberedFromTheBase) {
    Lista_Texturas pieces = BeginTextureMerge([] {
        level::Tr4Level target;
        target.ObjectTextures.resize(40);
        return target;
    }());
    EXPECT_EQ(pieces.base(), 40);
    EXPECT_EQ(RemapFaceTexture(pieces, source.library, quad(2)), 40);
    EXPECT_EQ(RemapFaceTexture(pieces, source.library, triangle(2)), 41); // another orientation
    EXPECT_EQ(RemapFaceTexture(pieces, source.library, quad(2)), 40);
    EXPECT_EQ(RemapFaceTexture(pieces, source.library, quad(static_cast<std::uint16_t>(-2))), 42); // mirrored
    EXPECT_EQ(PieceCount(pieces), 3);

    const auto newestFirst = pieces.newestFirst();
    ASSERT_EQ(newestFirst.size(), 3u);
    EXPECT_EQ(newestFirst[0].NewIndex, 42);
    EXPECT_EQ(newestFirst[2].NewIndex, 40);
}

} // namespace
} // namespace veltrane::merge
