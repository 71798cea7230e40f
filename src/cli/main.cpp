#include "cli/info.h"

#include <CLI/CLI.hpp>
#include <iostream>

int main(int argc, char** argv) {
    CLI::App app{"veltrane-cli: inspect Tomb Raider 4 levels (.tr4) and object libraries (.wad).\n"
                 "Errors go to stderr and give exit status 1."};
    app.require_subcommand(1);

    std::string infoPath;
    auto* info = app.add_subcommand(
        "info", "Print a file's header words, page count, the size of every table, then one line per moveable "
                "(index, ObjectId, MeshCount, Animation) and per static mesh (index, ObjectId, Mesh).");
    info->add_option("FILE", infoPath, "A .tr4 level or .wad library")->required();

    CLI11_PARSE(app, argc, argv);

    if (*info) {
        auto text = veltrane::cli::describeFile(infoPath);
        if (!text) {
            std::cerr << "veltrane-cli: " << text.error() << '\n';
            return 1;
        }
        std::cout << text.value();
    }
    return 0;
}
