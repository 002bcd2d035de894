// Start-up, the caption, the enabling rules, the status texts, the scroll
// bar ranges, the spacing actions, drawing a work with the mouse and the
// hint and thumbnail windows.
#include "tests/apps/arrowplan/main_window_fixture.h"

#include "apps/arrowplan/net_defaults.h"
#include "apps/arrowplan/network_preview.h"

#include "platform/date_serial.h"

#include <QAction>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QMenuBar>
#include <QScrollBar>
#include <QTimer>
#include <QToolBar>

#include <climits>
#include <functional>

namespace {

const QString kTitle = QStringLiteral("朔衡dodiridezu V3.0");

using MainWindowTest = MainWindowFixture;

TEST_F(MainWindowTest, StartsWithoutANetwork)
{
    EXPECT_EQ(window->windowTitle(), kTitle);
    EXPECT_EQ(window->Network(), nullptr);
    EXPECT_TRUE(window->Panel1->isVisible());
    EXPECT_EQ(window->Panel1->text(), QStringLiteral("请打开或新建网络图"));
    EXPECT_FALSE(window->ScrollBar1->isVisible());
    EXPECT_FALSE(window->ScrollBar2->isVisible());
    for (QAction* always : {window->ActNew, window->ActOpen, window->ActExit, window->ActHelp})
        EXPECT_TRUE(always->isEnabled()) << always->text().toStdString();
    for (QAction* doc : {window->ActSave, window->ActSaveAs, window->ActAddSimple, window->ActDelete, window->ActEdit,
                         window->ActXiaoY, window->ActDaX, window->ActNetWorkMap, window->N21})
        EXPECT_FALSE(doc->isEnabled()) << doc->text().toStdString();
    EXPECT_TRUE(window->N21->isChecked());
    EXPECT_FALSE(thumbnail.isVisible());
    EXPECT_EQ(window->DataDir(), QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("Data")));
    EXPECT_TRUE(services.messages.empty());
}

TEST_F(MainWindowTest, ANewNetworkTakesTheDefaultsAndShowsItsStatus)
{
    QFile ini(PathOf(QStringLiteral("NetRunInfo.ini")));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[RunInfo]\r\nSmallLineSpace=33\r\n");
    ini.close();

    window->ActNew->trigger();
    ASSERT_NE(window->Network(), nullptr);
    EXPECT_EQ(window->windowTitle(), kTitle + QStringLiteral(" ... 未命名网络图"));
    EXPECT_TRUE(Net().Modified());
    EXPECT_EQ(Net().SmallLineSpace(), 33);
    EXPECT_EQ(window->StatusPanel(0), QStringLiteral("当前状态: 绘制简单工作"));
    EXPECT_FALSE(window->Panel1->isVisible());
    EXPECT_TRUE(window->ScrollBar1->isVisible());
    EXPECT_TRUE(window->ScrollBar2->isVisible());
    EXPECT_TRUE(window->ActSave->isEnabled());
    EXPECT_TRUE(window->ActAddSimple->isChecked());
    EXPECT_TRUE(thumbnail.isVisible());
    EXPECT_FALSE(thumbnail.Picture().Empty());

    Net().SetDrawState(6);
    EXPECT_EQ(window->StatusPanel(0), QStringLiteral("当前状态: 编辑工作时间"));
    window->ActionList1Update();
    EXPECT_TRUE(window->ActEdit->isChecked());
    EXPECT_FALSE(window->ActAddSimple->isChecked());
    window->ActDelete->trigger();
    EXPECT_EQ(Net().DrawState(), 3);
    EXPECT_EQ(window->StatusPanel(0), QStringLiteral("当前状态: 删除工作"));
    EXPECT_TRUE(window->ActDelete->isChecked());
}

