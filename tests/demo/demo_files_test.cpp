#include "level/level_file.h"
#include "builders/wad_writer.h"
#include "demo/demo_files.h"
#include "demo/demo_level.h"
#include "demo/demo_library.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace veltrane {
namespace {

using demo::DemoScale;

class DemoFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() /
                  ("veltrane-demo-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }
    std::filesystem::path folder_;
};

TEST_F(DemoFilesTest, WritesTheTargetAndSourceThatReadBackAsGenerated) {
    const auto written = demo::writeDemoFiles(folder_ / "demo", DemoScale::Normal);
    ASSERT_TRUE(written) << written.error();
    EXPECT_EQ(written->Target, folder_ / "demo" / "target.tr4");
    EXPECT_EQ(written->Source, folder_ / "demo" / "source.wad");

    const auto target = level::readLevel(written->Target);
    ASSERT_TRUE(target) << target.error();
    EXPECT_EQ(target->Moveables, demo::demoLevel(DemoScale::Normal).Moveables);
    const auto source = wad::readLibrary(written->Source);
    ASSERT_TRUE(source) << source.error();
    EXPECT_TRUE(source.value() == demo::demoLibrary(DemoScale::Normal));
}

TEST_F(DemoFilesTest, AFolderThatCannotBeMadeIsReported) {
    std::filesystem::create_directories(folder_);
    const auto blocker = folder_ / "file";
    { std::ofstream(blocker) << "x"; }
    const auto written = demo::writeDemoFiles(blocker / "demo", DemoScale::Normal);
    ASSERT_FALSE(written);
    EXPECT_NE(written.error().find("cannot make the folder"), std::string::npos) << written.error();
}

} // namespace
} // namespace veltrane
