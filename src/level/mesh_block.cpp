#include "level/mesh_block.h"

#include "io/byte_writer.h"
#include "io/format_error.h"

#include <algorithm>
#include <cstring>

namespace veltrane::level {
namespace {

MeshRecord readMesh(MeshReader& in, MeshKind kind) {
    const std::size_t start = in.position();
    MeshRecord mesh;
    mesh.Offset = static_cast<std::uint32_t>(start);
    mesh.Centre = {in.i16("centre"), in.i16("centre"), in.i16("centre")};
    mesh.Radius = in.i32("radius");
    mesh.NumVertices = in.i16("vertex count");
    if (mesh.NumVertices > 0)
        mesh.Vertices = in.array<MeshVector>(static_cast<std::uint64_t>(mesh.NumVertices), "vertices");
    mesh.NumNormals = in.i16("normal count");
    if (mesh.NumNormals > 0)
        mesh.Normals = in.array<MeshVector>(static_cast<std::uint64_t>(mesh.NumNormals), "normals");
    else if (mesh.NumNormals < 0)
        mesh.Shades = in.array<std::int16_t>(static_cast<std::uint64_t>(-std::int32_t{mesh.NumNormals}), "shades");

    if (kind == MeshKind::Level) {
        mesh.NumRectangles = in.i16("rectangle count");
        if (mesh.NumRectangles > 0)
            mesh.Rectangles = in.array<MeshRectangle>(static_cast<std::uint64_t>(mesh.NumRectangles), "rectangles");
        mesh.NumTriangles = in.i16("triangle count");
        if (mesh.NumTriangles > 0)
            mesh.Triangles = in.array<MeshTriangle>(static_cast<std::uint64_t>(mesh.NumTriangles), "triangles");
    } else {
        mesh.NumPolygons = in.i16("polygon count");
        if (mesh.NumPolygons > 0) {
            // Polygons vary in length; the shortest (no corners) takes six bytes.
            in.requireElements(static_cast<std::uint64_t>(mesh.NumPolygons), 6, "polygons");
            mesh.Polygons.resize(static_cast<std::size_t>(mesh.NumPolygons));
            for (auto& polygon : mesh.Polygons) {
                polygon.Shape = in.u16("polygon");
                for (std::size_t corner = 0; corner < polygonCorners(polygon.Shape); ++corner)
                    polygon.Vertices[corner] = in.u16("polygon");
                polygon.Texture = in.u16("polygon");
                polygon.Attribute = in.u8("polygon");
                polygon.Further = in.u8("polygon");
            }
        }
    }
    if ((in.position() - start) % 4 != 0)
        mesh.PadWord = in.u16("pad word");
    return mesh;
}

// What both forms of a mesh start with: centre, radius, the vertices, and the normals or shades.
void writeMeshStart(io::ByteWriter& out, const MeshRecord& mesh) {
    out.array(std::vector{mesh.Centre});
    out.i32(mesh.Radius);
    out.i16(mesh.NumVertices);
    if (mesh.NumVertices > 0)
        out.array(mesh.Vertices);
    out.i16(mesh.NumNormals);
    if (mesh.NumNormals > 0)
        out.array(mesh.Normals);
    else if (mesh.NumNormals < 0)
        out.array(mesh.Shades);
}

void writeLevelMesh(io::ByteWriter& out, const MeshRecord& mesh) {
    const std::size_t start = out.size();
    writeMeshStart(out, mesh);
    out.i16(mesh.NumRectangles);
    if (mesh.NumRectangles > 0)
        out.array(mesh.Rectangles);
    out.i16(mesh.NumTriangles);
    if (mesh.NumTriangles > 0)
        out.array(mesh.Triangles);
    if ((out.size() - start) % 4 != 0)
        out.u16(0);
}

void writeLibraryMesh(io::ByteWriter& out, const MeshRecord& mesh) {
    const std::size_t start = out.size();
    writeMeshStart(out, mesh);
    out.i16(mesh.NumPolygons);
    if (mesh.NumPolygons > 0) {
        for (const auto& polygon : mesh.Polygons) {
            out.u16(polygon.Shape);
            for (std::size_t corner = 0; corner < polygonCorners(polygon.Shape); ++corner)
                out.u16(polygon.Vertices[corner]);
            out.u16(polygon.Texture);
            out.u8(polygon.Attribute);
            out.u8(polygon.Further);
        }
    }
    if ((out.size() - start) % 4 != 0)
        out.u16(mesh.PadWord.value_or(0));
}

} // namespace

Lista_Mesh parseMeshBlock(std::span<const std::uint8_t> block, MeshKind kind) {
    Lista_Mesh meshes(kind);
    MeshReader in(block, "mesh block");
    while (!in.atEnd()) {
        try {
            meshes.append(readMesh(in, kind));
        } catch (const io::FormatError&) {
            // What is left cannot be a whole mesh. Keep a level's block as it is so that saving moves
            // no mesh and loses no byte.
            if (kind == MeshKind::Level)
                meshes.keepOriginalBlock({block.begin(), block.end()}, meshes.count());
            break;
        }
    }
    return meshes;
}

MeshRecord convertToLevelForm(const MeshRecord& libraryMesh, std::span<const std::uint16_t> replacementTextures) {
    MeshRecord mesh;
    mesh.Offset = libraryMesh.Offset;
    mesh.Centre = libraryMesh.Centre;
    mesh.Radius = libraryMesh.Radius;
    mesh.NumVertices = libraryMesh.NumVertices;
    mesh.Vertices = libraryMesh.Vertices;
    mesh.NumNormals = libraryMesh.NumNormals;
    mesh.Normals = libraryMesh.Normals;
    mesh.Shades = libraryMesh.Shades;
    const auto quads = static_cast<std::size_t>(std::count_if(
        libraryMesh.Polygons.begin(), libraryMesh.Polygons.end(), [](const MeshPolygon& p) { return p.Shape == kShapeQuad; }));
    mesh.Rectangles.reserve(quads);
    mesh.Triangles.reserve(libraryMesh.Polygons.size() - quads);
    for (std::size_t i = 0; i < libraryMesh.Polygons.size(); ++i) {
        const MeshPolygon& polygon = libraryMesh.Polygons[i];
        const std::uint16_t texture = i < replacementTextures.size() ? replacementTextures[i] : polygon.Texture;
        if (polygon.Shape == kShapeQuad)
            mesh.Rectangles.push_back({polygon.Vertices, texture, polygon.Attribute});
        else if (polygon.Shape == kShapeTriangle)
            mesh.Triangles.push_back(
                {{polygon.Vertices[0], polygon.Vertices[1], polygon.Vertices[2]}, texture, polygon.Attribute});
    }
    mesh.NumRectangles = static_cast<std::int16_t>(mesh.Rectangles.size());
    mesh.NumTriangles = static_cast<std::int16_t>(mesh.Triangles.size());
    return mesh;
}

std::vector<std::uint8_t> serialiseMeshBlock(const Lista_Mesh& meshes) {
    io::ByteWriter out(meshes.nextOffset());
    out.bytes(meshes.keptBlock());
    for (std::int32_t i = meshes.keptMeshes(); i < meshes.count(); ++i)
        writeLevelMesh(out, *meshes.get(i));
    return out.take();
}

std::uint32_t rebuildMeshBlock(const Lista_Mesh& meshes, Tr4Level& level) {
    const auto block = serialiseMeshBlock(meshes);
    if (block.empty() || block.size() != meshes.nextOffset())
        return 0;
    level.MeshWords = bytesToWords(block);
    return static_cast<std::uint32_t>(block.size());
}

LibraryMeshBlock serialiseLibraryMeshes(std::span<const MeshRecord> meshes) {
    io::ByteWriter out;
    LibraryMeshBlock block;
    for (const auto& mesh : meshes) {
        block.pointers.push_back(static_cast<std::uint32_t>(out.size()));
        writeLibraryMesh(out, mesh);
    }
    block.words = bytesToWords(out.data());
    return block;
}

std::span<const std::uint8_t> wordBytes(const std::vector<std::uint16_t>& words) {
    return {reinterpret_cast<const std::uint8_t*>(words.data()), words.size() * 2};
}

std::vector<std::uint16_t> bytesToWords(std::span<const std::uint8_t> bytes) {
    std::vector<std::uint16_t> words(bytes.size() / 2);
    if (!words.empty())
        std::memcpy(words.data(), bytes.data(), words.size() * 2);
    return words;
}

} // namespace veltrane::level
