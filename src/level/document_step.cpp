#include "level/document_step.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace veltrane::level {
namespace {

// The tables an edit appends to, in the order of DocumentMark::tableSizes.
template <class Level, class Other, class Visit>
void forEachGrownTable(Level& level, Other& other, Visit visit) {
    std::size_t table = 0;
    visit(table++, level.MeshPointers, other.MeshPointers);
    visit(table++, level.Animations, other.Animations);
    visit(table++, level.StateChanges, other.StateChanges);
    visit(table++, level.AnimDispatches, other.AnimDispatches);
    visit(table++, level.AnimCommands, other.AnimCommands);
    visit(table++, level.MeshTrees, other.MeshTrees);
    visit(table++, level.Frames, other.Frames);
    visit(table++, level.ObjectTextures, other.ObjectTextures);
}

std::array<std::size_t, 8> tableSizes(const Tr4Level& level) {
    std::array<std::size_t, 8> sizes{};
    forEachGrownTable(level, level, [&](std::size_t table, const auto& live, const auto&) { sizes[table] = live.size(); });
    return sizes;
}

template <class T>
void moveRange(std::vector<T>& from, std::size_t begin, std::size_t count, std::vector<T>& to, std::size_t at) {
    const auto first = from.begin() + static_cast<std::ptrdiff_t>(begin);
    const auto last = first + static_cast<std::ptrdiff_t>(count);
    to.insert(to.begin() + static_cast<std::ptrdiff_t>(at), std::make_move_iterator(first), std::make_move_iterator(last));
    from.erase(first, last);
}

void swapTiles(Tr4Level& level, std::vector<std::uint16_t>& tiles) {
    for (std::size_t i = 0; i < tiles.size(); ++i)
        std::swap(level.ObjectTextures[i].Tile, tiles[i]);
}

} // namespace

DocumentMark markDocument(const LevelDocument& document) {
    const Tr4Level& level = document.level;
    DocumentMark mark;
    mark.tableSizes = tableSizes(level);
    mark.meshes = document.meshes.mark();
    mark.numObjectPages = level.NumObjectPages;
    mark.pageCount = level.PageCount;
    mark.pages32Size = level.Pages32.size();
    mark.pages16Size = level.Pages16.size();
    const std::size_t wholePages16 = std::size_t{level.PageCount} * kPageBytes16;
    if (level.Pages16.size() > wholePages16)
        mark.pages16Beyond.assign(level.Pages16.begin() + static_cast<std::ptrdiff_t>(wholePages16), level.Pages16.end());
    mark.moveables = level.Moveables;
    mark.staticMeshes = level.StaticMeshes;
    // New object pages move the tiles of the bump pages after them.
    mark.tilesKept = level.NumBumpPages > 0;
    if (mark.tilesKept) {
        for (const ObjectTexture& texture : level.ObjectTextures)
            mark.tiles.push_back(texture.Tile);
        mark.spriteTextures = level.SpriteTextures;
    }
    return mark;
}

void rollBack(LevelDocument& document, DocumentMark& mark) {
    Tr4Level& level = document.level;
    forEachGrownTable(level, level, [&](std::size_t table, auto& live, auto&) {
        live.erase(live.begin() + static_cast<std::ptrdiff_t>(std::min(mark.tableSizes[table], live.size())), live.end());
    });
    document.meshes.truncate(mark.meshes);
    level.Moveables.swap(mark.moveables);
    level.StaticMeshes.swap(mark.staticMeshes);
    if (mark.tilesKept) {
        swapTiles(level, mark.tiles);
        level.SpriteTextures.swap(mark.spriteTextures);
    }
    // An edit puts its new 32-bit pages in before it makes room for the 16-bit ones; the 16-bit chunk and
    // the page counts change last, once nothing can fail. An edit that failed between the two leaves its
    // new 32-bit pages to take out.
    const std::size_t grown = level.Pages32.size() - std::min(level.Pages32.size(), mark.pages32Size);
    const std::size_t firstNew = (std::size_t{level.NumRoomPages} + mark.numObjectPages) * kPageBytes32;
    if (grown > 0 && firstNew + grown <= level.Pages32.size())
        level.Pages32.erase(level.Pages32.begin() + static_cast<std::ptrdiff_t>(firstNew),
                            level.Pages32.begin() + static_cast<std::ptrdiff_t>(firstNew + grown));
}

