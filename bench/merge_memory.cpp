// Peak resident memory of the large demo level and library, both open, after a merge of every library
// object, as a ratio to the sum of their inflated sizes (the level's four chunks and tail, and the
// library file, which is not compressed). Goal: <= 2.5.
//
//   merge_memory <target.tr4> <source.wad>
//
// The peak is the kernel's high-water mark of this process (VmHWM), which includes the program itself.
#include "level/level_document.h"
#include "merge/merge_operation.h"
#include "process_status.h"
#include "wad/library_document.h"

#include <cstdio>
#include <filesystem>
#include <string>

using namespace veltrane;

namespace {

double mebibytes(std::size_t bytes) { return static_cast<double>(bytes) / (1024.0 * 1024.0); }

// Where the memory goes: resident and peak so far after each step.
void report(const char* step) {
    std::printf("%-28s resident %6.1f MiB, peak so far %6.1f MiB\n", step, mebibytes(statusBytes("VmRSS:")),
                mebibytes(statusBytes("VmHWM:")));
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <target.tr4> <source.wad>\n", argv[0]);
        return 2;
    }
    const std::size_t before = statusBytes("VmRSS:");

    auto target = level::openLevelDocument(argv[1]);
    if (!target) {
        std::fprintf(stderr, "%s\n", target.error().c_str());
        return 1;
    }
    const level::Tr4Level& opened = target->level;
    const std::size_t levelBytes = opened.Pages32.size() + opened.Pages16.size() + opened.PagesMisc.size() +
                                   opened.LevelData.size() + opened.Tail.size();
    report("level open");

    const auto source = wad::openLibraryDocument(argv[2]);
    if (!source) {
        std::fprintf(stderr, "%s\n", source.error().c_str());
        return 1;
    }
    const std::size_t libraryBytes = std::filesystem::file_size(argv[2]);
    report("library open");

    auto merged = merge::mergeObjects(target.value(), source.value(), merge::everyObject(source->library));
    if (!merged) {
        std::fprintf(stderr, "merge: %s\n", merged.error().c_str());
        return 1;
    }

    report("merged");
    const std::size_t peak = statusBytes("VmHWM:");
    const std::size_t inflated = levelBytes + libraryBytes;
    std::printf("level inflated %.1f MiB, library %.1f MiB, pages added %d\n", mebibytes(levelBytes),
                mebibytes(libraryBytes), merged->pagesAdded);
    std::printf("resident before opening %.1f MiB, now %.1f MiB, peak %.1f MiB\n", mebibytes(before),
                mebibytes(statusBytes("VmRSS:")), mebibytes(peak));
    std::printf("ratio peak resident / inflated sizes = %.3f\n", static_cast<double>(peak) / static_cast<double>(inflated));
    return 0;
}
