#include "cli/info.h"
#include "level/level_file.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace veltrane;
namespace fs = std::filesystem;

namespace {

fs::path writeTemp(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    const auto path = fs::temp_directory_path() / (std::to_string(::getpid()) + "-" + name);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
    return path;
}

} // namespace

TEST(Info, ALevelShowsItsHeaderTablesAndObjects) {
    level::Tr4Level level;
    level.Version = 0x00345254;
    level.NumRoomPages = 1;
    level.Pages32.resize(level::kPageBytes32);
    level.Moveables.push_back({7, 3, 0, 0, 0, 0});
    level.StaticMeshes.push_back({});
    level.StaticMeshes[0].ObjectId = 20;
    level.StaticMeshes[0].Mesh = 4;
    const auto path = writeTemp("info.tr4", level::encodeLevel(level)->file);
    const auto text = cli::describeFile(path);
    fs::remove(path);
    ASSERT_TRUE(text.ok()) << text.error();
    EXPECT_NE(text->find("Version: 0x00345254 (\"TR4\\0\")"), std::string::npos) << text.value();
    EXPECT_NE(text->find("PageCount: 1\n"), std::string::npos);
    EXPECT_NE(text->find("  Moveables: 1\n"), std::string::npos);
    EXPECT_NE(text->find("moveable 0: ObjectId=7 MeshCount=3 Animation=0\n"), std::string::npos);
    EXPECT_NE(text->find("static 0: ObjectId=20 Mesh=4\n"), std::string::npos);
}

TEST(Info, ADamagedFileGivesItsNameAndWhatIsWrong) {
    const auto path = writeTemp("damaged.tr4", {1, 2, 3});
    const auto text = cli::describeFile(path);
    fs::remove(path);
    ASSERT_FALSE(text.ok());
    EXPECT_EQ(text.error(), path.string() + ": header: version runs past the end of the file (byte 0: 4 bytes needed, "
                                            "3 left)");
}

TEST(Info, ALibraryIsRecognisedByItsVersionWord) {
    std::vector<std::uint8_t> bytes(52, 0);
    bytes[0] = 129;
    const auto path = writeTemp("library.bin", bytes);
    const auto text = cli::describeFile(path);
    fs::remove(path);
    ASSERT_TRUE(text.ok()) << text.error();
    EXPECT_NE(text->find("kind: library"), std::string::npos);
}
