#include "io/file_io.h"

#include "support/temp_folder.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace veltrane::io {
namespace {

using testing::TempFolder;
namespace fs = std::filesystem;

const std::vector<std::uint8_t> kOriginal(1024, 9);

// Whatever a failed replace met, the file it was to replace is as it was and no temporary is left.
void expectFailedReplace(const fs::path& path, std::span<const std::uint8_t> bytes, const std::string& reason) {
    const Status result = replaceFile(path, bytes);
    ASSERT_FALSE(result.ok());
    EXPECT_NE(result.error().find(reason), std::string::npos) << result.error();
    EXPECT_EQ(TempFolder::read(path), kOriginal);
    EXPECT_EQ(TempFolder::entries(path.parent_path()), 1u);
}

// Makes the folder unwritable; root ignores permission bits, so for root it gets the immutable attribute.
bool lock(const fs::path& folder, bool locked) {
    if (::geteuid() != 0) {
        fs::permissions(folder, locked ? fs::perms::owner_read | fs::perms::owner_exec : fs::perms::owner_all);
        return true;
    }
    return std::system(("chattr " + std::string(locked ? "+i" : "-i") + " '" + folder.string() + "' 2>/dev/null").c_str()) == 0;
}

TEST(FileIo, ReplaceWritesTheWholeFileKeepsItsPermissionsAndLeavesNoTemporary) {
    const TempFolder folder;
    const auto path = folder / "level.tr4";
    ASSERT_TRUE(replaceFile(path, std::vector<std::uint8_t>(100, 1)).ok());
    ::chmod(path.c_str(), 0640);
    const std::vector<std::uint8_t> second(50, 2);
    ASSERT_TRUE(replaceFile(path, second).ok());
    EXPECT_EQ(TempFolder::read(path), second);
    struct stat info {};
    ::stat(path.c_str(), &info);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_EQ(TempFolder::entries(folder.path()), 1u);

    // Through a link, the file it names is replaced and the link stays a link.
    const auto link = folder / "link.tr4";
    std::filesystem::create_symlink(path.filename(), link);
    ASSERT_TRUE(replaceFile(link, std::vector<std::uint8_t>(7, 3)).ok());
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(TempFolder::read(path), std::vector<std::uint8_t>(7, 3));
}

TEST(FileIo, AWriteThatFailsHalfWayLeavesTheDestinationAsItWasOnce) {
    const TempFolder folder;
    const auto path = folder / "level.tr4";
    ASSERT_TRUE(replaceFile(path, kOriginal).ok());
    failNextReplaceAfter(500, EIO);
    expectFailedReplace(path, std::vector<std::uint8_t>(2000, 1), "cannot write " + path.string() + ": " + std::strerror(EIO));
    EXPECT_TRUE(replaceFile(path, std::vector<std::uint8_t>(2000, 1)).ok()) << "the failure acts once";
}

TEST(FileIo, AFolderThatCannotBeWrittenAndASizeLimitLeaveTheDestinationAsItWas) {
    {
        const TempFolder folder;
        const auto path = folder / "level.tr4";
        ASSERT_TRUE(replaceFile(path, kOriginal).ok());
        if (lock(folder.path(), true))
            expectFailedReplace(path, std::vector<std::uint8_t>(10, 1), "cannot create a file in");
        lock(folder.path(), false);
    }
    const TempFolder folder;
    const auto path = folder / "level.tr4";
    ASSERT_TRUE(replaceFile(path, kOriginal).ok());
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    const auto handler = std::signal(SIGXFSZ, SIG_IGN); // a write past the limit then fails with EFBIG
    rlimit lowered = saved;
    lowered.rlim_cur = 4096;
    ::setrlimit(RLIMIT_FSIZE, &lowered);
    expectFailedReplace(path, std::vector<std::uint8_t>(10000, 1), std::strerror(EFBIG));
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, handler);
}

TEST(FileIo, MissingFilesAndFoldersAreNamed) {
    const TempFolder folder;
    EXPECT_NE(replaceFile(folder / "missing" / "level.tr4", std::vector<std::uint8_t>(4)).error().find(
                  "No such file or directory"),
              std::string::npos);
    EXPECT_NE(readWholeFile(folder / "none.tr4").error().find("cannot open " + (folder / "none.tr4").string()),
              std::string::npos);
    EXPECT_EQ(readWholeFile(folder.path()).error(), folder.path().string() + " is not a regular file");
    EXPECT_EQ(readWholeFile(folder.write("three", std::vector<std::uint8_t>(3, 5))).value(),
              std::vector<std::uint8_t>(3, 5));
}

} // namespace
} // namespace veltrane::io
