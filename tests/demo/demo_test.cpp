#include "demo/demo_files.h"
#include "support/fingerprint.h"
#include "support/plain_zlib.h"
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
    const auto target = testing::TempFolder::read(written->target);
    EXPECT_EQ(testing::fingerprint(target), 0xb5569700e0dbd9c0u);
    testing::expectPlainZlibChunks(target);
    EXPECT_EQ(testing::fingerprint(testing::TempFolder::read(written->source)), 0xed949620d56ccb8eu);
    const auto blocked = demo::writeDemoFiles(written->target / "demo", DemoScale::Normal);
    EXPECT_NE(blocked.error().find("cannot make the folder"), std::string::npos) << blocked.error();
}

} // namespace
} // namespace veltrane
