// Opening and saving the large demo level, next to zlib alone on the same four chunks.
#include "tools/demo_level.h"
#include "level/level_file.h"
#include "ratio_reporter.h"

#include <zlib.h>

using namespace veltrane;

namespace {

struct Fixture {
    level::Tr4Level level;
    std::vector<std::uint8_t> file;
    std::vector<std::vector<std::uint8_t>> inflated; // the four chunks as held in memory
    std::vector<std::vector<std::uint8_t>> packed;   // the same chunks as stored in the file
};

const Fixture& fixture() {
    static const Fixture fixture = [] {
        Fixture f;
        auto encoded = level::encodeLevel(demo::demoLevel(demo::DemoScale::Large)).value();
        f.file = std::move(encoded.file);
        f.level = level::decodeLevel(f.file).value();
        f.inflated = {f.level.Pages32, f.level.Pages16, f.level.PagesMisc, f.level.LevelData};
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

void OpenLevel(benchmark::State& state) {
    const auto& f = fixture();
    for (auto _ : state)
        benchmark::DoNotOptimize(level::decodeLevel(f.file));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * f.file.size()));
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

void SaveLevel(benchmark::State& state) {
    const auto& f = fixture();
    for (auto _ : state)
        benchmark::DoNotOptimize(level::encodeLevel(f.level));
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

BENCHMARK(OpenLevel)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(InflateOnly)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(SaveLevel)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(DeflateOnly)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) {
    return bench::runWithRatios(argc, argv, {{"OpenLevel", "InflateOnly"}, {"SaveLevel", "DeflateOnly"}});
}
