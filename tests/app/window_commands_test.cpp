#include "window_fixture.h"

#include "../preview_gl/gl_fixtures.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

#include <algorithm>

namespace veltrane::app::testing {
namespace {

using preview::PreviewList;
using preview::PreviewSelection;

class LoadedWindowTest : public WindowTest {
protected:
    LoadedWindowTest() {
        auto target = merge::testing::targetFixture();
        target.level.StaticMeshes.push_back({20, 1, {}, 0});
        target.level.StaticMeshes.push_back({30, 2, {}, 0});
        target.level.Moveables.push_back({7, 1, 2, 0, 0, 0});
        openTarget(writeTarget("target.tr4", target));
        openSource(writeSource("source.wad"));
    }
    [[nodiscard]] std::optional<PreviewSelection> onShow() const { return window->Panel1->scene().selection(); }
    const level::Tr4Level& level() const { return window->target()->level; }
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
    // Wide enough for its entries, up to a hundred animations of a thousand frames.
    const QComboBox& animations = *window->Animation->selector;
    ASSERT_GT(animations.count(), 1);
    QComboBox longest;
    longest.setFont(animations.font());
    longest.setSizeAdjustPolicy(QComboBox::AdjustToContents);
    longest.addItem(QStringLiteral("Anim 99 (999 frames)"));
    EXPECT_GE(animations.width(), longest.sizeHint().width());
}

TEST_F(LoadedWindowTest, TabGoesLeftToRightTopToBottom) {
    const std::vector<QWidget*> expected = {
        window->CheckListBox1Filter, window->CheckListBox1,  window->CheckListBox2Filter,  window->CheckListBox2,
        window->Animation->selector, window->Edit1,          window->Panel1,               window->Animation->play,
        window->Animation->slider,   window->Animation->transparency, window->Button1,     window->ListBox1Filter,
        window->ListBox1,            window->ListBox2Filter, window->ListBox2,             window->Edit6,
        window->Button3};
    std::vector<QWidget*> order;
    for (QWidget* next = expected[0]; order.size() < expected.size(); next = next->nextInFocusChain())
        if (std::find(expected.begin(), expected.end(), next) != expected.end())
            order.push_back(next);
    EXPECT_EQ(order, expected);
}

TEST_F(LoadedWindowTest, FilterBoxesKeepMatchingEntriesAndTickAllTicksWhatIsOnShow) {
    const auto shown = [](const QListWidget& list) {
        QStringList texts;
        for (int i = 0; i < list.count(); ++i)
            if (!list.isRowHidden(i))
                texts.push_back(list.item(i)->text());
        return texts;
    };
    window->ListBox2Filter->setText(QStringLiteral("furniture"));
    EXPECT_EQ(shown(*window->ListBox2), QStringList({"Static Mesh:0  ID #10  FURNITURE0"}));
    window->ListBox2Filter->setText(QStringLiteral("#30"));
    EXPECT_EQ(shown(*window->ListBox2), QStringList({"Static Mesh:2  ID #30  ARCHITECTURE0"}));

    QListWidget& list = *window->CheckListBox2;
    window->CheckListBox2Filter->setText(QStringLiteral("Shatter1"));
    EXPECT_EQ(shown(list), QStringList({"Static Mesh ID #51  SHATTER1"}));
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    list.setFocus();
    QTest::keyClick(&list, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(list.item(0)->checkState(), Qt::Unchecked) << "filtered out";
    EXPECT_EQ(list.item(1)->checkState(), Qt::Checked);
    EXPECT_EQ(window->CheckListBox1->item(0)->checkState(), Qt::Unchecked) << "only the list with focus";
    EXPECT_TRUE(window->Button1->isEnabled());
    window->CheckListBox2Filter->clear();
    EXPECT_EQ(shown(list).size(), 2);
    list.actions()[0]->trigger();
    EXPECT_EQ(list.item(0)->checkState(), Qt::Checked);
    ASSERT_EQ(list.actions().size(), 2);
    EXPECT_EQ(list.actions()[1]->text(), QStringLiteral("Tick None"));
    list.actions()[1]->trigger();
    EXPECT_EQ(list.item(1)->checkState(), Qt::Unchecked);
    EXPECT_FALSE(window->Button1->isEnabled());

    // Entries that come with a merge are filtered too.
    window->ListBox1Filter->setText(QStringLiteral("troops"));
    tick(*window->CheckListBox1, 0);
    tick(*window->CheckListBox1, 1);
    window->Button1Click();
    EXPECT_EQ(shown(*window->ListBox1), QStringList({"Moveable:ID #60  TROOPS_MIP"}));
}

TEST_F(LoadedWindowTest, ChangeGivesTheHighlightedTargetEntryANewId) {
    const level::Tr4Level before = level();
    window->Edit6->setText(QStringLiteral("9"));
    window->Button3Click();
    EXPECT_EQ(level(), before) << "nothing highlighted, nothing changed";

    click(*window->ListBox1, 1);
    click(*window->CheckListBox2, 1); // a source object on show does not change what Change changes
    window->Edit6->setText(QStringLiteral("4294967295"));
    QTest::keyClick(window->Edit6, Qt::Key_Return);
    EXPECT_EQ(level().Moveables[1].ObjectId, 0xFFFFFFFFu);
    EXPECT_EQ(window->ListBox1->item(1)->text(), QStringLiteral("Moveable:ID #4294967295"));
    EXPECT_EQ(lastNotice().text, QStringLiteral("Moveable ID #4294967295 names no slot of the original game "
                                                "(moveables 0 to 464); only engine extensions use such slots."));
    for (const char* text : {"-5", "abc", "4294967296"}) {
        window->Edit6->setText(QString::fromLatin1(text));
        window->Button3Click();
        EXPECT_EQ(lastNotice().text, QStringLiteral("'%1' is not a valid object ID (0 to 4294967295)").arg(text));
    }
    EXPECT_EQ(level().Moveables[1].ObjectId, 0xFFFFFFFFu);

    click(*window->ListBox2, 2);
    window->Edit6->setText(QStringLiteral("44"));
    window->Button3Click();
    EXPECT_EQ(level().StaticMeshes[2].ObjectId, 44u);
    EXPECT_EQ(window->ListBox2->item(2)->text(), QStringLiteral("Static Mesh:2  ID #44  DEBRIS4"));
    EXPECT_TRUE(window->Panel1->info().text().startsWith(QStringLiteral("Static Mesh ID #44  DEBRIS4: 1 mesh, ")))
        << window->Panel1->info().text().toStdString();
    EXPECT_EQ(level().Moveables[1].ObjectId, 0xFFFFFFFFu);
}

TEST_F(LoadedWindowTest, FInTheWindowOrViewFitAfterEditFramesTheObjectOnShowAgain) {
    EXPECT_EQ(window->menuBar()->actions().at(2)->text(), QStringLiteral("&View"));
    EXPECT_EQ(window->Fit1->shortcut(), QKeySequence(Qt::Key_F));
    click(*window->ListBox1, 1);
    const preview::ViewParameters fitted = window->Panel1->scene().view;
    for (const QPoint at : {QPoint(10, 10), QPoint(60, 30)}) {
        QMouseEvent move(QEvent::MouseMove, at, window->Panel1->mapToGlobal(at), Qt::NoButton, Qt::RightButton, Qt::ShiftModifier);
        QCoreApplication::sendEvent(window->Panel1, &move);
    }
    EXPECT_NE(window->Panel1->scene().view, fitted);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QTest::keyClick(window->ListBox1, Qt::Key_F);
    EXPECT_EQ(window->Panel1->scene().view, fitted);
}

TEST_F(LoadedWindowTest, MergeAppendsTheTickedObjectsReportsFourLinesAndMarksTheNewEntries) {
    EXPECT_FALSE(window->Button1->isEnabled()) << "nothing ticked";
    const level::Tr4Level before = level();
    click(*window->CheckListBox1, 1); // a source object stays on show through the merge
    tick(*window->CheckListBox2, 1);
    tick(*window->CheckListBox1, 0);
    window->Button1Click();
    EXPECT_TRUE(window->Button1->isEnabled());
    EXPECT_EQ(lastNotice(), (RecordedDialogs::Notice{"Merging Done Successfully!", ""}));
    EXPECT_EQ(entries(*window->ListBox1), QStringList({"Moveable:ID #20  LARA_SPEECH_HEAD4", "Moveable:ID #7  FLARE_ANIM", "Moveable:ID #60  TROOPS_MIP"}));
    EXPECT_EQ(window->ListBox2->count(), 4);
    EXPECT_EQ(level().StaticMeshes[3].ObjectId, 51u);
    EXPECT_EQ(memoLines().at(0), QStringLiteral("Total pages added:1"));
    EXPECT_EQ(memoLines().at(2), "Total of pieces textures:" + QString::number(level().ObjectTextures.size()));
    EXPECT_EQ(window->CheckListBox1->item(0)->checkState(), Qt::Checked);
    EXPECT_EQ(onShow(), std::optional(PreviewSelection{PreviewList::SourceMoveables, 1}));
    const auto pieces = level().ObjectTextures.size() - before.ObjectTextures.size();
    EXPECT_EQ(window->statusBar()->currentMessage(),
              QStringLiteral("Merged 2 objects: 1 page, %1 texture pieces added").arg(pieces));
    EXPECT_EQ(window->GroupBox1->title(), "Meshes: " + QString::number(window->target()->meshes.count()));
    // The new entries are marked, the others not, until the next command.
    const auto marked = [](const QListWidget& list) {
        std::vector<bool> bold;
        for (int i = 0; i < list.count(); ++i)
            bold.push_back(list.item(i)->font().bold() && list.item(i)->background() != QBrush());
        return bold;
    };
    EXPECT_EQ(marked(*window->ListBox1), std::vector<bool>({false, false, true}));
    EXPECT_EQ(marked(*window->ListBox2), std::vector<bool>({false, false, false, true}));
    window->Button1Click();
    EXPECT_EQ(window->ListBox1->count(), 4) << "the same ticks merge the same objects again";
    EXPECT_EQ(marked(*window->ListBox1), std::vector<bool>({false, false, false, true}));
    window->Undo1->trigger();
    EXPECT_EQ(window->statusBar()->currentMessage(), QStringLiteral("Undid Merge of 2 objects"));
    EXPECT_EQ(marked(*window->ListBox1), std::vector<bool>({false, false, false}));
}

TEST_F(WindowTest, SkippedAndRefusedMergesSayWhat) {
    auto target = merge::testing::targetFixture();
    target.level.StaticMeshes.clear();
    openTarget(writeTarget("target.tr4", target));
    openSource(writeSource("source.wad"));
    tick(*window->CheckListBox2, 0);
    tick(*window->CheckListBox1, 1);
    window->Button1Click();
    EXPECT_EQ(lastNotice().text, QStringLiteral("Merging Done Successfully!\nsource static mesh 0 (ObjectId 50) was "
                                                "not merged: the target has no static mesh"));
    EXPECT_EQ(window->ListBox1->count(), 2);

    auto source = twoOfEachSource();
    source.library.StaticMeshes[1].Mesh = 99;
    openTarget(writeTarget("full.tr4"));
    openSource(writeSource("damaged.wad", source));
    tick(*window->CheckListBox2, 1);
    const level::Tr4Level before = window->target()->level;
    window->Button1Click();
    EXPECT_TRUE(lastNotice().text.startsWith(QStringLiteral("merge refused: source static mesh 1"))) << lastNotice().text.toStdString();
    EXPECT_EQ(window->target()->level, before);
}

} // namespace
} // namespace veltrane::app::testing
