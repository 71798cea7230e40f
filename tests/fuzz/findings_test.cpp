// Every input that ever made a fuzz target fail (a crash, a sanitizer report, a broken promise, an
// input slower than ten seconds) is kept in findings/, named after its target, and replayed here
// through what that target does. A promise broken again aborts the program, which fails the test.
#include "fuzz_inputs.h"
#include "io/file_io.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <string>

namespace veltrane::fuzz {
namespace {

namespace fs = std::filesystem;

const std::map<std::string, std::function<void(std::span<const std::uint8_t>)>>& targets() {
    static const std::map<std::string, std::function<void(std::span<const std::uint8_t>)>> byName = {
        {"level", fuzzLevel}, {"library", fuzzLibrary}, {"merge", fuzzMerge}};
    return byName;
}

TEST(FuzzFindings, EveryPastFindingRunsThroughItsTarget) {
    int replayed = 0;
    for (const auto& entry : fs::directory_iterator(VELTRANE_FUZZ_FINDINGS)) {
        const std::string name = entry.path().filename().string();
        SCOPED_TRACE(name);
        const auto target = targets().find(name.substr(0, name.find('-')));
        ASSERT_NE(target, targets().end()) << "a finding's name starts with level-, library- or merge-";
        const auto input = io::readWholeFile(entry.path());
        ASSERT_TRUE(input.ok()) << input.error();
        // Each takes milliseconds; one that hangs again runs into the test's time limit.
        target->second(input.value());
        ++replayed;
    }
    EXPECT_GE(replayed, 3);
}

} // namespace
} // namespace veltrane::fuzz
