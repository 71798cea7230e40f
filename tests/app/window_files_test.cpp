#include "window_fixture.h"

#include "../preview_gl/gl_fixtures.h"

#include "level/level_file.h"
#include "builders/library_builder.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QUrl>

namespace veltrane::app::testing {
namespace {

using preview::testing::describe;
using preview::testing::kMagenta;
using preview::testing::near;

QString qtPath(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }

TEST_F(WindowTest, StartsWithNothingLoadedAndTheDesignLayout) {
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Veltrane Beta Version"));
    EXPECT_EQ(window->size(), QSize(885, 650));
    EXPECT_EQ(window->Panel1->size(), QSize(321, 361));
    EXPECT_EQ(window->GroupBox1->geometry(), QRect(616, 16, 249, 521));
    EXPECT_EQ(window->ListBox2->geometry(), QRect(8, 312, 233, 193));
    EXPECT_EQ(window->GroupBox1->title(), QStringLiteral("Target:"));
    EXPECT_EQ(window->GroupBox2->title(), QStringLiteral("Source:"));
    EXPECT_EQ(window->Edit1->text(), QStringLiteral("1.2"));
    for (const QListWidget* list : {window->ListBox1, window->ListBox2, window->CheckListBox1, window->CheckListBox2})
        EXPECT_EQ(list->count(), 0);
    EXPECT_TRUE(window->Memo1->toPlainText().isEmpty());
    // Save As, Merge and Change wait for a target.
    EXPECT_FALSE(window->SaveAs1->isEnabled());
    EXPECT_FALSE(window->Button1->isEnabled());
    EXPECT_FALSE(window->Button3->isEnabled());

    const QImage frame = window->Panel1->grabFramebuffer();
    const QColor centre = frame.pixelColor(frame.width() / 2, frame.height() / 2);
    EXPECT_TRUE(near(centre, kMagenta)) << describe(centre);

    EXPECT_EQ(window->Open1->shortcut(), QKeySequence(QStringLiteral("Ctrl+O")));
    EXPECT_EQ(window->Open2->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+O")));
    EXPECT_EQ(window->SaveAs1->shortcut(), QKeySequence(QStringLiteral("Ctrl+S")));
    EXPECT_EQ(window->Exit1->shortcut(), QKeySequence(QStringLiteral("Ctrl+Q")));

    EXPECT_FALSE(window->DisableSounds1->isChecked());
    window->DisableSounds1->trigger();
    EXPECT_TRUE(window->DisableSounds1->isChecked());
    EXPECT_TRUE(dialogs.notices.empty());
}

TEST_F(WindowTest, GrowingTheWindowGrowsThePreviewAndKeepsTheBoxesAtTheirSides) {
    const QRect source = window->GroupBox2->geometry();
    const QRect target = window->GroupBox1->geometry();
    window->resize(985, 700);
    QTest::qWait(50);
    EXPECT_EQ(window->Panel1->size(), QSize(421, 411));
    EXPECT_EQ(window->GroupBox2->geometry(), source);
    EXPECT_EQ(window->GroupBox1->geometry(), target.translated(100, 0));
}

TEST_F(WindowTest, OpenTargetFillsTheTargetListsAndCountsItsMeshes) {
    auto fixture = merge::testing::targetFixture();
    fixture.level.Moveables.push_back({7, 1, 2, 0, 0, 0});
    fixture.level.StaticMeshes.push_back({30, 1, {}, 0});
    openTarget(writeTarget("two.tr4", fixture));

    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(dialogs.asked[0].title, QStringLiteral("Abrir Archivo de Tomb Raider 4"));
    EXPECT_EQ(dialogs.asked[0].filter, QStringLiteral("Tomb Raider 4 (*.tr4)"));
    EXPECT_EQ(entries(*window->ListBox1), QStringList({"Moveable:ID #20", "Moveable:ID #7"}));
    EXPECT_EQ(entries(*window->ListBox2), QStringList({"Static Mesh:0", "Static Mesh:1"}));
    EXPECT_EQ(window->GroupBox1->title(), QStringLiteral("Meshes: 3"));
    EXPECT_TRUE(window->SaveAs1->isEnabled());
    EXPECT_TRUE(window->Button1->isEnabled());
    EXPECT_TRUE(std::filesystem::exists(folder / "temp_block"));
    EXPECT_EQ(std::filesystem::file_size(folder / "tex16.tex"), window->target()->level.Pages16.size());
    EXPECT_TRUE(dialogs.notices.empty());
}

TEST_F(WindowTest, OpenSourceFillsTheTickLists) {
    openSource(writeSource("source.wad", twoOfEachSource()));
    EXPECT_EQ(dialogs.asked.at(0).title, QStringLiteral("Abrir Archivo WAD"));
    EXPECT_EQ(dialogs.asked.at(0).filter, QStringLiteral("WAD File (*.wad)"));
    EXPECT_EQ(entries(*window->CheckListBox1), QStringList({"Moveable ID #60", "Moveable ID #61"}));
    EXPECT_EQ(entries(*window->CheckListBox2), QStringList({"Static Mesh ID #50", "Static Mesh ID #51"}));
    for (const QListWidget* list : {window->CheckListBox1, window->CheckListBox2})
        for (int i = 0; i < list->count(); ++i)
            EXPECT_EQ(list->item(i)->checkState(), Qt::Unchecked);
    EXPECT_EQ(std::filesystem::file_size(folder / "segundoA.bbb"), 262144u);
    // A source alone does not make a target to save or merge into.
    EXPECT_FALSE(window->Button1->isEnabled());
}

TEST_F(WindowTest, ASecondOpenReplacesTheTargetAndWhatWasOnShow) {
    openTarget(writeTarget("first.tr4"));
    click(*window->ListBox1, 0);
    ASSERT_TRUE(window->Panel1->scene().selection().has_value());

    auto second = merge::testing::targetFixture();
    second.level.StaticMeshes.clear();
    second.level.Moveables.push_back({8, 1, 2, 0, 0, 0});
    openTarget(writeTarget("second.tr4", second));
    EXPECT_EQ(entries(*window->ListBox1), QStringList({"Moveable:ID #20", "Moveable:ID #8"}));
    EXPECT_EQ(window->ListBox2->count(), 0);
    EXPECT_EQ(window->ListBox1->currentRow(), -1);
    EXPECT_FALSE(window->Panel1->scene().selection().has_value());
}

TEST_F(WindowTest, CancelledDialogsChangeNothing) {
    openTarget(writeTarget("target.tr4"));
    openSource(writeSource("source.wad", twoOfEachSource()));
    click(*window->CheckListBox1, 1);
    const auto selection = window->Panel1->scene().selection();
    const level::LevelDocument* target = window->target();

    window->Open1Click();
    window->Open2Click();
    window->SaveAs1Click();
    EXPECT_EQ(dialogs.asked.size(), 5u);
    EXPECT_EQ(window->target(), target);
    EXPECT_EQ(window->ListBox1->count(), 1);
    EXPECT_EQ(window->CheckListBox1->count(), 2);
    EXPECT_EQ(window->CheckListBox1->currentRow(), 1);
    EXPECT_EQ(window->GroupBox1->title(), QStringLiteral("Meshes: 3"));
    EXPECT_EQ(window->Panel1->scene().selection(), selection);
    EXPECT_TRUE(dialogs.notices.empty());
}

TEST_F(WindowTest, ADamagedFileIsReportedAndLeavesThePreviousOneAsItWas) {
    openTarget(writeTarget("target.tr4"));
    openSource(writeSource("source.wad", twoOfEachSource()));
    click(*window->ListBox1, 0);
    const level::Tr4Level before = window->target()->level;

    openTarget(writeBytes("broken.tr4", {1, 2, 3}));
    ASSERT_EQ(dialogs.notices.size(), 1u);
    EXPECT_EQ(lastNotice().title, QStringLiteral("Error"));
    EXPECT_TRUE(lastNotice().text.startsWith(QStringLiteral("Error\n\n"))) << lastNotice().text.toStdString();
    EXPECT_EQ(window->target()->level, before);
    EXPECT_EQ(window->ListBox1->count(), 1);
    EXPECT_EQ(window->ListBox1->currentRow(), 0);
    EXPECT_EQ(window->Panel1->scene().selection(),
              std::optional(preview::PreviewSelection{preview::PreviewList::TargetMoveables, 0}));

    openTarget(folder / "missing.tr4");
    EXPECT_TRUE(lastNotice().text.contains(QStringLiteral("missing.tr4"))) << lastNotice().text.toStdString();

    auto wrongVersion = wad::encodeLibrary(twoOfEachSource().library);
    wrongVersion[0] = 7;
    openSource(writeBytes("old.wad", wrongVersion));
    EXPECT_EQ(lastNotice().title, QStringLiteral("Error"));
    EXPECT_TRUE(lastNotice().text.startsWith(QStringLiteral("Error reading the file\n\n")))
        << lastNotice().text.toStdString();
    EXPECT_EQ(window->CheckListBox1->count(), 2);
    EXPECT_EQ(window->source()->library.Moveables.size(), 2u);
}

TEST_F(WindowTest, SaveAsWritesExactlyTheChosenNameAndTheFileLoadsAgain) {
    openTarget(writeTarget("target.tr4"));
    openSource(writeSource("source.wad", twoOfEachSource()));
    tick(*window->CheckListBox1, 1);
    window->Button1Click();

    const auto saved = folder / "grown";
    dialogs.saveAnswers.push_back(qtPath(saved));
    window->SaveAs1Click();
    EXPECT_EQ(dialogs.asked.back().title, QStringLiteral("Save Target File As..."));
    EXPECT_EQ(dialogs.asked.back().filter, QStringLiteral("Tomb Raider 4 Files (*.tr4)"));
    EXPECT_EQ(lastNotice().text, QStringLiteral("File saved"));
    EXPECT_EQ(lastNotice().title, QStringLiteral("Veltrane"));
    EXPECT_FALSE(std::filesystem::exists(folder / "grown.tr4"));
    for (const char* scratch : {"mesh_block", "new_data"})
        EXPECT_TRUE(std::filesystem::exists(folder / scratch)) << scratch;

    const auto reloaded = level::readLevel(saved);
    ASSERT_TRUE(reloaded.ok()) << reloaded.error();
    ASSERT_EQ(reloaded->Moveables.size(), 2u);
    EXPECT_EQ(reloaded->Moveables[1].ObjectId, 61u);
    EXPECT_EQ(reloaded->MeshWords, window->target()->level.MeshWords);

    openTarget(saved);
    EXPECT_EQ(entries(*window->ListBox1), QStringList({"Moveable:ID #20", "Moveable:ID #61"}));
    // The busy cursor of opening, merging and saving is gone once each is done.
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(WindowTest, AFailedSaveIsReportedAndTouchesNoFile) {
    openTarget(writeTarget("target.tr4"));
    // A folder under the chosen name cannot be replaced by the level.
    const auto taken = folder / "taken.tr4";
    std::filesystem::create_directory(taken);
    writeBytes("taken.tr4/inside", {9, 9, 9});
    dialogs.saveAnswers.push_back(qtPath(taken));
    window->SaveAs1Click();
    EXPECT_EQ(lastNotice().title, QStringLiteral("Error"));
    EXPECT_TRUE(lastNotice().text.startsWith(QStringLiteral("Error\n\n"))) << lastNotice().text.toStdString();
    EXPECT_EQ(std::filesystem::file_size(taken / "inside"), 3u);

    dialogs.saveAnswers.push_back(qtPath(folder / "no such folder" / "x.tr4"));
    window->SaveAs1Click();
    EXPECT_EQ(lastNotice().title, QStringLiteral("Error"));
    EXPECT_FALSE(std::filesystem::exists(folder / "no such folder"));
}

TEST_F(WindowTest, ScratchFilesThatCannotBeWrittenFailNoCommand) {
    for (const char* scratch : {"temp_block", "tex16.tex", "segundoA.bbb", "mesh_block", "new_data"})
        std::filesystem::create_directories(folder / scratch / "taken");
    openTarget(writeTarget("target.tr4"));
    openSource(writeSource("source.wad", twoOfEachSource()));
    tick(*window->CheckListBox1, 0);
    window->Button1Click();
    dialogs.saveAnswers.push_back(qtPath(folder / "saved.tr4"));
    window->SaveAs1Click();
    EXPECT_EQ(window->ListBox1->count(), 2);
    EXPECT_EQ(window->CheckListBox1->count(), 2);
    EXPECT_EQ(lastNotice().text, QStringLiteral("File saved"));
    EXPECT_TRUE(level::readLevel(folder / "saved.tr4").ok());
}

TEST_F(WindowTest, WithoutThirtyTwoBitTexturesEveryOpenTargetGivesTheNoticeAndAMergeDoesNot) {
    TForm1::Options options;
    options.dialogs = &dialogs;
    options.allow32BitTextures = false;
    window = std::make_unique<TForm1>(options);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    const auto target = writeTarget("target.tr4");
    openTarget(target);
    openTarget(target);
    window->Button1Click();
    QTest::qWait(20);
    std::vector<QString> sixteenBit;
    for (const auto& notice : dialogs.notices)
        if (notice.text == QStringLiteral("Se renderiza con 16 bits")) {
            EXPECT_EQ(notice.title, QString());
            sixteenBit.push_back(notice.text);
        }
    EXPECT_EQ(sixteenBit.size(), 2u);
}

TEST_F(WindowTest, DroppedFilesOpenAsTargetAndSource) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(qtPath(writeTarget("dropped.tr4"))),
                  QUrl::fromLocalFile(qtPath(writeSource("dropped.wad", twoOfEachSource()))),
                  QUrl::fromLocalFile(qtPath(writeBytes("notes.txt", {1})))});
    QDragEnterEvent enter({10, 10}, Qt::CopyAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(window.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop({10, 10}, Qt::CopyAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(window.get(), &drop);
    EXPECT_EQ(window->ListBox1->count(), 1);
    EXPECT_EQ(window->CheckListBox1->count(), 2);

    QMimeData text;
    text.setUrls({QUrl::fromLocalFile(qtPath(folder / "notes.txt"))});
    QDragEnterEvent refused({10, 10}, Qt::CopyAction, &text, Qt::LeftButton, {});
    refused.setAccepted(false);
    QCoreApplication::sendEvent(window.get(), &refused);
    EXPECT_FALSE(refused.isAccepted());
}

TEST_F(WindowTest, ExitReleasesTheFilesAndClosesTheWindow) {
    openTarget(writeTarget("target.tr4"));
    openSource(writeSource("source.wad", twoOfEachSource()));
    click(*window->CheckListBox2, 0);
    window->Exit1->trigger();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->target(), nullptr);
    EXPECT_EQ(window->source(), nullptr);
    EXPECT_FALSE(window->Panel1->scene().selection().has_value());
}

} // namespace
} // namespace veltrane::app::testing
