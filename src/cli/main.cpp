#include "cli/info.h"
#include "cli/merge_command.h"

#include <CLI/CLI.hpp>
#include <iostream>
#include <map>

int main(int argc, char** argv) {
    CLI::App app{"veltrane-cli: inspect Tomb Raider 4 levels (.tr4) and object libraries (.wad), and merge library "
                 "objects into levels.\n"
                 "Errors go to stderr and give exit status 1."};
    app.require_subcommand(1);

    std::string infoPath;
    auto* info = app.add_subcommand(
        "info", "Print a file's header words, page count, the size of every table, then one line per moveable "
                "(index, ObjectId, MeshCount, Animation) and per static mesh (index, ObjectId, Mesh).");
    info->add_option("FILE", infoPath, "A .tr4 level or .wad library")->required();

    veltrane::cli::MergeRequest mergeRequest;
    auto* merge = app.add_subcommand(
        "merge", "Merge library objects into a level, as the window's Merge command does, and save the result as "
                 "Save As does. Prints the four statistics lines on stdout. A refused merge or bad input writes "
                 "nothing. Without --static or --moveable the level is loaded and saved unchanged.");
    merge->add_option("TARGET", mergeRequest.target, "The .tr4 level to merge into")->required();
    merge->add_option("SOURCE", mergeRequest.source, "The .wad library to merge from")->required();
    merge->add_option("-o,--output", mergeRequest.output, "The .tr4 file to write")->required();
    merge->add_option("--static", mergeRequest.staticIds,
                      "Tick every library static mesh with this ObjectId (repeatable)")
        ->take_all()
        ->allow_extra_args(false);
    merge->add_option("--moveable", mergeRequest.moveableIds,
                      "Tick every library moveable with this ObjectId (repeatable)")
        ->take_all()
        ->allow_extra_args(false);
    const std::map<std::string, veltrane::merge::ConflictPolicy> policies = {
        {"keep", veltrane::merge::ConflictPolicy::Keep},
        {"replace", veltrane::merge::ConflictPolicy::Replace},
        {"skip", veltrane::merge::ConflictPolicy::Skip}};
    std::string policy = "keep";
    merge->add_option("--on-conflict", policy,
                      "What to do with a ticked object whose ID the level already has: keep both (the default, "
                      "with a warning per ID), replace the level's, or skip the library's")
        ->check(CLI::IsMember(policies));
    merge->add_flag("--in-place", mergeRequest.inPlace, "Allow the output to be the target itself");

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        // --help ends here with status 0; every other parse error is bad input, status 1.
        return app.exit(error) == 0 ? 0 : 1;
    }

    if (*info) {
        auto text = veltrane::cli::describeFile(infoPath);
        if (!text) {
            std::cerr << "veltrane-cli: " << text.error() << '\n';
            return 1;
        }
        std::cout << text.value();
    }
    if (*merge) {
        mergeRequest.policy = policies.at(policy);
        auto report = veltrane::cli::runMerge(mergeRequest);
        if (!report) {
            std::cerr << "veltrane-cli: " << report.error() << '\n';
            return 1;
        }
        for (const auto& warning : report->warnings)
            std::cerr << "veltrane-cli: warning: " << warning << '\n';
        for (const auto& note : report->notes)
            std::cerr << "veltrane-cli: " << note << '\n';
        for (const auto& line : report->statistics)
            std::cout << line << '\n';
    }
    return 0;
}
