#include "cli/info.h"
#include "cli/json_text.h"
#include "cli/merge_command.h"
#include "cli/merge_report.h"
#include "io/command_line.h"
#include "io/platform_memory.h"
#include "veltrane_version.h"

#include <CLI/CLI.hpp>
#include <iostream>
#include <map>
#include <optional>

namespace {

using namespace veltrane;

// Exit statuses, as the manual gives them.
constexpr int kRefused = 1; // bad input, or a merge refused
constexpr int kUsage = 2;   // the command line itself is wrong
// The heap grows in steps of this many bytes, and only the first lies on huge pages, so it holds a large
// level and library at once (about 110 MB of address space, 70 MB of it touched); what is never
// touched costs address space only.
constexpr std::size_t kHeapStep = std::size_t{256} << 20;

int fail(const std::string& message, int status) {
    std::cerr << "veltrane-cli: " << message << '\n';
    return status;
}

std::string helpHint(const CLI::App* command) {
    return " (see veltrane-cli " + (command->get_parent() ? command->get_name() + " " : "") + "--help)";
}

// An argument nothing expected, named for what it looks like; the program's own are looked at first.
std::optional<std::string> unexpected(const CLI::App* command) {
    const std::vector<std::string> remaining = command->remaining();
    if (remaining.empty())
        return std::nullopt;
    const std::string& argument = remaining.front();
    const std::string where = command->get_parent() ? command->get_name() + ": " : "";
    if (argument.starts_with('-'))
        return where + "unknown option " + argument + helpHint(command);
    if (!command->get_parent())
        return "unknown command '" + argument + "'; the commands are info and merge" + helpHint(command);
    return where + "unexpected argument '" + argument + "'" + helpHint(command);
}

int usageError(const CLI::App& app, const CLI::ParseError& error) {
    if (auto message = unexpected(&app))
        return fail(*message, kUsage);
    if (app.get_subcommands().empty())
        return fail("a command is needed: info or merge" + helpHint(&app), kUsage);
    const CLI::App* command = app.get_subcommands().front();
    return fail(unexpected(command).value_or(command->get_name() + ": " + error.what() + helpHint(command)), kUsage);
}

int runInfo(const std::string& file, bool json) {
    auto summary = cli::summariseFile(io::utf8Path(file));
    if (!summary)
        return fail(summary.error(), kRefused);
    std::cout << (json ? cli::jsonText(cli::summaryJson(summary.value())) : cli::summaryText(summary.value()));
    return 0;
}

int runMerge(const cli::MergeRequest& request, bool json) {
    auto report = cli::runMerge(request);
    if (!report)
        return fail(report.error(), kRefused);
    if (json) {
        std::cout << cli::jsonText(cli::mergeJson(report.value(), request.output));
        return 0;
    }
    for (const auto& warning : cli::mergeWarnings(report.value()))
        std::cerr << "veltrane-cli: warning: " << warning << '\n';
    for (const auto& note : cli::mergeNotes(report.value()))
        std::cerr << "veltrane-cli: " << note << '\n';
    for (const auto& line : merge::statisticsLines(report->statistics))
        std::cout << line << '\n';
    return 0;
}

// Ranges given to --moveable or --static, checked as they are parsed.
struct IdOption {
    std::vector<std::string> texts;
    CLI::Option* option = nullptr;
    std::vector<cli::IdRange> ranges() const {
        std::vector<cli::IdRange> parsed;
        for (const auto& text : texts)
            parsed.push_back(cli::parseIdRange(text).value());
        return parsed;
    }
};

void addIdOption(CLI::App& command, IdOption& ids, const std::string& name, const std::string& kind) {
    const CLI::Validator idRange(
        [](std::string& text) {
            auto range = cli::parseIdRange(text);
            return range ? std::string() : range.error();
        },
        "");
    ids.option = command.add_option(name, ids.texts,
                                    "Tick every library " + kind + " with this ObjectId, or with one from FIRST to "
                                    "LAST (repeatable)")
                     ->type_name("ID|FIRST-LAST")
                     ->take_all()
                     ->allow_extra_args(false)
                     ->check(idRange);
}

} // namespace