TEST_F(MainWindowTest, ScrollBarRangesFollowTheRowsAndTheTotalTimeAndStayInRange)
{
    window->ActNew->trigger();
    const struct {
        const char* name;
        int minRow, maxRow;
        int vMin, vMax;
    } rows[] = {
        {"rows 101 to 104", 101, 104, 96, 109},
        {"rows 2 to 4", 2, 4, 0, 9},
        {"rows 0 to 1", 0, 1, 0, 6},
        {"rows at the top of the range", INT_MAX - 3, INT_MAX, INT_MAX - 8, INT_MAX},
    };
    for (const auto& c : rows) {
        SCOPED_TRACE(c.name);
        Net().Nodes().Items(0)->SetNodeY(c.minRow);
        while (Net().Nodes().Count() < 2)
            Net().AddNode(c.maxRow, 0.0f);
        Net().Nodes().Items(1)->SetNodeY(c.maxRow);
        window->UpdateScrollBars();
        EXPECT_EQ(window->ScrollBar2->minimum(), c.vMin);
        EXPECT_EQ(window->ScrollBar2->maximum(), c.vMax);
        EXPECT_EQ(Net().TopLineID(), window->ScrollBar2->value());
    }
    EXPECT_EQ(window->ScrollBar1->minimum(), 0);
    EXPECT_EQ(window->ScrollBar1->maximum(), 0);
    EXPECT_EQ(window->ScrollBar1->singleStep(), 2 * Net().SmallDate());
    EXPECT_EQ(window->ScrollBar1->pageStep(), 8 * Net().SmallDate());
    window->ScrollBar1->setMaximum(20);
    window->ScrollBar1->setValue(6);
    EXPECT_EQ(Net().StartJinDu(), 6);
}

TEST_F(MainWindowTest, ScrollingByDaysAndRowsShowsWhatAFreshRenderShows)
{
    window->ActNew->trigger();
    DrawWorkFrom(1, 200);
    DrawWorkFrom(2, 100);
    network::TNetworkView& view = *window->NetworkView();
    const auto expectFresh = [&](const char* step) {
        view.viewport()->grab();
        EXPECT_TRUE(view.Buffer() == view.FreshRender()) << step;
    };
    expectFresh("drawn");
    const struct {
        const char* name;
        QScrollBar* bar;
        int steps;
    } moves[] = {
        {"three days on", window->ScrollBar1, 3},
        {"two rows down", window->ScrollBar2, 2},
        {"one day back", window->ScrollBar1, -1},
        {"four rows up", window->ScrollBar2, -4},
    };
    for (const auto& m : moves) {
        for (int i = 0; i < std::abs(m.steps); ++i)
            m.bar->triggerAction(m.steps > 0 ? QAbstractSlider::SliderSingleStepAdd : QAbstractSlider::SliderSingleStepSub);
        EXPECT_EQ(Net().StartJinDu(), window->ScrollBar1->value()) << m.name;
        EXPECT_EQ(Net().TopLineID(), window->ScrollBar2->value()) << m.name;
        expectFresh(m.name);
    }
    EXPECT_EQ(view.horizontalScrollBar()->maximum(), 0) << "the view itself never scrolls";
    EXPECT_EQ(view.verticalScrollBar()->maximum(), 0);
}

struct SpacingCase {
    const char* name;
    std::function<QAction*(arrowplan::TFrmMain&)> action;
    bool vertical;
    int before, after;
};

TEST_F(MainWindowTest, SpacingActionsStepWithinTheirLimitsAndMarkTheNetworkModified)
{
    window->ActNew->trigger();
    const SpacingCase cases[] = {
        {"narrower rows at 20", [](arrowplan::TFrmMain& w) { return w.ActXiaoY; }, true, 20, 15},
        {"narrower rows at 19", [](arrowplan::TFrmMain& w) { return w.ActXiaoY; }, true, 19, 19},
        {"wider rows", [](arrowplan::TFrmMain& w) { return w.ActDaY; }, true, 40, 45},
        {"narrower days at 3", [](arrowplan::TFrmMain& w) { return w.ActXiaoX; }, false, 3, 1},
        {"narrower days at 2", [](arrowplan::TFrmMain& w) { return w.ActXiaoX; }, false, 2, 2},
        {"wider days", [](arrowplan::TFrmMain& w) { return w.ActDaX; }, false, 20, 22},
    };
    for (const SpacingCase& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.vertical)
            Net().SetSmallLineSpace(c.before);
        else
            Net().SetSmallWidth(c.before);
        Net().SetModified(false);
        c.action(*window)->trigger();
        EXPECT_EQ(c.vertical ? Net().SmallLineSpace() : Net().SmallWidth(), c.after);
        EXPECT_EQ(Net().Modified(), c.before != c.after);
    }
}

