#include "io/file_io.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace veltrane::io;
namespace fs = std::filesystem;

namespace {

class FileIo : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("veltrane-io-" + std::to_string(::getpid()) + "-" +
                                               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(folder_);
    }
    void TearDown() override {
        unlockFolder();
        fs::remove_all(folder_);
    }
    // Root ignores permission bits, so for root the folder gets the immutable attribute instead.
    bool lockFolder() {
        if (::geteuid() != 0) {
            fs::permissions(folder_, fs::perms::owner_read | fs::perms::owner_exec);
            return true;
        }
        return std::system(("chattr +i '" + folder_.string() + "' 2>/dev/null").c_str()) == 0;
    }
    void unlockFolder() {
        if (::geteuid() == 0)
            (void)std::system(("chattr -i '" + folder_.string() + "' 2>/dev/null").c_str());
        fs::permissions(folder_, fs::perms::owner_all, fs::perm_options::add);
    }
    static std::vector<std::uint8_t> contents(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    fs::path folder_;
};

} // namespace

TEST_F(FileIo, ReplaceWritesTheWholeFileAndLeavesNoTemporary) {
    const auto path = folder_ / "level.tr4";
    const std::vector<std::uint8_t> first(100, 1), second(50, 2);
    ASSERT_TRUE(replaceFile(path, first).ok());
    ::chmod(path.c_str(), 0640);
    ASSERT_TRUE(replaceFile(path, second).ok());
    EXPECT_EQ(contents(path), second);
    struct stat info {};
    ::stat(path.c_str(), &info);
    EXPECT_EQ(info.st_mode & 0777, 0640u) << "an existing file keeps its permissions";
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1);
}

TEST_F(FileIo, AFailedReplaceLeavesTheDestinationAsItWas) {
    const auto path = folder_ / "level.tr4";
    const std::vector<std::uint8_t> original(64, 9);
    ASSERT_TRUE(replaceFile(path, original).ok());
    if (!lockFolder())
        GTEST_SKIP() << "this file system cannot make a folder read-only for root";
    const auto result = replaceFile(path, std::vector<std::uint8_t>(10, 1));
    ASSERT_FALSE(result.ok());
    EXPECT_NE(result.error().find("cannot create a file in"), std::string::npos) << result.error();
    EXPECT_EQ(contents(path), original);
}

TEST_F(FileIo, ReplaceIntoAMissingFolderSaysWhy) {
    const auto result = replaceFile(folder_ / "missing" / "level.tr4", std::vector<std::uint8_t>(4));
    ASSERT_FALSE(result.ok());
    EXPECT_NE(result.error().find("No such file or directory"), std::string::npos) << result.error();
}

TEST_F(FileIo, ReadingAMissingFileOrAFolderFailsWithAMessage) {
    EXPECT_NE(readWholeFile(folder_ / "none.tr4").error().find("cannot open"), std::string::npos);
    EXPECT_NE(readWholeFile(folder_).error().find("not a regular file"), std::string::npos);
}

TEST_F(FileIo, AScratchFileThatCannotBeWrittenIsOnlyReported) {
    EXPECT_TRUE(writeScratchFile(folder_ / "temp_block", std::vector<std::uint8_t>(3, 1)));
    EXPECT_EQ(contents(folder_ / "temp_block").size(), 3u);
    EXPECT_FALSE(writeScratchFile(folder_ / "missing" / "temp_block", std::vector<std::uint8_t>(3, 1)));
}