int main(int argc, char** argv) {
    io::keepHeapOnHugePages(kHeapStep);
    const std::vector<std::string> arguments = io::utf8Arguments(argc, argv);
    CLI::App app{"veltrane-cli: inspect Tomb Raider 4 levels (.tr4) and object libraries (.wad), and merge library "
                 "objects into levels."};
    app.footer("Exit status: 0 on success, 1 when a file is bad or a merge is refused, 2 when the command line "
               "is wrong. Errors go to stderr.");
    app.set_version_flag("--version", "veltrane-cli " VELTRANE_VERSION);
    app.require_subcommand(1);
    // On Windows too, options start with a dash; "/levels/a.tr4" is a file, as it is under wine.
    app.allow_windows_style_options(false);

    std::string infoPath;
    bool json = false;
    auto* info = app.add_subcommand(
        "info", "Print a file's header words, page count, the size of every table, then one line per moveable "
                "(index, ObjectId, MeshCount, Animation) and per static mesh (index, ObjectId, Mesh).");
    info->add_option("FILE", infoPath, "A .tr4 level or .wad library")->type_name("")->required();
    info->add_flag("--json", json, "Print one JSON document instead (its shape: docs/command-line.md)");

    cli::MergeRequest request;
    std::string target, source, output;
    auto* merge = app.add_subcommand(
        "merge", "Merge library objects into a level, as the window's Merge command does, and save the result as "
                 "Save As does. Prints the four statistics lines on stdout. A refused merge or bad input writes "
                 "nothing. With no object ticked the level is loaded and saved unchanged.");
    merge->add_option("TARGET", target, "The .tr4 level to merge into")->type_name("")->required();
    merge->add_option("SOURCE", source, "The .wad library to merge from")->type_name("")->required();
    merge->add_option("-o,--output", output, "The .tr4 file to write")->type_name("FILE")->required();
    IdOption moveableIds, staticIds;
    addIdOption(*merge, moveableIds, "--moveable", "moveable");
    addIdOption(*merge, staticIds, "--static", "static mesh");
    auto* allMoveables = merge->add_flag("--all-moveables", request.moveables.all, "Tick every library moveable");
    auto* allStatics = merge->add_flag("--all-statics", request.statics.all, "Tick every library static mesh");
    bool all = false;
    merge->add_flag("--all", all, "Tick every object of the library")
        ->excludes(allMoveables, allStatics, moveableIds.option, staticIds.option);
    allMoveables->excludes(moveableIds.option);
    allStatics->excludes(staticIds.option);
    std::map<std::string, merge::ConflictPolicy> policies;
    for (auto policy : {merge::ConflictPolicy::Keep, merge::ConflictPolicy::Replace, merge::ConflictPolicy::Skip})
        policies[cli::policyName(policy)] = policy;
    std::string policy = "keep";
    merge->add_option("--on-conflict", policy,
                      "What to do with a ticked object whose ID the level already has: keep both (the default, "
                      "with a warning per ID), replace the level's, or skip the library's")
        ->type_name("POLICY")
        ->check(CLI::IsMember(policies));
    merge->add_flag("--in-place", request.inPlace, "Allow the output to be the target itself");
    merge->add_flag("--json", json, "Print one JSON document with the statistics, conflicts and warnings instead "
                                    "(its shape: docs/command-line.md)");

    std::vector<char*> argumentPointers;
    for (const auto& argument : arguments)
        argumentPointers.push_back(const_cast<char*>(argument.c_str()));
    try {
        app.parse(static_cast<int>(argumentPointers.size()), argumentPointers.data());
    } catch (const CLI::Success& done) {
        return app.exit(done); // --help or --version
    } catch (const CLI::ParseError& error) {
        return usageError(app, error);
    }

    if (*info)
        return runInfo(infoPath, json);
    request.target = io::utf8Path(target);
    request.source = io::utf8Path(source);
    request.output = io::utf8Path(output);
    request.moveables.ranges = moveableIds.ranges();
    request.statics.ranges = staticIds.ranges();
    request.moveables.all = request.moveables.all || all;
    request.statics.all = request.statics.all || all;
    request.policy = policies.at(policy);
    return runMerge(request, json);
}