DocumentStep::DocumentStep(const LevelDocument& document, DocumentMark before) : before_(std::move(before)) {
    const Tr4Level& level = document.level;
    firstNewPage_ = std::uint32_t{level.NumRoomPages} + before_.numObjectPages;
    pagesAdded_ = static_cast<std::uint32_t>(level.NumObjectPages - before_.numObjectPages);
    // Tiles move only when pages come in before bump pages.
    if (pagesAdded_ == 0) {
        before_.tilesKept = false;
        before_.tiles = {};
        before_.spriteTextures = {};
    }
    changesNothing_ = pagesAdded_ == 0 && before_.tableSizes == tableSizes(level) &&
                      before_.meshes == document.meshes.mark() && before_.moveables == level.Moveables &&
                      before_.staticMeshes == level.StaticMeshes;
}

void DocumentStep::swapRewritten(LevelDocument& document) {
    Tr4Level& level = document.level;
    level.Moveables.swap(before_.moveables);
    level.StaticMeshes.swap(before_.staticMeshes);
    if (before_.tilesKept) {
        swapTiles(level, before_.tiles);
        level.SpriteTextures.swap(before_.spriteTextures);
    }
    std::swap(level.NumObjectPages, before_.numObjectPages);
    std::swap(level.PageCount, before_.pageCount);
}

void DocumentStep::undo(LevelDocument& document) {
    Tr4Level& level = document.level;
    forEachGrownTable(level, added_, [&](std::size_t table, auto& live, auto& held) {
        const std::size_t from = before_.tableSizes[table];
        moveRange(live, from, live.size() - from, held, 0);
    });
    addedMeshes_ = document.meshes.takeSince(before_.meshes);
    if (pagesAdded_ > 0) {
        moveRange(level.Pages32, std::size_t{firstNewPage_} * kPageBytes32, std::size_t{pagesAdded_} * kPageBytes32,
                  added_.Pages32, 0);
        moveRange(level.Pages16, std::size_t{firstNewPage_} * kPageBytes16, std::size_t{pagesAdded_} * kPageBytes16,
                  added_.Pages16, 0);
        // The edit kept the 16-bit chunk to its whole pages; what lay beyond them comes back.
        level.Pages16.resize(std::min(level.Pages16.size(), before_.pages16Size));
        level.Pages16.insert(level.Pages16.end(), before_.pages16Beyond.begin(), before_.pages16Beyond.end());
    }
    swapRewritten(document);
}

void DocumentStep::redo(LevelDocument& document) {
    Tr4Level& level = document.level;
    swapRewritten(document);
    forEachGrownTable(level, added_, [&](std::size_t, auto& live, auto& held) {
        moveRange(held, 0, held.size(), live, live.size());
        held.shrink_to_fit();
    });
    for (MeshRecord& mesh : addedMeshes_)
        document.meshes.append(std::move(mesh));
    addedMeshes_ = {};
    if (pagesAdded_ > 0) {
        moveRange(added_.Pages32, 0, added_.Pages32.size(), level.Pages32, std::size_t{firstNewPage_} * kPageBytes32);
        // As the edit did: the 16-bit chunk keeps its whole pages, with the new ones among them.
        level.Pages16.resize(std::size_t{level.PageCount - pagesAdded_} * kPageBytes16);
        moveRange(added_.Pages16, 0, added_.Pages16.size(), level.Pages16, std::size_t{firstNewPage_} * kPageBytes16);
        added_.Pages32 = {};
        added_.Pages16 = {};
    }
}

} // namespace veltrane::level
