// Every input that ever made a fuzz target fail (a crash, a sanitizer report, a broken promise, an
// input slower than ten seconds) is kept in findings/, named after its target, and each target's
// minimised corpus in corpus/TARGET/. All are replayed here through what the target does; a promise
// broken again aborts the program, which fails the test.
#include "fuzz_inputs.h"
#include "io/file_io.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

namespace veltrane::fuzz {
namespace {

namespace fs = std::filesystem;

TEST(FuzzInputs, EveryFindingAndCorpusInputRunsThroughItsTarget) {
    const std::map<std::string, void (*)(std::span<const std::uint8_t>)> targets = {
        {"level", fuzzLevel}, {"library", fuzzLibrary}, {"merge", fuzzMerge}};
    std::map<std::string, int> replayed;
    const auto replay = [&](const fs::path& file, const std::string& name) {
        SCOPED_TRACE(file.string());
        const auto target = targets.find(name);
        ASSERT_NE(target, targets.end()) << "a finding's name starts with level-, library- or merge-";
        const auto input = io::readWholeFile(file);
        ASSERT_TRUE(input.ok()) << input.error();
        // Each takes milliseconds; one that hangs again runs into the test's time limit.
        target->second(input.value());
        ++replayed[file.parent_path().filename().string() + "/" + name];
    };
    const fs::path inputs = VELTRANE_FUZZ_INPUTS;
    for (const auto& finding : fs::directory_iterator(inputs / "findings")) {
        const std::string name = finding.path().filename().string();
        replay(finding.path(), name.substr(0, name.find('-')));
    }
    for (const auto& [name, target] : targets)
        for (const auto& input : fs::directory_iterator(inputs / "corpus" / name))
            replay(input.path(), name);
    EXPECT_GE(replayed["findings/level"], 3);
    for (const auto& [name, target] : targets)
        EXPECT_GT(replayed[name + "/" + name], 0) << "corpus/" << name << " is empty";
}

} // namespace
} // namespace veltrane::fuzz
