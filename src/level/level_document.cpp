#include "level/level_document.h"

#include "io/memory_guard.h"
#include "level/document_opening.h"
#include "level/mesh_block.h"

namespace veltrane::level {

LevelDocument makeLevelDocument(Tr4Level level) {
    LevelDocument document;
    document.level = std::move(level);
    document.meshes = parseMeshBlock(wordBytes(document.level.MeshWords), MeshKind::Level);
    return document;
}

io::Outcome<LevelDocument> decodeLevelDocument(std::span<const std::uint8_t> file, unsigned threads) {
    return decodeLevel(file, threads).map(makeLevelDocument);
}

io::Outcome<LevelDocument> openLevelDocument(const std::filesystem::path& path, unsigned threads) {
    return openDocument<LevelDocument>(
        path, FileKind::Level, [&](auto file) { return decodeLevel(file, threads); }, makeLevelDocument);
}

io::Outcome<EncodedLevel> encodeLevelDocument(LevelDocument& document, unsigned threads) {
    rebuildMeshBlock(document.meshes, document.level);
    return encodeLevel(document.level, threads);
}

io::Status saveLevelDocument(const std::filesystem::path& path, LevelDocument& document, unsigned threads) {
    return io::guardMemory("save", path, [&] {
        rebuildMeshBlock(document.meshes, document.level);
        return writeLevel(path, document.level, threads);
    });
}

} // namespace veltrane::level
