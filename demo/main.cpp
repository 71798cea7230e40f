#include "demo/demo_files.h"

#include <CLI/CLI.hpp>

#include <chrono>
#include <iostream>

int main(int argc, char** argv) {
    using namespace veltrane;
    CLI::App app{"Writes Veltrane's demo files: a target level (.tr4) and a source object library (.wad),\n"
                 "generated from code alone, the same on every run."};
    std::filesystem::path folder;
    bool large = false;
    app.add_option("--out", folder, "Folder to write target.tr4 and source.wad into (made if need be)")->required();
    app.add_flag("--large", large,
                 "Write target-large.tr4 and source-large.wad instead, at the size of a real game level");
    CLI11_PARSE(app, argc, argv);

    const auto started = std::chrono::steady_clock::now();
    const auto written = demo::writeDemoFiles(folder, large ? demo::DemoScale::Large : demo::DemoScale::Normal);
    if (!written) {
        std::cerr << "veltrane-demo: " << written.error() << '\n';
        return 1;
    }
    const auto milliseconds =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started).count();
    std::cout << "wrote " << written->target.string() << " and " << written->source.string() << " in " << milliseconds
              << " ms\n";
    return 0;
}
