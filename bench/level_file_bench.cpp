// Opening and saving the large demo level on 1, 2 and every available thread, next to zlib alone on
// the same four chunks one after the other. Saves come three ways: the opened level as it is (its
// streams carried over), the opened level after a merge of every object of the large library (new
// pages and level data deflated after what is carried over), and a level built in memory (every chunk
// deflated). Goals on every core: open / inflate only <= 0.35, save / deflate only <= 0.30 with the
// packed size no larger than plain compress gives; no thread count slower than the one-thread figures.
#include "demo/demo_level.h"
#include "demo/demo_library.h"
#include "level/level_data.h"
#include "level/level_document.h"
#include "level/mesh_block.h"
#include "merge/merge_operation.h"
#include "ratio_reporter.h"

#include <cstdio>
#include <span>
#include <string>
#include <zlib.h>

using namespace veltrane;

namespace {

// `chunk` packed by plain compress at zlib's default level: the baseline's work.
std::vector<std::uint8_t> plainlyCompressed(std::span<const std::uint8_t> chunk) {
    std::vector<std::uint8_t> packed(compressBound(chunk.size()));
    uLongf size = packed.size();
    compress(packed.data(), &size, chunk.data(), chunk.size());
    packed.resize(size);
    return packed;
}

// A document with the four chunks plain compress packs them to, as the baseline's.
struct Saved {
    level::LevelDocument document;
    std::vector<std::vector<std::uint8_t>> inflated; // the four chunks as held in memory
    std::vector<std::vector<std::uint8_t>> packed;   // the same chunks packed by plain compress
};

Saved saved(level::LevelDocument document) {
    Saved s{std::move(document), {}, {}};
    level::rebuildMeshBlock(s.document.meshes, s.document.level);
    const level::Tr4Level& level = s.document.level;
    s.inflated = {level.Pages32, level.Pages16, level.PagesMisc, level::serialiseLevelData(level)};
    for (const auto& chunk : s.inflated)
        s.packed.push_back(plainlyCompressed(chunk));
    return s;
}

struct Fixture {
    std::vector<std::uint8_t> file;
    Saved opened, merged, built;
};

// Saving rebuilds the document's mesh block, the same bytes every time, so the fixture is not const.
Fixture& fixture() {
    static Fixture fixture = [] {
        Fixture f;
        auto level = demo::demoLevel(demo::DemoScale::Large);
        f.file = level::encodeLevel(level).value().file;
        f.opened = saved(level::decodeLevelDocument(f.file).value());
        auto merged = level::decodeLevelDocument(f.file).value();
        const auto source = wad::makeLibraryDocument(demo::demoLibrary(demo::DemoScale::Large));
        merge::mergeObjects(merged, source, merge::everyObject(source.library)).value();
        f.merged = saved(std::move(merged));
        f.built = saved(level::makeLevelDocument(std::move(level)));
        return f;
    }();
    return fixture;
}

void OpenLevel(benchmark::State& state, unsigned threads) {
    const auto& f = fixture();
    double busiest = 0;
    for (auto _ : state)
        bench::addBusiestThreadTime(threads, busiest, [&] { benchmark::DoNotOptimize(level::decodeLevelDocument(f.file, threads)); });
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * f.file.size()));
    bench::reportBusiestThread(state, busiest);
}

void InflateOnly(benchmark::State& state) {
    const Saved& f = fixture().opened;
    for (auto _ : state) {
        for (std::size_t chunk = 0; chunk < f.packed.size(); ++chunk) {
            std::vector<std::uint8_t> out(f.inflated[chunk].size());
            uLongf size = out.size();
            uncompress(out.data(), &size, f.packed[chunk].data(), f.packed[chunk].size());
            benchmark::DoNotOptimize(out.data());
        }
    }
}

// The packed size of the saved file next to that of plain compress, as counters.
void SaveLevel(benchmark::State& state, Saved Fixture::*which, unsigned threads) {
    Saved& f = fixture().*which;
    std::size_t packedBytes = 0;
    double busiest = 0;
    for (auto _ : state) {
        bench::addBusiestThreadTime(threads, busiest, [&] {
            auto encoded = level::encodeLevelDocument(f.document, threads);
            packedBytes = 0;
            for (const auto size : encoded->packedSizes)
                packedBytes += size;
            benchmark::DoNotOptimize(encoded);
        });
    }
    bench::reportBusiestThread(state, busiest);
    std::size_t compressBytes = 0;
    for (const auto& packed : f.packed)
        compressBytes += packed.size();
    state.counters["packed"] = static_cast<double>(packedBytes);
    state.counters["packed_vs_compress"] = static_cast<double>(packedBytes) / static_cast<double>(compressBytes);
}

void DeflateOnly(benchmark::State& state, Saved Fixture::*which) {
    const Saved& f = fixture().*which;
    for (auto _ : state) {
        for (const auto& chunk : f.inflated)
            benchmark::DoNotOptimize(plainlyCompressed(chunk));
    }
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::pair<std::string, unsigned>> threadCounts = {
        {"_1_thread", 1}, {"_2_threads", 2}, {"_all_threads", io::hardwareThreads()}};
    std::vector<std::pair<std::string, std::string>> ratios;
    // A level built in memory holds the same chunks as the opened one, so the two share a baseline.
    struct SaveKind {
        std::string name;
        Saved Fixture::*fixture;
        std::string baseline;
    };
    const std::vector<SaveKind> saves = {{"SaveLevel", &Fixture::opened, "DeflateOnly"},
                                         {"SaveMergedLevel", &Fixture::merged, "DeflateMergedOnly"},
                                         {"SaveBuiltLevel", &Fixture::built, "DeflateOnly"}};
    benchmark::RegisterBenchmark("InflateOnly", InflateOnly)->Unit(benchmark::kMillisecond)->UseRealTime();
    for (const auto& [name, which] : {std::pair{"DeflateOnly", &Fixture::opened}, {"DeflateMergedOnly", &Fixture::merged}})
        benchmark::RegisterBenchmark(name, DeflateOnly, which)->Unit(benchmark::kMillisecond)->UseRealTime();
    for (const auto& [label, threads] : threadCounts) {
        const std::string open = "OpenLevel" + label;
        // The CPU column counts every thread of the process, so it shows what the threads cost.
        benchmark::RegisterBenchmark(open.c_str(), OpenLevel, threads)
            ->Unit(benchmark::kMillisecond)
            ->MeasureProcessCPUTime()
            ->UseRealTime();
        ratios.emplace_back(open, "InflateOnly");
        for (const auto& kind : saves) {
            const std::string save = kind.name + label;
            benchmark::RegisterBenchmark(save.c_str(), SaveLevel, kind.fixture, threads)
                ->Unit(benchmark::kMillisecond)
                ->MeasureProcessCPUTime()
                ->UseRealTime();
            ratios.emplace_back(save, kind.baseline);
        }
    }
    std::printf("all available threads: %u\n", io::hardwareThreads());
    bench::takeLargeBlocksFresh();
    return bench::runWithRatios(argc, argv, ratios);
}
