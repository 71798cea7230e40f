#include "large_demo.h"

#include "demo/demo_files.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <utility>

extern char** environ;

namespace veltrane::bench {
namespace {

struct WrittenFiles : LargeDemoFiles {
    WrittenFiles() {
        std::string pattern = (std::filesystem::temp_directory_path() / "veltrane-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            return;
        folder = pattern;
        if (const auto written = demo::writeDemoFiles(folder, demo::DemoScale::Large)) {
            target = written->target;
            source = written->source;
        }
    }
    ~WrittenFiles() {
        std::error_code ignored;
        if (!folder.empty())
            std::filesystem::remove_all(folder, ignored);
    }
};

double runSeconds(std::vector<std::string> args) {
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

} // namespace

const LargeDemoFiles& largeDemoFiles() {
    static const WrittenFiles files;
    return files;
}

double commandSeconds(std::vector<std::string> args) {
    const double start = runSeconds({"--help"});
    const double command = runSeconds(std::move(args));
    return start < 0 || command < 0 ? -1 : std::max(0.0, command - start);
}

} // namespace veltrane::bench
