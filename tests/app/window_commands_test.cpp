#include "window_fixture.h"

#include "../preview_gl/gl_fixtures.h"

#include "demo/demo_files.h"

#include <QLineEdit>
#include <QListWidget>
#include <QTest>

namespace veltrane::app::testing {
namespace {

using preview::PreviewList;
using preview::PreviewSelection;
using preview::testing::kMagenta;
using preview::testing::near;

class LoadedWindowTest : public WindowTest {
protected:
    LoadedWindowTest() {
        auto fixture = merge::testing::targetFixture();
        fixture.level.StaticMeshes.push_back({20, 1, {}, 0});
        fixture.level.StaticMeshes.push_back({30, 2, {}, 0});
        fixture.level.Moveables.push_back({7, 1, 2, 0, 0, 0});
        openTarget(writeTarget("target.tr4", fixture));
        openSource(writeSource("source.wad", twoOfEachSource()));
    }

    [[nodiscard]] std::optional<PreviewSelection> onShow() const { return window->Panel1->scene().selection(); }
};

TEST_F(LoadedWindowTest, AClickShowsItsObjectAloneAndClearsTheOtherListOfItsBox) {
    click(*window->ListBox2, 1);
    EXPECT_EQ(onShow(), std::optional(PreviewSelection{PreviewList::TargetStatics, 1}));
    EXPECT_EQ(window->Edit6->text(), QStringLiteral("20"));

    click(*window->ListBox1, 1);
    EXPECT_EQ(window->ListBox2->currentRow(), -1);
    EXPECT_EQ(window->Edit6->text(), QStringLiteral("7"));
    EXPECT_EQ(onShow(), std::optional(PreviewSelection{PreviewList::TargetMoveables, 1}));

    // The source box leaves the target box's highlight and the "Object ID:" box alone.
    click(*window->CheckListBox2, 0);
    EXPECT_EQ(onShow(), std::optional(PreviewSelection{PreviewList::SourceStatics, 0}));
    EXPECT_EQ(window->ListBox1->currentRow(), 1);
    EXPECT_EQ(window->Edit6->text(), QStringLiteral("7"));
    click(*window->CheckListBox1, 1);
    EXPECT_EQ(window->CheckListBox2->currentRow(), -1);
    EXPECT_EQ(onShow(), std::optional(PreviewSelection{PreviewList::SourceMoveables, 1}));
}

TEST_F(LoadedWindowTest, AClickResetsTheView) {
    click(*window->ListBox1, 0);
    auto& scene = const_cast<preview::PreviewScene&>(window->Panel1->scene());
    scene.view.viewAngleY = 45;
    scene.view.viewZoom = 2;
    scene.spin.zoom = 2;
    click(*window->CheckListBox1, 0);
    EXPECT_EQ(scene.view.viewAngleY, 0);
    EXPECT_EQ(scene.view.viewZoom, 6.0f);
    EXPECT_EQ(scene.spin.zoom, 6.0f);
}

TEST_F(LoadedWindowTest, ChangeGivesTheHighlightedTargetEntryANewId) {
    click(*window->ListBox1, 1);
    click(*window->CheckListBox2, 1); // a source object on show does not change what Change changes
    window->Edit6->setText(QStringLiteral("9"));
    window->Button3Click();
    EXPECT_EQ(window->target()->level.Moveables[1].ObjectId, 9u);
    EXPECT_EQ(window->ListBox1->item(1)->text(), QStringLiteral("Moveable:ID #9"));

    window->Edit6->setText(QStringLiteral("-1"));
    window->Button3Click();
    EXPECT_EQ(window->target()->level.Moveables[1].ObjectId, 0xFFFFFFFFu);
    EXPECT_EQ(window->ListBox1->item(1)->text(), QStringLiteral("Moveable:ID #-1"));
    EXPECT_TRUE(dialogs.notices.empty());

    window->Edit6->setText(QStringLiteral("abc"));
    window->Button3Click();
    ASSERT_EQ(dialogs.notices.size(), 1u);
    EXPECT_EQ(lastNotice().text, QStringLiteral("'abc' is not a valid integer value"));
    EXPECT_EQ(window->target()->level.Moveables[1].ObjectId, 0xFFFFFFFFu);

    click(*window->ListBox2, 2);
    window->Edit6->setText(QStringLiteral("44"));
    window->Button3Click();
    EXPECT_EQ(window->target()->level.StaticMeshes[2].ObjectId, 44u);
    EXPECT_EQ(window->ListBox2->item(2)->text(), QStringLiteral("Static Mesh:2"));
    EXPECT_EQ(window->target()->level.Moveables[1].ObjectId, 0xFFFFFFFFu);
}

TEST_F(LoadedWindowTest, ChangeWithNoTargetEntryHighlightedDoesNothing) {
    const level::Tr4Level before = window->target()->level;
    window->Edit6->setText(QStringLiteral("abc"));
    window->Button3Click();
    EXPECT_EQ(window->target()->level, before);
    EXPECT_TRUE(dialogs.notices.empty());
}

TEST_F(LoadedWindowTest, MergeAppendsTheTickedObjectsAndReportsFourLines) {
    click(*window->CheckListBox1, 1); // a source object stays on show through the merge
    tick(*window->CheckListBox2, 1);
    tick(*window->CheckListBox1, 0);
    window->Button1Click();

    EXPECT_EQ(lastNotice().text, QStringLiteral("Merging Done Successfully!"));
    EXPECT_EQ(lastNotice().title, QString());
    EXPECT_EQ(entries(*window->ListBox1), QStringList({"Moveable:ID #20", "Moveable:ID #7", "Moveable:ID #60"}));
    EXPECT_EQ(entries(*window->ListBox2), QStringList({"Static Mesh:0", "Static Mesh:1", "Static Mesh:2", "Static Mesh:3"}));
    EXPECT_EQ(window->target()->level.StaticMeshes[3].ObjectId, 51u);
    const QStringList lines = memoLines();
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0], QStringLiteral("Total pages added:1"));
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("Amount of pieces textures added:")));
    EXPECT_EQ(lines[2], QStringLiteral("Total of pieces textures:") +
                            QString::number(window->target()->level.ObjectTextures.size()));
    EXPECT_EQ(lines[3],
              QStringLiteral("Mesh data size (Bytes):") + QString::number((&window->target()->meshes)->totalSize()));
    // Ticks and what is on show stay; no target entry is highlighted.
    EXPECT_EQ(window->CheckListBox1->item(0)->checkState(), Qt::Checked);
    EXPECT_EQ(onShow(), std::optional(PreviewSelection{PreviewList::SourceMoveables, 1}));
    EXPECT_EQ(window->ListBox1->currentRow(), -1);

    // The same ticks merge the same objects again.
    window->Button1Click();
    EXPECT_EQ(window->ListBox1->count(), 4);
    EXPECT_EQ(window->ListBox2->count(), 5);
}

