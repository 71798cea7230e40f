#include "io/file_io.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/resource.h>
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
        if (mounted_)
            ::umount(disk().c_str());
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
    // A file system of 64 KiB inside the folder, when this machine lets the test mount one.
    bool mountSmallDisk() {
        fs::create_directories(disk());
        mounted_ = ::mount("tmpfs", disk().c_str(), "tmpfs", 0, "size=64k") == 0;
        return mounted_;
    }
    fs::path disk() const { return folder_ / "disk"; }
    std::size_t entries(const fs::path& folder) const {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
    }
    static std::vector<std::uint8_t> contents(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    fs::path folder_;
    bool mounted_ = false;
};

// Lowers the largest file this process may write, and restores it, for one test.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN); // a write past the limit then fails with EFBIG
        rlimit lowered = saved_;
        lowered.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit saved_{};
    void (*previousHandler_)(int) = nullptr;
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

TEST_F(FileIo, AWriteThatFailsHalfWayLeavesTheDestinationAsItWasAndNoTemporary) {
    const auto path = folder_ / "level.tr4";
    const std::vector<std::uint8_t> original(64, 9);
    ASSERT_TRUE(replaceFile(path, original).ok());
    failNextReplaceAfter(50, EIO);
    const auto result = replaceFile(path, std::vector<std::uint8_t>(100, 1));
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error(), "cannot write " + path.string() + ": " + std::strerror(EIO));
    EXPECT_EQ(contents(path), original);
    EXPECT_EQ(entries(folder_), 1u);
    EXPECT_TRUE(replaceFile(path, std::vector<std::uint8_t>(100, 1)).ok()) << "the failure acts once";
}

TEST_F(FileIo, AFullFileSystemLeavesTheDestinationAsItWas) {
    if (!mountSmallDisk())
        GTEST_SKIP() << "this machine does not let the test mount a small file system";
    const auto path = disk() / "level.tr4";
    const std::vector<std::uint8_t> original(16 * 1024, 7);
    ASSERT_TRUE(replaceFile(path, original).ok());
    const auto result = replaceFile(path, std::vector<std::uint8_t>(100 * 1024, 1));
    ASSERT_FALSE(result.ok());
    EXPECT_NE(result.error().find(std::strerror(ENOSPC)), std::string::npos) << result.error();
    EXPECT_EQ(contents(path), original);
    EXPECT_EQ(entries(disk()), 1u);
}

TEST_F(FileIo, AFileSizeLimitLeavesTheDestinationAsItWas) {
    const auto path = folder_ / "level.tr4";
    const std::vector<std::uint8_t> original(1024, 7);
    ASSERT_TRUE(replaceFile(path, original).ok());
    Status result = success();
    {
        const FileSizeLimit limit(4096);
        result = replaceFile(path, std::vector<std::uint8_t>(10000, 1));
    }
    ASSERT_FALSE(result.ok());
    EXPECT_NE(result.error().find(std::strerror(EFBIG)), std::string::npos) << result.error();
    EXPECT_EQ(contents(path), original);
    EXPECT_EQ(entries(folder_), 1u);
}