TEST_F(MainWindowTest, CopyAndPasteFollowTheSelectionAndTheCopyStaysWithItsNetwork)
{
    const QList<QAction*> bar = window->findChild<QToolBar*>(QStringLiteral("ToolBar1"))->actions();
    const qsizetype save = bar.indexOf(window->ActSave);
    ASSERT_GE(save, 0);
    ASSERT_GE(bar.size(), save + 5);
    EXPECT_TRUE(bar[save + 1]->isSeparator());
    EXPECT_EQ(bar[save + 2], window->ActCopy);
    EXPECT_EQ(bar[save + 3], window->ActPase);
    EXPECT_TRUE(bar[save + 4]->isSeparator());
    EXPECT_EQ(window->ActCopy->toolTip(), QStringLiteral("拷贝到剪切板"));
    EXPECT_EQ(window->ActPase->toolTip(), QStringLiteral("用剪切板的内容替换当前工作或节点之后"));
    EXPECT_FALSE(window->ActCopy->isEnabled());
    EXPECT_FALSE(window->ActPase->isEnabled());

    window->ActNew->trigger();
    DrawWorkFrom(1, 60);
    DrawWorkFrom(2, 60);
    ASSERT_EQ(Net().Works().Count(), 2);
    EXPECT_FALSE(window->ActCopy->isEnabled()) << "nothing selected";
    window->ActEdit->trigger();
    Press(NodePoint(3));
    Release(NodePoint(3));
    ASSERT_NE(Net().Nodes().GetSelectedNode(), nullptr);
    EXPECT_FALSE(window->ActCopy->isEnabled()) << "only a node selected";
    EXPECT_FALSE(window->ActPase->isEnabled()) << "nothing copied yet";

    // Both works selected with the mouse, the second with Shift.
    window->ActAddSimple->trigger();
    const auto clickWork = [&](int from, Qt::KeyboardModifiers keys) {
        const QPoint on = (NodePoint(from) + NodePoint(from + 1)) / 2;
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(on), View()->mapToGlobal(QPointF(on)), Qt::LeftButton,
                          Qt::LeftButton, keys);
        QApplication::sendEvent(View(), &press);
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(on), View()->mapToGlobal(QPointF(on)), Qt::LeftButton,
                            Qt::NoButton, keys);
        QApplication::sendEvent(View(), &release);
    };
    clickWork(1, Qt::NoModifier);
    clickWork(2, Qt::ShiftModifier);
    ASSERT_TRUE(Net().Works().Items(0)->Selected() && Net().Works().Items(1)->Selected());
    EXPECT_TRUE(window->ActCopy->isEnabled());
    EXPECT_FALSE(window->ActPase->isEnabled());
    window->ActCopy->trigger();
    EXPECT_TRUE(window->ActPase->isEnabled()) << "a work selected and a group copied";

    window->ActEdit->trigger();
    Press(NodePoint(3));
    Release(NodePoint(3));
    EXPECT_FALSE(window->ActCopy->isEnabled());
    ASSERT_TRUE(window->ActPase->isEnabled());
    Net().SetModified(false);
    window->ActPase->trigger();
    EXPECT_EQ(Net().Works().Count(), 4);
    EXPECT_EQ(Net().Nodes().Count(), 5);
    EXPECT_FLOAT_EQ(Net().GetTotalTime(), 4 * Net().Works().Items(0)->ContinueTime());
    EXPECT_TRUE(Net().Modified());
    EXPECT_TRUE(services.messages.empty());

    services.QueueAnswer(platform::MessageButton::No);
    window->ActNew->trigger();
    Net().Nodes().Items(0)->SetSelected(true);
    window->ActionList1Update();
    EXPECT_FALSE(window->ActPase->isEnabled()) << "a new network starts without a copy";
}

TEST_F(MainWindowTest, ThePreviewOpensModalOnTheDocumentAndItsSpacingStaysInIt)
{
    EXPECT_TRUE(window->findChild<QToolBar*>(QStringLiteral("ToolBar1"))->actions().contains(window->ActNetWorkMap));
    const QList<QAction*> menus = window->menuBar()->actions();
    ASSERT_GE(menus.size(), 3);
    EXPECT_EQ(menus[2]->menu()->actions().front(), window->ActNetWorkMap);

    window->ActNew->trigger();
    ASSERT_TRUE(window->ActNetWorkMap->isEnabled());
    Net().SetSmallLineSpace(20);
    Net().SetModified(false);
    window->RefreshThumbnail();
    const std::int64_t thumbnailHeight = thumbnail.Picture().Height();
    QString caption;
    int pages = 0;
    bool thumbnailShown = true;
    QTimer::singleShot(0, [&] {
        auto* preview = dynamic_cast<arrowplan::TNetworkPreview*>(QApplication::activeModalWidget());
        ASSERT_NE(preview, nullptr);
        thumbnailShown = thumbnail.isVisible();
        caption = preview->windowTitle();
        pages = preview->Preview().PageCount();
        EXPECT_EQ(&preview->Network(), &Net());
        preview->ToolButton20->trigger();
        preview->close();
    });
    window->ActNetWorkMap->trigger();
    EXPECT_EQ(caption, QStringLiteral("打印预览"));
    EXPECT_GE(pages, 1);
    EXPECT_EQ(Net().SmallLineSpace(), 22);
    EXPECT_TRUE(Net().Modified());
    EXPECT_TRUE(services.messages.empty());
    EXPECT_FALSE(thumbnailShown) << "the thumbnail stays on top, but not over the modal preview";
    EXPECT_TRUE(thumbnail.isVisible());
    EXPECT_GT(thumbnail.Picture().Height(), thumbnailHeight) << "the thumbnail shows the preview's spacing";
}