TEST_F(LoadedWindowTest, MergeWithoutTicksStillReports) {
    const auto textures = window->target()->level.ObjectTextures.size();
    window->Button1Click();
    EXPECT_EQ(lastNotice().text, QStringLiteral("Merging Done Successfully!"));
    EXPECT_EQ(memoLines(), QStringList({"Total pages added:0", "Amount of pieces textures added:0",
                                        "Total of pieces textures:" + QString::number(textures),
                                        "Mesh data size (Bytes):" +
                                            QString::number((&window->target()->meshes)->totalSize())}));
}

TEST_F(WindowTest, MergeIntoATargetWithoutStaticMeshesNamesWhatItSkipped) {
    auto fixture = merge::testing::targetFixture();
    fixture.level.StaticMeshes.clear();
    openTarget(writeTarget("target.tr4", fixture));
    openSource(writeSource("source.wad", twoOfEachSource()));
    tick(*window->CheckListBox2, 0);
    tick(*window->CheckListBox1, 1);
    window->Button1Click();
    EXPECT_TRUE(lastNotice().text.startsWith(QStringLiteral("Merging Done Successfully!\n")));
    EXPECT_TRUE(lastNotice().text.contains(QStringLiteral("source static mesh 0 (ObjectId 50)")))
        << lastNotice().text.toStdString();
    EXPECT_EQ(window->ListBox2->count(), 0);
    EXPECT_EQ(window->ListBox1->count(), 2);
}

TEST_F(WindowTest, ARefusedMergeShowsItsReasonAndChangesNothing) {
    openTarget(writeTarget("target.tr4"));
    auto source = twoOfEachSource();
    source.library.StaticMeshes[1].Mesh = 99;
    openSource(writeSource("source.wad", source));
    tick(*window->CheckListBox2, 1);
    const level::Tr4Level before = window->target()->level;
    window->Button1Click();
    EXPECT_TRUE(lastNotice().text.startsWith(QStringLiteral("merge refused: "))) << lastNotice().text.toStdString();
    EXPECT_EQ(window->target()->level, before);
    EXPECT_TRUE(memoLines().isEmpty());
}

TEST_F(WindowTest, AClickOnAnEntryPutsItsObjectOnTheScreen) {
    const auto demo = demo::writeDemoFiles(folder / "demo", demo::DemoScale::Normal);
    ASSERT_TRUE(demo.ok()) << demo.error();
    openTarget(demo->target);
    openSource(demo->source);
    ASSERT_GT(window->CheckListBox1->count(), 0);

    const auto objectPixels = [this] {
        QTest::qWait(20);
        const QImage frame = window->Panel1->grabFramebuffer();
        int count = 0;
        for (int y = 0; y < frame.height(); y += 2)
            for (int x = 0; x < frame.width(); x += 2)
                count += near(frame.pixelColor(x, y), kMagenta, 8) ? 0 : 1;
        return count;
    };
    EXPECT_EQ(objectPixels(), 0);
    click(*window->CheckListBox1, 0);
    EXPECT_GT(objectPixels(), 100);
    click(*window->ListBox1, 0);
    EXPECT_GT(objectPixels(), 100);
    EXPECT_TRUE(dialogs.notices.empty());
}

} // namespace
} // namespace veltrane::app::testing
