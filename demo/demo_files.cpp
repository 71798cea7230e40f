#include "demo/demo_files.h"

#include "builders/table_check.h"
#include "demo/demo_level.h"
#include "demo/demo_library.h"
#include "io/file_io.h"
#include "level/level_file.h"

#include <system_error>

namespace veltrane::demo {

DemoFiles demoFileNames(const std::filesystem::path& folder, DemoScale scale) {
    const char* suffix = scale == DemoScale::Large ? "-large" : "";
    return {folder / (std::string("target") + suffix + ".tr4"), folder / (std::string("source") + suffix + ".wad")};
}

io::Outcome<DemoFiles> writeDemoFiles(const std::filesystem::path& folder, DemoScale scale) {
    using Result = io::Outcome<DemoFiles>;
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error)
        return Result::failure("cannot make the folder " + folder.string() + ": " + error.message());

    const DemoFiles files = demoFileNames(folder, scale);
    const level::Tr4Level level = demoLevel(scale);
    const wad::WadLibrary library = demoLibrary(scale);
    // The demo is made by code alone: a builder that lays out a table wrongly stops it here, before any
    // file is written.
    for (const auto& [name, problems] : {std::pair{"target", builders::tableProblems(level)},
                                        std::pair{"source", builders::tableProblems(library)}})
        if (!problems.empty())
            return Result::failure("the demo " + std::string(name) + " does not hold together: " + problems.front());
    const auto target = level::encodeLevel(level);
    if (!target)
        return Result::failure("cannot encode the demo target: " + target.error());
    if (auto written = io::replaceFile(files.target, target->file); !written)
        return Result::failure(written.error());
    if (auto written = io::replaceFile(files.source, wad::encodeLibrary(library)); !written)
        return Result::failure(written.error());
    return files;
}

} // namespace veltrane::demo
