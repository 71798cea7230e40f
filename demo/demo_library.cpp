#include "demo/demo_library.h"

#include "builders/objects.h"
#include "builders/library_builder.h"
#include "demo/demo_ids.h"
#include "demo/figure.h"
#include "demo/filler.h"
#include "demo/library_atlas.h"
#include "demo/patterns.h"
#include "demo/props.h"

namespace veltrane::demo {
namespace {

using level::MeshKind;

struct LibraryPlan {
    std::uint16_t Pages;
    std::size_t Samples;
    FillerPlan Objects; // large scale only
};

LibraryPlan planFor(DemoScale scale) {
    if (scale == DemoScale::Large)
        return {
            30, 1500, {100, 1200, 60, 1000, 120000, ids::kFirstLibraryFiller, ids::kFirstLibraryFillerStatic, true}};
    return {5, 2 * 5 * kTilesPerPage, {}};
}

} // namespace

wad::WadLibrary demoLibrary(DemoScale scale) {
    const LibraryPlan plan = planFor(scale);
    Random random(scale == DemoScale::Large ? 0x5EED1A : 0x5EED);
    wad::WadLibrary library = builders::emptyLibrary();
    const LibraryAtlas atlas(plan.Pages, plan.Samples);
    atlas.addTo(library);

    FigureLook walker;
    walker.ObjectId = ids::kWalker;
    walker.Height = 1.15;
    walker.Girth = 0.8;
    walker.Head = atlas.skin(4);
    walker.Body = atlas.skin(9);
    walker.Limbs = atlas.skin(14);
    builders::appendMoveable(library, jointedFigure(MeshKind::Library, walker));
    builders::appendMoveable(library, gem(MeshKind::Library, ids::kGem, atlas.skin(22)));
    builders::appendMoveable(library, bell(MeshKind::Library, ids::kBell, atlas.skin(28)));
    builders::appendMoveable(library, bladeTrap(MeshKind::Library, ids::kBladeTrap, atlas.skin(35)));
    builders::appendStaticMesh(library, crate(MeshKind::Library, ids::kCrate, atlas.skin(0)));
    builders::appendStaticMesh(library, pillar(MeshKind::Library, ids::kPillar, atlas.skin(5)));
    builders::appendStaticMesh(library, barrel(MeshKind::Library, ids::kBarrel, atlas.skin(16)));
    builders::appendStaticMesh(library, obelisk(MeshKind::Library, ids::kObelisk, atlas.skin(12)));
    builders::appendStaticMesh(library, lantern(MeshKind::Library, ids::kLantern, atlas.skin(1)));
    builders::appendStaticMesh(library, table(MeshKind::Library, ids::kTable, atlas.skin(30)));
    if (scale == DemoScale::Large)
        addFillers(
            library, plan.Objects,
            [&](std::size_t i) { return atlas.skin(i * 3 + 1, static_cast<std::uint8_t>(i % 7 == 3 ? 1 : 0)); },
            [&](std::size_t i) { return atlas.skin(i * 5 + 2); }, random);
    return library;
}

} // namespace veltrane::demo
