// The flow-process wizard: its grid's defaults and what it keeps, the check
// of OK cell by cell, the row-distance arrows, and the steps from the
// flow-process mode of the main window to a generated network.
#include "apps/arrowplan/glide_wizard.h"

#include "tests/apps/arrowplan/main_window_fixture.h"

#include <QApplication>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>

#include <gtest/gtest.h>

using arrowplan::TFrmGlide;
using arrowplan::TGlideCells;

namespace {

QStringList Row(const TGlideCells& cells, int row, int sections)
{
    QStringList texts;
    for (int c = 0; c <= sections; ++c)
        texts.append(cells.Cell(c, row));
    return texts;
}

} // namespace

TEST(GlideWizardTest, FirstUseShowsTheDefaultGrid)
{
    FakeWindowServices messages;
    TFrmGlide glide(&messages);
    EXPECT_EQ(glide.windowTitle(), QStringLiteral("流水参数"));
    EXPECT_EQ(glide.size(), QSize(442, 223));
    ASSERT_EQ(glide.StringGrid1->rowCount(), 6);
    ASSERT_EQ(glide.StringGrid1->columnCount(), 6);
    EXPECT_EQ(glide.StringGrid1->item(0, 0)->text(), QStringLiteral("施工过程名"));
    EXPECT_EQ(glide.StringGrid1->item(0, 5)->text(), QStringLiteral("第5施工段"));
    EXPECT_EQ(glide.StringGrid1->item(3, 0)->text(), QStringLiteral("工作3"));
    EXPECT_EQ(glide.StringGrid1->item(5, 5)->text(), QStringLiteral("3"));
    EXPECT_FALSE(glide.StringGrid1->item(0, 2)->flags() & Qt::ItemIsEditable);
    EXPECT_TRUE(glide.StringGrid1->item(2, 0)->flags() & Qt::ItemIsEditable);
    EXPECT_EQ(glide.Layers(), 1);
    EXPECT_EQ(glide.LineDistance(), 2);
}

TEST(GlideWizardTest, ARowThatLeavesTheGridComesBackAsItWas)
{
    FakeWindowServices messages;
    TFrmGlide glide(&messages);
    glide.Edit1->stepBy(1);
    ASSERT_EQ(glide.StringGrid1->rowCount(), 7);
    EXPECT_EQ(glide.StringGrid1->item(6, 0)->text(), QStringLiteral("工作6"));
    EXPECT_EQ(glide.StringGrid1->item(6, 5)->text(), QStringLiteral("3"));
    glide.StringGrid1->item(6, 2)->setText(QStringLiteral("8"));
    glide.Edit1->stepBy(-1);
    EXPECT_EQ(glide.StringGrid1->rowCount(), 6);
    glide.Edit1->stepBy(1);
    EXPECT_EQ(glide.StringGrid1->item(6, 2)->text(), QStringLiteral("8"));
    EXPECT_EQ(glide.Table().size(), 6u);
    glide.Edit2->setValue(100);
    glide.Edit2->stepBy(1);
    EXPECT_EQ(glide.Sections(), 100);
    EXPECT_EQ(glide.StringGrid1->columnCount(), 101);
}

TEST(GlideWizardTest, TheRowDistanceJumpsOverZeroAndStopsAtItsEnds)
{
    FakeWindowServices messages;
    TFrmGlide glide(&messages);
    glide.Edit4->setValue(-1);
    glide.Edit4->stepBy(1);
    EXPECT_EQ(glide.LineDistance(), 1);
    glide.Edit4->stepBy(-1);
    EXPECT_EQ(glide.LineDistance(), -1);
    glide.Edit4->setValue(5);
    glide.Edit4->stepBy(1);
    EXPECT_EQ(glide.LineDistance(), 5);
    glide.Edit4->setValue(-5);
    glide.Edit4->stepBy(-1);
    EXPECT_EQ(glide.LineDistance(), -5);
    glide.Edit3->setValue(0);
    EXPECT_EQ(glide.Layers(), 1);
}

