// same_chunks A.tr4 B.tr4: whether two levels hold the same header, inflated chunks and tail, however
// each was deflated. Exit status 0 when they do, 1 with the first difference named when not.
#include "level/level_file.h"

#include <cstdio>
#include <tuple>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: same_chunks A.tr4 B.tr4\n");
        return 2;
    }
    const auto a = veltrane::level::readLevel(argv[1]), b = veltrane::level::readLevel(argv[2]);
    if (!a || !b) {
        std::fprintf(stderr, "%s\n", (a ? b : a).error().c_str());
        return 1;
    }
    const auto header = [](const veltrane::level::Tr4Level& level) {
        return std::tuple(level.Version, level.NumRoomPages, level.NumObjectPages, level.NumBumpPages,
                          level.SampleCount);
    };
    const struct {
        const char* name;
        bool same;
    } parts[] = {{"header", header(*a) == header(*b)}, {"Pages32", a->Pages32 == b->Pages32},
                 {"Pages16", a->Pages16 == b->Pages16}, {"PagesMisc", a->PagesMisc == b->PagesMisc},
                 {"LevelData", a->LevelData == b->LevelData}, {"Tail", a->Tail == b->Tail}};
    for (const auto& part : parts)
        if (!part.same) {
            std::fprintf(stderr, "%s and %s differ in %s\n", argv[1], argv[2], part.name);
            return 1;
        }
    return 0;
}
