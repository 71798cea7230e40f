#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace veltrane::level {

struct MeshVector {
    std::int16_t x = 0;
    std::int16_t y = 0;
    std::int16_t z = 0;
    bool operator==(const MeshVector&) const = default;
};

// Level-form faces.
struct MeshRectangle {
    std::array<std::uint16_t, 4> Vertices{};
    std::uint16_t Texture = 0;
    std::uint16_t Attribute = 0;
    bool operator==(const MeshRectangle&) const = default;
};

struct MeshTriangle {
    std::array<std::uint16_t, 3> Vertices{};
    std::uint16_t Texture = 0;
    std::uint16_t Attribute = 0;
    bool operator==(const MeshTriangle&) const = default;
};

// Library-form face: shape 8 is a triangle, 9 a quad; other shapes carry no vertex indices.
constexpr std::uint16_t kShapeTriangle = 8;
constexpr std::uint16_t kShapeQuad = 9;

// The vertex indices a library face of `shape` carries.
constexpr std::size_t polygonCorners(std::uint16_t shape) {
    return shape == kShapeTriangle ? 3 : shape == kShapeQuad ? 4 : 0;
}

// What the texture word of a library face names. A quad's word is the texture sample, or its negative
// for the sample mirrored left to right; a triangle's word names the sample in bits 0-10, the corner
// of its right angle in bits 12-14 and a mirror in bit 15. A face of another shape reads its word as
// a triangle's but keeps it whole, sign included, as the sample.
struct LibraryFaceTexture {
    std::int32_t sample = 0;
    std::uint32_t orientation = 0; // 0 to 7; 7 for a quad
    bool mirrored = false;
};
// Inline: a merge reads the word of every face it copies.
inline LibraryFaceTexture libraryFaceTexture(std::uint16_t shape, std::uint16_t textureWord) {
    const std::int32_t word = static_cast<std::int16_t>(textureWord);
    LibraryFaceTexture texture;
    texture.mirrored = (textureWord & 0x8000) != 0;
    if (shape == kShapeQuad) {
        texture.orientation = 7;
        texture.sample = word < 0 ? -word : word;
    } else {
        texture.orientation = (textureWord & 0x7000u) >> 12;
        texture.sample = shape == kShapeTriangle ? word & 0x7FF : word;
    }
    return texture;
}

struct MeshPolygon {
    std::uint16_t Shape = 0;
    std::array<std::uint16_t, 4> Vertices{}; // the fourth is unused for a triangle
    std::uint16_t Texture = 0;
    std::uint8_t Attribute = 0;
    std::uint8_t Further = 0;
    bool operator==(const MeshPolygon&) const = default;
};

enum class MeshKind : std::int32_t { Level = 1, Library = 2 };

// One parsed mesh. Counts are held as read: a negative normal count means shades follow instead.
struct MeshRecord {
    std::uint32_t Offset = 0; // byte offset of the mesh in its block (for a merged mesh: in the rebuilt block)
    MeshVector Centre;
    std::int32_t Radius = 0;
    std::int16_t NumVertices = 0;
    std::vector<MeshVector> Vertices;
    std::int16_t NumNormals = 0;
    std::vector<MeshVector> Normals;
    std::int16_t NumPolygons = 0;
    std::vector<MeshPolygon> Polygons; // library form only
    std::vector<std::int16_t> Shades;
    std::int16_t NumRectangles = 0;
    std::vector<MeshRectangle> Rectangles; // level form only
    std::int16_t NumTriangles = 0;
    std::vector<MeshTriangle> Triangles; // level form only
    std::optional<std::uint16_t> PadWord;

    bool operator==(const MeshRecord&) const = default;
};

// Bytes the mesh takes in a level-form block: 14 + 6 per vertex + normals (6 each) or shades (2 each)
// + 4 + 12 per rectangle + 10 per triangle, rounded up to a multiple of 4 by a pad word.
std::uint32_t levelFormSize(const MeshRecord& mesh);
// The same rule without the face terms, as a library-form list totals its meshes.
std::uint32_t libraryFormSize(const MeshRecord& mesh);
// Whether the mesh's record in the form of `kind` ends with a pad word: its bytes before one (a library
// face takes 6 bytes besides its corners, 2 each) are not a multiple of 4.
bool takesPadWord(const MeshRecord& mesh, MeshKind kind);

// The ordered meshes of one file, with their count and total size by the size rule of the list's kind.
class Lista_Mesh {
public:
    explicit Lista_Mesh(MeshKind kind) : kind_(kind) {}

    // Room for `count` records in all, so that appending up to there moves none of them.
    void reserve(std::size_t count) { meshes_.reserve(count); }
    // Puts the record at the end and returns its size by the list's rule.
    std::int32_t append(MeshRecord record);
    // The record at `index`, or null at or past the end.
    [[nodiscard]] const MeshRecord* get(std::int32_t index) const;
    // Position of the first record whose Offset is `offset`, or -1.
    [[nodiscard]] std::int32_t MeshIndexOf(std::uint32_t offset) const;

    [[nodiscard]] std::int32_t count() const { return static_cast<std::int32_t>(meshes_.size()); }
    [[nodiscard]] std::int32_t totalSize() const { return totalSize_; }
    [[nodiscard]] MeshKind kind() const { return kind_; }
    [[nodiscard]] const std::vector<MeshRecord>& meshes() const { return meshes_; }

    // The list as it stands, so that the records appended after this can be taken off again.
    struct Mark {
        std::int32_t count = 0;
        std::int32_t totalSize = 0;
        std::uint32_t sizeAfterKept = 0;
        bool offsetsAscend = true;
        bool operator==(const Mark&) const = default;
    };
    [[nodiscard]] Mark mark() const { return {count(), totalSize_, sizeAfterKept_, offsetsAscend_}; }
    // Takes off the records appended since `mark`, in order; appending them again gives the same list.
    std::vector<MeshRecord> takeSince(const Mark& mark);
    // The same, dropping the records: asks for no memory.
    void truncate(const Mark& mark);

    // Where the next mesh appended to a level's list will start in the rebuilt block.
    [[nodiscard]] std::uint32_t nextOffset() const;

    // A level block whose meshes do not tile it exactly (bytes left over after the last whole mesh)
    // is kept byte for byte; the first `keptMeshes` records live inside it and later ones follow it.
    void keepOriginalBlock(std::vector<std::uint8_t> block, std::int32_t keptMeshes);
    [[nodiscard]] const std::vector<std::uint8_t>& keptBlock() const { return keptBlock_; }
    [[nodiscard]] std::int32_t keptMeshes() const { return keptMeshes_; }

    bool operator==(const Lista_Mesh&) const = default;

private:
    MeshKind kind_;
    std::vector<MeshRecord> meshes_;
    std::int32_t totalSize_ = 0;
    std::vector<std::uint8_t> keptBlock_;
    std::int32_t keptMeshes_ = 0;
    std::uint32_t sizeAfterKept_ = 0; // level-form bytes of the records after the kept ones
    bool offsetsAscend_ = true;
};

} // namespace veltrane::level