TEST_F(MainWindowTest, DrawingAWorkShowsItsDurationInTheStatusBarAndTheHint)
{
    window->ActNew->trigger();
    Net().SetModified(false);
    const QPoint from = NodePoint(1);
    const int dayPixels = Net().SmallWidth() / Net().SmallDate();
    Press(from);
    MoveHeld(from + QPoint(dayPixels, 0));
    MoveHeld(from + QPoint(dayPixels * 5 / 2, 0));
    EXPECT_TRUE(Net().EditEnabled());
    EXPECT_EQ(window->StatusPanel(1), QStringLiteral("工作持续时间: 2.5"));
    EXPECT_TRUE(hint.isVisible());
    EXPECT_TRUE(hint.testAttribute(Qt::WA_ShowWithoutActivating));
    EXPECT_TRUE(hint.windowFlags() & Qt::ToolTip);
    EXPECT_EQ(hint.CellText(1), QStringLiteral("2.5"));
    EXPECT_EQ(hint.CellText(3), QStringLiteral("1"));
    EXPECT_FALSE(QApplication::focusWidget() == &hint);
    Release(from + QPoint(dayPixels * 5 / 2, 0));
    EXPECT_FALSE(hint.isVisible());
    ASSERT_EQ(Net().Works().Count(), 1);
    EXPECT_FLOAT_EQ(Net().Works().Items(0)->ContinueTime(), 2.5f);
    EXPECT_TRUE(Net().Modified());

    Hover(from + QPoint(0, 100));
    const QString end = platform::DateToText(*platform::SerialToDate(Net().EndDate()));
    EXPECT_EQ(window->StatusPanel(1), QStringLiteral("工程结束时间: ") + end + QStringLiteral("  总工期: 2.5"));
}

TEST_F(MainWindowTest, RetimingAWorkShowsItsNewDurationInTheHint)
{
    window->ActNew->trigger();
    DrawWorkFrom(1, 40);
    ASSERT_EQ(Net().Works().Count(), 1);
    const float before = Net().Works().Items(0)->ContinueTime();
    window->ActEdit->trigger();
    const QPoint on = (NodePoint(1) + NodePoint(2)) / 2;
    const int dayPixels = Net().SmallWidth() / Net().SmallDate();
    Press(on);
    MoveHeld(on + QPoint(dayPixels, 0));
    MoveHeld(on + QPoint(2 * dayPixels, 0));
    const float after = Net().Works().Items(0)->ContinueTime();
    EXPECT_NE(after, before);
    EXPECT_TRUE(hint.isVisible());
    EXPECT_EQ(hint.CellText(1), arrowplan::GeneralFloatText(after));
    EXPECT_EQ(hint.CellText(3), QStringLiteral("1"));
    Release(on + QPoint(2 * dayPixels, 0));
    EXPECT_FALSE(hint.isVisible());
}

