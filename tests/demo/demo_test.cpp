#include "demo/demo_files.h"
#include "support/fingerprint.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace veltrane {
namespace {

using demo::DemoScale;

TEST(Demo, TheFilesAreWrittenWithTheBytesTheyAlwaysHaveAndAFolderThatCannotBeMadeIsReported) {
    const testing::TempFolder folder;
    const auto written = demo::writeDemoFiles(folder / "demo", DemoScale::Normal);
    ASSERT_TRUE(written) << written.error();
    EXPECT_EQ(written->target, folder / "demo" / "target.tr4");
    EXPECT_EQ(testing::fingerprint(testing::TempFolder::read(written->target)), 0x459222024b5eaa63u);
    EXPECT_EQ(testing::fingerprint(testing::TempFolder::read(written->source)), 0xed949620d56ccb8eu);
    const auto blocked = demo::writeDemoFiles(written->target / "demo", DemoScale::Normal);
    EXPECT_NE(blocked.error().find("cannot make the folder"), std::string::npos) << blocked.error();
}

} // namespace
} // namespace veltrane
