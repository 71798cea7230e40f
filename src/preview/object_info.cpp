#include "preview/object_info.h"

#include "preview/mesh_builders.h"

#include <set>

namespace veltrane::preview {
namespace {

// The pieces met so far and their pages.
struct Pieces {
    std::set<std::size_t> pieces;
    std::set<std::uint32_t> pages;
};

void addPiece(Pieces& found, const level::Tr4Level& level, std::optional<std::size_t> objectTexture) {
    if (!objectTexture || *objectTexture >= level.ObjectTextures.size())
        return;
    found.pieces.insert(*objectTexture);
    found.pages.insert(static_cast<std::uint32_t>(pageOf(level.ObjectTextures[*objectTexture])));
}

std::size_t addFaces(Pieces& found, const level::Tr4Level& level, const level::MeshRecord& mesh) {
    for (const level::MeshRectangle& face : mesh.Rectangles)
        addPiece(found, level, objectTextureOf(face));
    for (const level::MeshTriangle& face : mesh.Triangles)
        addPiece(found, level, objectTextureOf(face));
    return mesh.Rectangles.size() + mesh.Triangles.size();
}

// A library mesh's faces of shape 8 and 9 are its polygons; other shapes draw nothing.
std::size_t addFaces(Pieces& found, const wad::WadLibrary& library, const level::MeshRecord& mesh) {
    std::size_t polygons = 0;
    for (const level::MeshPolygon& face : mesh.Polygons) {
        if (level::polygonCorners(face.Shape) == 0)
            continue;
        ++polygons;
        const auto sample = static_cast<std::size_t>(level::libraryFaceTexture(face.Shape, face.Texture).sample);
        if (sample >= library.TextureSamples.size())
            continue;
        found.pieces.insert(sample);
        found.pages.insert(library.TextureSamples[sample].Page);
    }
    return polygons;
}

template <class Model>
ObjectInfo figures(const Model& file, const level::Lista_Mesh& meshes, std::span<const std::int32_t> meshIndex) {
    ObjectInfo info;
    info.meshes = meshIndex.size();
    Pieces found;
    for (const std::int32_t index : meshIndex)
        if (const level::MeshRecord* mesh = meshes.get(index))
            info.polygons += addFaces(found, file, *mesh);
    info.texturePieces = found.pieces.size();
    info.pages.assign(found.pages.begin(), found.pages.end());
    return info;
}

std::string counted(std::size_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

} // namespace

ObjectInfo objectInfo(const level::Tr4Level& level, const level::Lista_Mesh& meshes,
                      std::span<const std::int32_t> meshIndex) {
    return figures(level, meshes, meshIndex);
}

ObjectInfo objectInfo(const wad::WadLibrary& library, const level::Lista_Mesh& meshes,
                      std::span<const std::int32_t> meshIndex) {
    return figures(library, meshes, meshIndex);
}

std::string infoText(const ObjectInfo& info) {
    std::string text = (info.moveable ? "Moveable ID #" : "Static Mesh ID #") + std::to_string(info.objectId);
    if (!info.slotName.empty())
        text += "  " + std::string(info.slotName);
    text += ": " + counted(info.meshes, "mesh", "meshes") + ", " + counted(info.polygons, "polygon", "polygons") + ", ";
    if (info.texturePieces == 0)
        return text + "no texture pieces";
    text += counted(info.texturePieces, "texture piece", "texture pieces");
    text += info.pages.size() == 1 ? " on page " : " on pages ";
    for (std::size_t i = 0; i < info.pages.size(); ++i)
        text += (i == 0 ? "" : ", ") + std::to_string(info.pages[i]);
    return text;
}

} // namespace veltrane::preview
