// What a user waits for from the command line, next to the same work done in this process in the same
// run: veltrane-cli info of the large demo level against opening it here, and veltrane-cli merge with
// no ticks (the level and the library loaded, the level saved) against runMerge here. The time of a
// veltrane-cli --help run just before each is taken off, so that starting a process does not count.
// Goal: each command <= 1.2 times the work done here.
#include "cli/merge_command.h"
#include "demo/demo_files.h"
#include "level/level_document.h"
#include "ratio_reporter.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <vector>

extern char** environ;

using namespace veltrane;

namespace {

// The large demo pair written to a folder of its own, removed when the program ends.
struct Files {
    Files() {
        std::string pattern = (std::filesystem::temp_directory_path() / "veltrane-bench-XXXXXX").string();
        folder = ::mkdtemp(pattern.data());
        const auto written = demo::writeDemoFiles(folder, demo::DemoScale::Large);
        if (written) {
            request.target = written->target;
            request.source = written->source;
            request.output = folder / "saved.tr4";
        }
    }
    ~Files() { std::filesystem::remove_all(folder); }

    std::filesystem::path folder;
    cli::MergeRequest request;
};

const Files& files() {
    static const Files files;
    return files;
}

// Runs veltrane-cli with `args`, its output thrown away: the seconds it took, or a negative number
// when it failed.
double runCommand(std::vector<std::string> args) {
    args.insert(args.begin(), VELTRANE_CLI);
    std::vector<char*> argv;
    for (auto& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    int status = -1;
    if (posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ) == 0)
        waitpid(child, &status, 0);
    const auto end = std::chrono::steady_clock::now();
    posix_spawn_file_actions_destroy(&actions);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? std::chrono::duration<double>(end - start).count() : -1;
}

// Each iteration's time is the command's less that of a --help run just before it.
void timeCommand(benchmark::State& state, const std::vector<std::string>& args) {
    if (files().request.target.empty()) {
        state.SkipWithError("the demo files could not be written");
        return;
    }
    for (auto _ : state) {
        const double start = runCommand({"--help"});
        const double command = runCommand(args);
        if (start < 0 || command < 0) {
            state.SkipWithError("veltrane-cli failed");
            break;
        }
        state.SetIterationTime(std::max(0.0, command - start));
    }
}

void CommandLineInfo(benchmark::State& state) { timeCommand(state, {"info", files().request.target.string()}); }

void CommandLineMerge(benchmark::State& state) {
    const auto& request = files().request;
    timeCommand(state, {"merge", request.target.string(), request.source.string(), "-o", request.output.string()});
}

void OpenLevel(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(level::openLevelDocument(files().request.target));
}

void LoadAndSave(benchmark::State& state) {
    for (auto _ : state)
        if (!cli::runMerge(files().request)) {
            state.SkipWithError("the merge failed");
            break;
        }
}

} // namespace

BENCHMARK(OpenLevel)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(CommandLineInfo)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(LoadAndSave)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(CommandLineMerge)->Unit(benchmark::kMillisecond)->UseManualTime();

int main(int argc, char** argv) {
    files(); // written before anything is timed
    return bench::runWithRatios(argc, argv, {{"CommandLineInfo", "OpenLevel"}, {"CommandLineMerge", "LoadAndSave"}});
}
