// Opening and saving the large demo level on 1, 2 and every available thread, next to zlib alone on
// the same four chunks one after the other. Goals: open / inflate only <= 0.7 and save / deflate only
// <= 0.55 on two threads, and no thread count slower than the one-thread figures.
#include "demo/demo_level.h"
#include "level/level_document.h"
#include "ratio_reporter.h"

#include <cstdio>
#include <string>
#include <zlib.h>

using namespace veltrane;

namespace {

struct Fixture {
    level::LevelDocument document;
    std::vector<std::uint8_t> file;
    std::vector<std::vector<std::uint8_t>> inflated; // the four chunks as held in memory
    std::vector<std::vector<std::uint8_t>> packed;   // the same chunks packed by plain compress
};

// Saving rebuilds the document's mesh block, the same bytes every time, so the fixture is not const.
Fixture& fixture() {
    static Fixture fixture = [] {
        Fixture f;
        auto encoded = level::encodeLevel(demo::demoLevel(demo::DemoScale::Large)).value();
        f.file = std::move(encoded.file);
        f.document = level::decodeLevelDocument(f.file).value();
        const level::Tr4Level& level = f.document.level;
        f.inflated = {level.Pages32, level.Pages16, level.PagesMisc, level.LevelData};
        for (const auto& chunk : f.inflated) {
            std::vector<std::uint8_t> packed(compressBound(chunk.size()));
            uLongf size = packed.size();
            compress(packed.data(), &size, chunk.data(), chunk.size());
            packed.resize(size);
            f.packed.push_back(std::move(packed));
        }
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
    const auto& f = fixture();
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
void SaveLevel(benchmark::State& state, unsigned threads) {
    auto& f = fixture();
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

void DeflateOnly(benchmark::State& state) {
    const auto& f = fixture();
    for (auto _ : state) {
        for (const auto& chunk : f.inflated) {
            std::vector<std::uint8_t> out(compressBound(chunk.size()));
            uLongf size = out.size();
            compress(out.data(), &size, chunk.data(), chunk.size());
            benchmark::DoNotOptimize(out.data());
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::pair<std::string, unsigned>> threadCounts = {
        {"_1_thread", 1}, {"_2_threads", 2}, {"_all_threads", io::hardwareThreads()}};
    std::vector<std::pair<std::string, std::string>> ratios;
    benchmark::RegisterBenchmark("InflateOnly", InflateOnly)->Unit(benchmark::kMillisecond)->UseRealTime();
    benchmark::RegisterBenchmark("DeflateOnly", DeflateOnly)->Unit(benchmark::kMillisecond)->UseRealTime();
    for (const auto& [label, threads] : threadCounts) {
        const std::string open = "OpenLevel" + label;
        const std::string save = "SaveLevel" + label;
        // The CPU column counts every thread of the process, so it shows what the threads cost.
        benchmark::RegisterBenchmark(open.c_str(), OpenLevel, threads)
            ->Unit(benchmark::kMillisecond)
            ->MeasureProcessCPUTime()
            ->UseRealTime();
        benchmark::RegisterBenchmark(save.c_str(), SaveLevel, threads)
            ->Unit(benchmark::kMillisecond)
            ->MeasureProcessCPUTime()
            ->UseRealTime();
        ratios.emplace_back(open, "InflateOnly");
        ratios.emplace_back(save, "DeflateOnly");
    }
    std::printf("all available threads: %u\n", io::hardwareThreads());
    bench::takeLargeBlocksFresh();
    return bench::runWithRatios(argc, argv, ratios);
}
