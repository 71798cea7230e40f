#include "recording_device.h"

#include "demo/demo_level.h"
#include "demo/demo_library.h"
#include "preview/scene.h"
#include "support/fingerprint.h"

#include <gtest/gtest.h>

#include <map>

namespace veltrane::preview {
namespace {

// The bytes of everything the preview makes of a file: each render mesh's vertices, flags, blending and
// draw batches (a texture by its page), and each moveable's meshes and mesh offsets.
template <class Model>
void collect(const FilePreview<Model>& preview, std::vector<std::uint8_t>& bytes) {
    const auto add = [&bytes](const auto& values) {
        const auto* first = reinterpret_cast<const std::uint8_t*>(values.data());
        bytes.insert(bytes.end(), first, first + values.size() * sizeof(values[0]));
    };
    std::map<const PageTexture*, std::uint32_t> pageOf;
    for (const auto* table : {&preview.textures->textures32, &preview.textures->textures16})
        for (std::uint32_t page = 0; page < table->size(); ++page)
            pageOf[(*table)[page].get()] = page;
    for (const auto& mesh : preview.meshes.renderMeshes) {
        add(mesh->texturedVertexData);
        add(mesh->polygonFlags);
        add(mesh->polygonBlending);
        for (const DrawBatch& batch : mesh->drawBatches)
            add(std::vector{pageOf.at(batch.texture), batch.flags, batch.firstIndex, batch.indexCount});
    }
    for (const auto& moveable : preview.moveables) {
        add(moveable->meshIndex);
        add(moveable->offsets);
    }
}

TEST(DemoPreview, TheDemoPairIsBuiltPosedAndDrawnAsItAlwaysHasBeen) {
    const auto target = level::makeLevelDocument(demo::demoLevel(demo::DemoScale::Normal));
    const auto source = wad::makeLibraryDocument(demo::demoLibrary(demo::DemoScale::Normal));
    testing::RecordingDevice device;
    PreviewScene scene;
    scene.setFixedCamera(true);
    scene.setTarget(&target);
    scene.setSource(&source);
    scene.buildDeviceObjects(device);
    std::vector<std::uint8_t> bytes;
    collect(*scene.target(), bytes);
    collect(*scene.source(), bytes);

    // Every object on show, turned and zoomed, and every animation of the moveables posed at one frame.
    const std::pair<PreviewList, std::size_t> lists[] = {
        {PreviewList::TargetMoveables, target.level.Moveables.size()}, {PreviewList::TargetStatics, target.level.StaticMeshes.size()},
        {PreviewList::SourceMoveables, source.library.Moveables.size()}, {PreviewList::SourceStatics, source.library.StaticMeshes.size()}};
    for (const auto& [list, count] : lists)
        for (std::int32_t index = 0; index < static_cast<std::int32_t>(count); ++index) {
            scene.select({list, index});
            scene.view = {3, -2, 30'000, -20'000, 5};
            scene.drawFrame(device);
            const auto animations = scene.animationFrameCounts();
            for (std::uint32_t a = 0; a < animations.size(); ++a)
                if (scene.showAnimationFrame(a, animations[a] / 2))
                    scene.drawFrame(device);
        }
    for (const auto& draw : device.draws)
        bytes.insert(bytes.end(), reinterpret_cast<const std::uint8_t*>(&draw.world),
                     reinterpret_cast<const std::uint8_t*>(&draw.world) + sizeof(draw.world));
    EXPECT_GT(device.draws.size(), 100u);
    EXPECT_EQ(veltrane::testing::fingerprint(bytes), 8494047992339142911u);
}

} // namespace
} // namespace veltrane::preview
