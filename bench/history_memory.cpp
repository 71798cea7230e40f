// Peak resident memory after merging every object of the large demo library into the large level ten
// times, with the whole undo history kept (and then undone and redone entirely), against the same ten
// merges without history and against one open of the pair. Goal: with history <= 1.5 times without.
//
//   history_memory <target.tr4> <source.wad>
//
// Each run happens in a child process of its own, so that each peak (VmHWM) is its own.
#include "level/document_step.h"
#include "merge/merge_operation.h"
#include "process_status.h"
#include "wad/library_document.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

using namespace veltrane;

namespace {

constexpr int kMerges = 10;

enum class Run { OpenOnly, WithoutHistory, WithHistory };

// Opens the pair and does the run; the peak, or 0 when a file or a merge fails.
std::size_t measure(const char* targetPath, const char* sourcePath, Run run) {
    auto target = level::openLevelDocument(targetPath);
    const auto source = wad::openLibraryDocument(sourcePath);
    if (!target || !source) {
        std::fprintf(stderr, "%s\n", (!target ? target.error() : source.error()).c_str());
        return 0;
    }
    std::vector<level::DocumentStep> history;
    for (int merge = 0; run != Run::OpenOnly && merge < kMerges; ++merge) {
        level::DocumentMark mark = level::markDocument(target.value());
        if (!merge::mergeObjects(target.value(), source.value(), merge::everyObject(source->library)))
            return 0;
        if (run == Run::WithHistory)
            history.emplace_back(target.value(), std::move(mark));
    }
    for (auto step = history.rbegin(); step != history.rend(); ++step)
        step->undo(target.value());
    for (auto& step : history)
        step.redo(target.value());
    return statusBytes("VmHWM:");
}

// Runs `measure` in a child process and returns its peak.
std::size_t measureApart(const char* targetPath, const char* sourcePath, Run run) {
    int channel[2];
    if (pipe(channel) != 0)
        return 0;
    const pid_t child = fork();
    if (child == 0) {
        const std::size_t peak = measure(targetPath, sourcePath, run);
        const bool sent = write(channel[1], &peak, sizeof peak) == static_cast<ssize_t>(sizeof peak);
        _exit(sent ? 0 : 1);
    }
    std::size_t peak = 0;
    if (child < 0 || read(channel[0], &peak, sizeof peak) != static_cast<ssize_t>(sizeof peak))
        peak = 0;
    close(channel[0]);
    close(channel[1]);
    if (child > 0)
        waitpid(child, nullptr, 0);
    return peak;
}

double mebibytes(std::size_t bytes) { return static_cast<double>(bytes) / (1024.0 * 1024.0); }

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <target.tr4> <source.wad>\n", argv[0]);
        return 2;
    }
    const std::size_t open = measureApart(argv[1], argv[2], Run::OpenOnly);
    const std::size_t without = measureApart(argv[1], argv[2], Run::WithoutHistory);
    const std::size_t with = measureApart(argv[1], argv[2], Run::WithHistory);
    if (open == 0 || without == 0 || with == 0)
        return 1;
    std::printf("peak, the pair open:                       %7.1f MiB\n", mebibytes(open));
    std::printf("peak, %d merges without history:           %7.1f MiB (%.2f x open)\n", kMerges, mebibytes(without),
                static_cast<double>(without) / static_cast<double>(open));
    std::printf("peak, %d merges with history, undone, redone: %4.1f MiB (%.2f x open)\n", kMerges, mebibytes(with),
                static_cast<double>(with) / static_cast<double>(open));
    std::printf("ratio with history / without = %.3f (goal <= 1.5)\n",
                static_cast<double>(with) / static_cast<double>(without));
    return 0;
}
