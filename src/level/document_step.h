#pragma once

#include "level/level_document.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace veltrane::level {

// An edit of a level document that a step can take back and bring again: a merge or a change of object ID.
// Such an edit appends to the tables a merge grows and to the mesh list, puts new object pages in before
// the bump pages (moving up the tiles that name the pages after them), and may rewrite the moveable and
// static tables. Nothing else of the document changes.
//
// The mark is taken just before the edit: the table sizes, the page counts, a copy of the two object
// tables (a few kilobytes) and, when the level has bump pages, the tile words. The step keeps only that:
// while the edit stands, what it added lives in the document alone; once undone, the added part is moved
// into the step, to be moved back by a redo.
struct DocumentMark {
    std::array<std::size_t, 8> tableSizes{};
    Lista_Mesh::Mark meshes;
    std::uint16_t numObjectPages = 0;
    std::uint32_t pageCount = 0;
    std::size_t pages32Size = 0;
    std::size_t pages16Size = 0;
    std::vector<std::uint8_t> pages16Beyond; // bytes of the 16-bit chunk past its last whole 32-bit page
    std::vector<Tr4Moveable> moveables;
    std::vector<Tr4StaticMesh> staticMeshes;
    bool tilesKept = false; // the level has bump pages, so the next two are kept
    std::vector<std::uint16_t> tiles; // the object textures' Tile words
    std::vector<Opaque<16>> spriteTextures;
};

DocumentMark markDocument(const LevelDocument& document);

// Takes the document back to `mark` after an edit that failed part-way, keeping nothing of the edit.
// Asks for no memory, so that it also works after the edit ran out of it.
void rollBack(LevelDocument& document, DocumentMark& mark);

class DocumentStep {
public:
    // The step of the edit made since `before` was marked.
    DocumentStep(const LevelDocument& document, DocumentMark before);

    // Whether the edit left the document as it was.
    [[nodiscard]] bool changesNothing() const { return changesNothing_; }

    void undo(LevelDocument& document);
    void redo(LevelDocument& document);

private:
    // Swaps the parts an edit rewrites in place between the document and the step.
    void swapRewritten(LevelDocument& document);

    DocumentMark before_;
    std::uint32_t firstNewPage_ = 0;
    std::uint32_t pagesAdded_ = 0;
    bool changesNothing_ = false;
    // While undone: what the edit added.
    Tr4Level added_;
    std::vector<MeshRecord> addedMeshes_;
};

} // namespace veltrane::level