TEST(HintWindow, CellsFollowTheWindowSizeAndValuesSurviveARepaint)
{
    const QRect expected[] = {
        QRect(QPoint(0, 0), QPoint(75, 21)),    QRect(QPoint(75, 0), QPoint(129, 21)),
        QRect(QPoint(130, 0), QPoint(205, 21)), QRect(QPoint(205, 0), QPoint(259, 21)),
        QRect(QPoint(0, 22), QPoint(75, 43)),   QRect(QPoint(75, 22), QPoint(129, 43)),
        QRect(QPoint(130, 22), QPoint(205, 43)), QRect(QPoint(205, 22), QPoint(259, 43)),
    };
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(arrowplan::TFrmHint::CellRect(i, 260, 44), expected[i]) << i;

    arrowplan::TFrmHint hint;
    const double start = *platform::DateToSerial(QDate(2026, 3, 2));
    hint.SetValues(3, 2.5, start, start + 2.5);
    EXPECT_EQ(hint.CellText(0), QStringLiteral("工作持续时间"));
    EXPECT_EQ(hint.CellText(1), QStringLiteral("2.5"));
    EXPECT_EQ(hint.CellText(3), QStringLiteral("3"));
    EXPECT_EQ(hint.CellText(5), QStringLiteral("2026-03-02"));
    EXPECT_EQ(hint.CellText(7), QStringLiteral("2026-03-04 12:00:00"));
    for (int i = 0; i < 8; ++i) {
        const QRect cell = arrowplan::TFrmHint::CellRect(i, hint.width(), hint.height());
        const QFontMetrics metrics(hint.CellFont(i));
        const QStringList lines = hint.CellLines(i);
        EXPECT_LE(lines.size() * metrics.height(), cell.height()) << i;
        for (const QString& line : lines)
            EXPECT_LE(metrics.horizontalAdvance(line), cell.width() - 2) << i;
    }
    EXPECT_EQ(hint.CellLines(5), QStringList{QStringLiteral("2026-03-02")});
    EXPECT_EQ(hint.CellLines(7), QStringList({QStringLiteral("2026-03-04"), QStringLiteral("12:00:00")}))
        << "a date with its time on two lines";
    EXPECT_EQ(hint.CellFont(3), hint.font()) << "a short text keeps the window's font";
    hint.ShowHintAt(10, 20);
    EXPECT_EQ(hint.pos(), QPoint(10, 20));
    hint.repaint();
    EXPECT_EQ(hint.CellText(1), QStringLiteral("2.5"));
    QImage shot = hint.grab().toImage();
    EXPECT_EQ(shot.pixelColor(2, 2), QColor(0, 128, 128));
}

TEST_F(MainWindowTest, TheThumbnailFollowsItsMenuItem)
{
    window->ActNew->trigger();
    ASSERT_TRUE(thumbnail.isVisible());
    EXPECT_TRUE(window->N21->isEnabled());
    window->N21->trigger();
    EXPECT_FALSE(window->N21->isChecked());
    EXPECT_FALSE(thumbnail.isVisible());
    services.QueueAnswer(platform::MessageButton::No);
    window->ActNew->trigger();
    EXPECT_FALSE(thumbnail.isVisible());

    window->N21->trigger();
    EXPECT_TRUE(thumbnail.isVisible());
    thumbnail.close();
    EXPECT_FALSE(window->N21->isChecked()) << "a thumbnail closed by the window manager unchecks its item";
}

TEST_F(MainWindowTest, TheThumbnailShowsEverySpacingChangeAndGivesWayToModalWindows)
{
    window->ActNew->trigger();
    DrawWorkFrom(1, 60);
    const auto size = [&] { return QSize(int(thumbnail.Picture().Width()), int(thumbnail.Picture().Height())); };
    const QSize drawn = size();
    window->ActDaX->trigger();
    EXPECT_GT(size().width(), drawn.width());
    window->ActXiaoX->trigger();
    EXPECT_EQ(size(), drawn);
    window->ActDaY->trigger();
    EXPECT_GT(size().height(), drawn.height());
    window->ActXiaoY->trigger();
    EXPECT_EQ(size(), drawn);

    ASSERT_TRUE(thumbnail.isVisible());
    bool shownUnderModal = true;
    QDialog modal(window.get());
    QTimer::singleShot(0, [&] {
        shownUnderModal = thumbnail.isVisible();
        modal.reject();
    });
    modal.exec();
    EXPECT_FALSE(shownUnderModal);
    EXPECT_TRUE(thumbnail.isVisible());
    EXPECT_TRUE(window->N21->isChecked());

    window->N21->trigger();
    QTimer::singleShot(0, [&] { modal.reject(); });
    modal.exec();
    EXPECT_FALSE(thumbnail.isVisible()) << "a hidden thumbnail stays hidden after a modal window";
}

TEST_F(MainWindowTest, TheWindowGoesWithItsNetworkWhileTheNetworkReports)
{
    window->ActNew->trigger();
    DrawWorkFrom(1, 40);
    ASSERT_EQ(Net().Works().Count(), 1);
    Net().SetModified(false);
    window.reset();
    EXPECT_FALSE(thumbnail.OnClosed);
}

} // namespace