TEST(GlideWizardTest, OkFillsEmptyCellsAndRefusesBadRhythmsOnTheirCell)
{
    struct Case {
        QStringList row; // name, then five rhythms
        QString message; // empty: accepted
        int column;
        QStringList filled;
    };
    const Case cases[] = {
        {{QStringLiteral("砌墙"), "2", "", "", "4", ""}, {}, 0, {QStringLiteral("砌墙"), "2", "2", "2", "4", "4"}},
        {{"", " 3", "1.5", "2", "2", "2"}, {}, 0, {QStringLiteral("工作2"), " 3", "1.5", "2", "2", "2"}},
        {{"  ", "", "4", "4", "4", "4"}, QStringLiteral("没有输入\"工作2\"的流水节拍,请重新输入！"), 1, {}},
        {{QStringLiteral("抹灰"), "  ", "4", "4", "4", "4"}, QStringLiteral("没有输入\"抹灰\"的流水节拍,请重新输入！"), 1, {}},
        {{"A", "3 ", "4", "4", "4", "4"}, QStringLiteral("3 不是一个有效的实数，错误位置: 2"), 1, {}},
        {{"A", "2", "3a", "4", "4", "4"}, QStringLiteral("3a不是一个有效的实数，错误位置: 2"), 2, {}},
        {{"A", "2", "2", "0", "4", "4"}, QStringLiteral("流水节拍必须大于零"), 3, {}},
        {{"A", "2", "2", "2", "-1", "4"}, QStringLiteral("流水节拍必须大于零"), 4, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row.join(QLatin1Char('|')).toStdString());
        FakeWindowServices messages;
        TFrmGlide glide(&messages);
        for (int col = 0; col < 6; ++col)
            glide.StringGrid1->item(2, col)->setText(c.row[col]);
        glide.StringGrid1->item(4, 0)->setText(QString());
        glide.BitBtn1Click();
        if (c.message.isEmpty()) {
            EXPECT_EQ(glide.result(), QDialog::Accepted);
            EXPECT_TRUE(messages.messages.empty());
            EXPECT_EQ(Row(glide.Cells(), 2, 5), c.filled);
            EXPECT_EQ(glide.StringGrid1->item(2, 2)->text(), c.filled[2]);
            EXPECT_EQ(glide.Table()[1], c.filled);
        } else {
            EXPECT_NE(glide.result(), QDialog::Accepted);
            ASSERT_EQ(messages.messages.size(), 1u);
            EXPECT_EQ(messages.messages[0].text, c.message);
            EXPECT_EQ(messages.messages[0].icon, platform::MessageIcon::Warning);
            EXPECT_EQ(glide.StringGrid1->currentRow(), 2);
            EXPECT_EQ(glide.StringGrid1->currentColumn(), c.column);
            // Rows after the refused one are not looked at.
            EXPECT_EQ(glide.Cells().Cell(0, 4), QString());
        }
    }
}

using GlideCommandTest = MainWindowFixture;

// The flow-process mode: a press on the start node opens the wizard; its
// OK generates the worked example of two processes on three sections.
TEST_F(GlideCommandTest, APressInTheFlowProcessModeRunsTheWizardAndGeneratesTheNetwork)
{
    window->ActNewExecute();
    ASSERT_TRUE(window->Network());
    window->ActGlide->trigger();
    ASSERT_EQ(Net().DrawState(), 10);
    TFrmGlide& glide = window->Glide();
    glide.Edit1->setValue(2);
    glide.Edit2->setValue(3);
    const char* const rhythms[2][4] = {{"A", "2", "3", "2"}, {"B", "4", "1", "3"}};
    bool opened = false;
    QTimer::singleShot(0, [&] {
        opened = QApplication::activeModalWidget() == &glide;
        for (int r = 0; r < 2; ++r)
            for (int c = 0; c < 4; ++c)
                glide.StringGrid1->item(r + 1, c)->setText(QString::fromUtf8(rhythms[r][c]));
        glide.BitBtn1->click();
    });
    const QPoint start = NodePoint(1);
    Press(start);
    Release(start);
    EXPECT_TRUE(opened);
    EXPECT_EQ(Net().Works().Count(), 7);
    EXPECT_EQ(Net().Nodes().Count(), 6);
    EXPECT_EQ(Net().GetTotalTime(), 10.0f);
    EXPECT_TRUE(Net().Modified());

    // Cancel changes nothing.
    QTimer::singleShot(0, [&] { glide.BitBtn2->click(); });
    Press(start);
    Release(start);
    EXPECT_EQ(Net().Works().Count(), 7);
}
