// Writes the seed corpora of the fuzz targets into the folder given: level/, library/ and merge/,
// made from the demo generator and the test builders, so that no game file is ever needed.
#include "level_container.h"

#include "builders/library_builder.h"
#include "demo/demo_level.h"
#include "demo/demo_library.h"
#include "level/level_document.h"
#include "level/mesh_block.h"
#include "builders/small_target.h"
#include "wad/wad_library.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using namespace veltrane;
namespace fs = std::filesystem;

namespace {

void write(const fs::path& path, std::span<const std::uint8_t> bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

// A level-target seed: the layer selector byte, then the bytes for that layer.
void writeLevelSeeds(const fs::path& folder, const std::string& name, level::LevelDocument document) {
    auto encoded = level::encodeLevelDocument(document);
    if (!encoded)
        throw std::runtime_error(name + ": " + encoded.error());
    const auto composed = fuzz::containerInput(document.level, encoded->levelData);
    const std::vector<std::span<const std::uint8_t>> layers = {encoded->file, encoded->levelData,
                                                               level::wordBytes(document.level.MeshWords), composed};
    for (std::uint8_t layer = 0; layer < layers.size(); ++layer) {
        std::vector<std::uint8_t> seed{layer};
        seed.insert(seed.end(), layers[layer].begin(), layers[layer].end());
        write(folder / (name + "-" + std::to_string(layer)), seed);
    }
}

// The level with its page chunks cut to one page, so that a seed stays small enough to mutate quickly.
level::Tr4Level onePage(level::Tr4Level level) {
    level.Pages32.resize(std::min(level.Pages32.size(), level::kPageBytes32));
    level.Pages16.resize(std::min(level.Pages16.size(), level::kPageBytes16));
    level.PagesMisc.resize(std::min(level.PagesMisc.size(), level::kPageBytes32));
    level.PageCount = static_cast<std::uint32_t>(level.Pages32.size() / level::kPageBytes32);
    return level;
}

// The library with its pages cut to the first one, so that a seed stays small enough to mutate quickly.
wad::WadLibrary onePage(wad::WadLibrary library) {
    library.TextureBytes.resize(std::min(library.TextureBytes.size(), wad::kWadPageBytes));
    for (auto& sample : library.TextureSamples)
        sample.Page = 0;
    return library;
}

// Only the objects: no page, so the merge finds samples on pages that are not there.
wad::WadLibrary noPages(wad::WadLibrary library) {
    library.TextureBytes.clear();
    return library;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    try {
        const fs::path root = argv[1];
        for (const char* target : {"level", "library", "merge"})
            fs::create_directories(root / target);

        writeLevelSeeds(root / "level", "demo", level::makeLevelDocument(onePage(demo::demoLevel(demo::DemoScale::Normal))));
        writeLevelSeeds(root / "level", "small", builders::smallTarget());

        const wad::WadLibrary library = demo::demoLibrary(demo::DemoScale::Normal);
        for (const char* target : {"library", "merge"}) {
            write(root / target / "demo-one-page", wad::encodeLibrary(onePage(library)));
            write(root / target / "demo-no-pages", wad::encodeLibrary(noPages(library)));
            write(root / target / "empty", wad::encodeLibrary(builders::emptyLibrary()));
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
