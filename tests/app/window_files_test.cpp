#include "window_fixture.h"

#include "../preview_gl/gl_fixtures.h"

#include "level/level_file.h"
#include "level/mesh_block.h"
#include "support/plain_zlib.h"
#include "veltrane_version.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QUrl>

namespace veltrane::app::testing {
namespace {

using preview::testing::describe;
using preview::testing::kMagenta;
using preview::testing::near;

TEST_F(WindowTest, StartsWithNothingLoadedAndGivesExtraRoomToTheListsAndThePreviewInProportion) {
    EXPECT_EQ(window->windowTitle(), TForm1::kCaption);
    for (const QListWidget* list : {window->ListBox1, window->ListBox2, window->CheckListBox1, window->CheckListBox2})
        EXPECT_EQ(list->count(), 0);
    // Save As, Merge and Change wait for a target.
    EXPECT_FALSE(window->SaveAs1->isEnabled() || window->Button1->isEnabled() || window->Button3->isEnabled());

    // At the design size every control is at its design place; the window gets no smaller.
    EXPECT_EQ(window->minimumSize(), QSize(885, 650));
    EXPECT_EQ(window->GroupBox2->geometry(), QRect(8, 16, 257, 513));
    EXPECT_EQ(window->Panel1->geometry(), QRect(280, 56, 321, 361));
    EXPECT_EQ(window->GroupBox1->geometry(), QRect(616, 16, 249, 521));
    EXPECT_EQ(window->Button1->geometry(), QRect(384, 432, 105, 33));
    EXPECT_EQ(window->ListBox2->geometry().bottom(), 504);
    EXPECT_EQ(window->CheckListBox1Filter->geometry().top(), 32);

    const auto size = [](const QWidget* control) { return control->size(); };
    const std::vector<QSize> before = {size(window->GroupBox2), size(window->Panel1), size(window->GroupBox1),
                                       size(window->CheckListBox1), size(window->ListBox2)};
    window->resize(1400, 1000);
    QTest::qWait(50);
    const std::vector<QSize> after = {size(window->GroupBox2), size(window->Panel1), size(window->GroupBox1),
                                      size(window->CheckListBox1), size(window->ListBox2)};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_NEAR(after[i].width() - before[i].width(), 515.0 * before[i].width() / 827, 1) << i;
        EXPECT_EQ(after[i].height() - before[i].height(), 350) << i;
    }
    EXPECT_GT(after[3].height() - before[3].height(), 150);
    EXPECT_GT(after[4].height() - before[4].height(), 150);
    // Side by side without overlap, and everything under the preview stays in the window below it.
    EXPECT_LT(window->GroupBox2->geometry().right(), window->Panel1->geometry().left());
    EXPECT_LT(window->Panel1->geometry().right(), window->GroupBox1->geometry().left());
    EXPECT_GT(window->Button1->geometry().top(), window->Panel1->geometry().bottom());
    EXPECT_LE(window->GroupBox3->geometry().bottom(), window->centralWidget()->height());
    const QRect merge = window->Button1->geometry();
    EXPECT_NEAR(merge.center().x(), window->Panel1->geometry().center().x(), 20);
}

TEST_F(WindowTest, OpeningFillsTheListsLeavesTheScratchFilesAndReplacesWhatWasOpen) {
    auto two = merge::testing::targetFixture();
    two.level.Moveables.push_back({7, 1, 2, 0, 0, 0});
    two.level.StaticMeshes.push_back({30, 1, {}, 0});
    openTarget(writeTarget("two.tr4", two));
    const QSignalSpy tickChanges(window->CheckListBox1, &QListWidget::itemChanged);
    openSource(writeSource("source.wad"));
    EXPECT_EQ(tickChanges.count(), 0) << "entries come with their tick boxes rather than changing to get them";
    ASSERT_EQ(dialogs.asked.size(), 2u);
    EXPECT_EQ(dialogs.asked[0], (RecordedDialogs::Asked{"Abrir Archivo de Tomb Raider 4", "Tomb Raider 4 (*.tr4)"}));
    EXPECT_EQ(dialogs.asked[1], (RecordedDialogs::Asked{"Abrir Archivo WAD", "WAD File (*.wad)"}));
    EXPECT_EQ(entries(*window->ListBox1), QStringList({"Moveable:ID #20  LARA_SPEECH_HEAD4", "Moveable:ID #7  FLARE_ANIM"}));
    EXPECT_EQ(entries(*window->ListBox2), QStringList({"Static Mesh:0  ID #10  FURNITURE0", "Static Mesh:1  ID #30  ARCHITECTURE0"}));
    EXPECT_EQ(entries(*window->CheckListBox1), QStringList({"Moveable ID #60  TROOPS_MIP", "Moveable ID #61  KNIGHTS_TEMPLAR"}));
    EXPECT_EQ(entries(*window->CheckListBox2), QStringList({"Static Mesh ID #50  SHATTER0", "Static Mesh ID #51  SHATTER1"}));
    EXPECT_EQ(window->CheckListBox1->item(0)->checkState(), Qt::Unchecked);
    EXPECT_EQ(window->GroupBox1->title(), QStringLiteral("Meshes: 3"));
    EXPECT_TRUE(window->Save1->isEnabled() && window->SaveAs1->isEnabled() && window->Button3->isEnabled());
    EXPECT_EQ(veltrane::testing::TempFolder::read(folder / "temp_block"), window->target()->level.LevelData);
    EXPECT_EQ(std::filesystem::file_size(folder / "tex16.tex"), window->target()->level.Pages16.size());
    EXPECT_EQ(std::filesystem::file_size(folder / "segundoA.bbb"), level::kPageBytes32);
    EXPECT_TRUE(dialogs.notices.empty());

    click(*window->ListBox1, 0);
    auto second = merge::testing::targetFixture();
    second.level.StaticMeshes.clear();
    openTarget(writeTarget("second.tr4", second));
    EXPECT_EQ(veltrane::testing::TempFolder::read(folder / "temp_block"), window->target()->level.LevelData)
        << "a shorter block leaves nothing of the longer one behind it";
    EXPECT_EQ(entries(*window->ListBox1), QStringList({"Moveable:ID #20  LARA_SPEECH_HEAD4"}));
    EXPECT_EQ(window->ListBox2->count(), 0);
    EXPECT_EQ(window->ListBox1->currentRow(), -1);
    EXPECT_FALSE(window->Panel1->scene().selection().has_value()) << "the old target's object went with it";
}

TEST_F(WindowTest, CancelledDialogsAndDamagedFilesLeaveWhatWasOpenAsItWas) {
    openTarget(writeTarget("target.tr4"));
    openSource(writeSource("source.wad"));
    click(*window->CheckListBox1, 1);
    const auto selection = window->Panel1->scene().selection();
    const level::LevelDocument* target = window->target();
    const level::Tr4Level before = target->level;
    window->Open1Click();
    window->Open2Click();
    window->SaveAs1Click();
    EXPECT_EQ(dialogs.asked.size(), 5u);
    EXPECT_TRUE(dialogs.notices.empty());

    openTarget(folder.write("broken.tr4", std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_EQ(lastNotice().title, QStringLiteral("Error"));
    EXPECT_TRUE(lastNotice().text.startsWith(QStringLiteral("Error\n\nbroken.tr4: header: version runs past"))) << lastNotice().text.toStdString();
    auto wrongVersion = wad::encodeLibrary(twoOfEachSource().library);
    wrongVersion[0] = 7;
    openSource(folder.write("old.wad", wrongVersion));
    EXPECT_EQ(lastNotice().text, QStringLiteral("Error reading the file\n\nold.wad: library: version is 7, not 129"));

    EXPECT_EQ(window->target(), target);
    EXPECT_EQ(window->target()->level, before);
    EXPECT_EQ(window->ListBox1->count(), 1);
    EXPECT_EQ(window->CheckListBox1->count(), 2);
    EXPECT_EQ(window->CheckListBox1->currentRow(), 1);
    EXPECT_EQ(window->Panel1->scene().selection(), selection);
}

TEST_F(WindowTest, SaveAsStartsBesideTheTargetAddsTheSuffixAndTheFileOpensAgain) {
    openTarget(writeTarget("target.tr4"));
    openSource(writeSource("source.wad"));
    tick(*window->CheckListBox1, 1);
    window->Button1Click();
    const auto saved = folder / "grown.tr4";
    dialogs.saveAnswers.push_back(qtPath(folder / "grown"));
    window->SaveAs1Click();
    EXPECT_EQ(dialogs.asked.back(), (RecordedDialogs::Asked{"Save Target File As...", "Tomb Raider 4 Files (*.tr4)"}));
    EXPECT_EQ(dialogs.saveFolders.back(), qtPath(folder.path()));
    EXPECT_EQ(lastNotice(), (RecordedDialogs::Notice{"File saved to " + qtPath(saved), "Veltrane"}));
    EXPECT_EQ(window->statusBar()->currentMessage(), "Saved " + qtPath(saved));
    EXPECT_FALSE(std::filesystem::exists(folder / "grown"));
    const auto reloaded = level::readLevel(saved);
    ASSERT_TRUE(reloaded.ok()) << reloaded.error();
    veltrane::testing::expectPlainZlibChunks(veltrane::testing::TempFolder::read(saved));
    EXPECT_EQ(reloaded->Moveables.at(1).ObjectId, 61u);
    const auto meshBlock = level::wordBytes(reloaded->MeshWords);
    EXPECT_EQ(veltrane::testing::TempFolder::read(folder / "mesh_block"), std::vector<std::uint8_t>(meshBlock.begin(), meshBlock.end()));
    EXPECT_EQ(veltrane::testing::TempFolder::read(folder / "new_data"), reloaded->LevelData);
    openTarget(saved);
    EXPECT_EQ(entries(*window->ListBox1), QStringList({"Moveable:ID #20  LARA_SPEECH_HEAD4", "Moveable:ID #61  KNIGHTS_TEMPLAR"}));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the busy cursor goes once each command is done";
}

TEST_F(WindowTest, OpenRecentListsTheLastEightTargetsAndSourcesAndForgetsFilesThatAreGone) {
    const auto recentEntries = [this] {
        emit window->OpenRecent1->aboutToShow();
        QStringList texts;
        for (const QAction* action : window->OpenRecent1->actions())
            texts.push_back(action->isSeparator() ? "[" + action->text() + "]" : action->text());
        return texts;
    };
    EXPECT_EQ(recentEntries(), QStringList({"No recent files"}));
    std::vector<std::filesystem::path> targets;
    for (int i = 0; i < 9; ++i)
        targets.push_back(writeTarget("t" + std::to_string(i) + ".tr4"));
    for (const auto& target : targets)
        openTarget(target);
    const auto source = writeSource("source.wad");
    openSource(source);
    openTarget(targets[3]);
    QStringList expected = {"[Targets]", qtPath(targets[3])};
    for (int i : {8, 7, 6, 5, 4, 2, 1})
        expected.push_back(qtPath(targets[i]));
    expected << "[Sources]" << qtPath(source);
    EXPECT_EQ(recentEntries(), expected);

    window->OpenRecent1->actions()[2]->trigger();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("t8.tr4[*] - Veltrane Beta Version"));
    std::filesystem::remove(targets[7]);
    window->OpenRecent1->actions()[3]->trigger();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("t8.tr4[*] - Veltrane Beta Version"));
    EXPECT_FALSE(recentEntries().contains(qtPath(targets[7])));

    window->About1Click();
    EXPECT_TRUE(lastNotice().text.startsWith(TForm1::kCaption + " " VELTRANE_VERSION "\n\n"));
    EXPECT_TRUE(lastNotice().text.contains("veltrane-cli merge") && lastNotice().text.contains("MIT License"));
}

TEST_F(WindowTest, AFailedSaveIsReportedAndTouchesNoFileAndScratchFilesThatCannotBeWrittenFailNoCommand) {
    for (const char* scratch : {"temp_block", "tex16.tex", "segundoA.bbb", "mesh_block", "new_data"})
        std::filesystem::create_directories(folder / scratch / "taken");
    openTarget(writeTarget("target.tr4"));
    openSource(writeSource("source.wad"));
    tick(*window->CheckListBox1, 0);
    window->Button1Click();
    EXPECT_EQ(window->ListBox1->count(), 2);
    // A folder under the chosen name cannot be replaced by the level.
    const auto taken = folder / "taken.tr4";
    std::filesystem::create_directory(taken);
    dialogs.saveAnswers = {qtPath(taken), qtPath(folder / "no such folder" / "x.tr4"), qtPath(folder / "saved.tr4")};
    window->SaveAs1Click();
    EXPECT_TRUE(lastNotice().text.startsWith(QStringLiteral("Error\n\ncannot replace"))) << lastNotice().text.toStdString();
    EXPECT_TRUE(std::filesystem::is_directory(taken));
    window->SaveAs1Click();
    EXPECT_EQ(lastNotice().title, QStringLiteral("Error"));
    EXPECT_FALSE(std::filesystem::exists(folder / "no such folder"));
    window->SaveAs1Click();
    EXPECT_EQ(lastNotice().text, "File saved to " + qtPath(folder / "saved.tr4"));
    EXPECT_TRUE(level::readLevel(folder / "saved.tr4").ok());
}

TEST_F(WindowTest, DroppedFilesOpenAsTargetAndSourceAndExitLetsGoOfThem) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(qtPath(writeTarget("dropped.tr4"))),
                  QUrl::fromLocalFile(qtPath(writeSource("dropped.wad"))),
                  QUrl::fromLocalFile(qtPath(folder.write("notes.txt", std::vector<std::uint8_t>{1})))});
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

    click(*window->CheckListBox2, 0);
    window->Exit1->trigger();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->target(), nullptr);
    EXPECT_EQ(window->source(), nullptr);
    EXPECT_FALSE(window->Panel1->scene().selection().has_value());
}

} // namespace
} // namespace veltrane::app::testing
