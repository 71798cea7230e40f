#include "demo/demo_files.h"

#include "io/file_io.h"
#include "level/level_file.h"
#include "builders/library_builder.h"
#include "demo/demo_level.h"
#include "demo/demo_library.h"

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
    const auto target = level::encodeLevel(demoLevel(scale));
    if (!target)
        return Result::failure("cannot encode the demo target: " + target.error());
    if (auto written = io::replaceFile(files.target, target->file); !written)
        return Result::failure(written.error());
    if (auto written = io::replaceFile(files.source, wad::encodeLibrary(demoLibrary(scale))); !written)
        return Result::failure(written.error());
    return files;
}

} // namespace veltrane::demo
