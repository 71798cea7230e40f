#include "builders/library_builder.h"
#include "builders/small_target.h"
#include "level/file_kind.h"
#include "level/level_document.h"
#include "support/temp_folder.h"
#include "wad/library_document.h"

#include <gtest/gtest.h>

namespace veltrane::level {
namespace {

TEST(LevelDocument, AFileThatDoesNotOpenIsNamedAndSaidWhatItLooksLikeAndOneThatDoesIsSavedAsItWas) {
    auto small = builders::smallTarget();
    const auto level = encodeLevelDocument(small).value().file;
    auto library = wad::encodeLibrary(builders::emptyLibrary());
    const std::string text = "[level]\nname = temple \xE2\x80\x94 east wing\n";
    const testing::TempFolder folder;
    const auto opening = [&](const char* name, std::span<const std::uint8_t> bytes) {
        const auto path = folder.write(name, bytes);
        return path.extension() == ".tr4" ? openLevelDocument(path).error() : wad::openLibraryDocument(path).error();
    };
    EXPECT_EQ(opening("library.tr4", library), "library.tr4 is not a TR4 level: it looks like an object library (.wad)");
    EXPECT_EQ(opening("notes.tr4", std::vector<std::uint8_t>(text.begin(), text.end())),
              "notes.tr4 is not a TR4 level: it looks like a text file");
    EXPECT_EQ(opening("empty.wad", {}), "empty.wad is not an object library (.wad): it looks like an empty file");
    EXPECT_EQ(opening("level.wad", level), "level.wad is not an object library (.wad): it looks like a TR4 level");
    const auto kindOf = [](std::vector<std::uint8_t> bytes) { return recogniseFile(bytes); };
    EXPECT_EQ(kindOf({'T', 'R', '4', 0}), FileKind::Level);
    EXPECT_EQ(kindOf({1, 0, 0, 0, 0xFF}), FileKind::Library);
    EXPECT_EQ(kindOf({0, 0, 0, 0, 0xFF}), FileKind::Unknown);
    library[0] = 7;
    EXPECT_EQ(opening("old.wad", library), "old.wad: library: version is 7, not 129");
    EXPECT_EQ(openLevelDocument(folder / "none.tr4").error().rfind("cannot open", 0), 0u);

    auto oddVersion = level;
    oddVersion[3] = 0x80;
    auto opened = openLevelDocument(folder.write("odd.tr4", oddVersion));
    ASSERT_TRUE(opened.ok()) << "only a failure is explained";
    ASSERT_TRUE(saveLevelDocument(folder / "saved.tr4", opened.value()).ok());
    EXPECT_EQ(folder.read(folder / "saved.tr4"), oddVersion) << "a save writes back what it opened";
}

} // namespace
} // namespace veltrane::level
