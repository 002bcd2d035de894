// The window as the program shows it, with only the program's own shapes
// on its tool pages: a polyline drawn with the tool of the first page, the
// rulers beside the sheet; and its About box. Both are saved as pictures to
// look at. Its own executable, so that no test shape is registered.
#include "tests/apps/sitelay/main_window_fixture.h"

#include "common/about_box.h"
#include "siteplan/shapes/vyr_b_splines.h"
#include "siteplan/shapes/vyr_curve.h"
#include "siteplan/shapes/vyr_muliangle.h"
#include "siteplan/shapes/vyr_wei_qiang.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

namespace {

struct WindowScreenshotTest : MainWindowFixture {
    WindowScreenshotTest() : MainWindowFixture(false) {}
};

std::vector<int> Tags(const std::vector<QToolButton*>& buttons)
{
    std::vector<int> tags;
    for (const QToolButton* button : buttons)
        tags.push_back(button->property("Tag").toInt());
    return tags;
}

TEST_F(WindowScreenshotTest, APolylineDrawnBesideTheRulers)
{
    EXPECT_EQ(Tags(window->PageButtons(0)),
              (std::vector<int>{0, siteplan::TVYRLine::Kind, siteplan::TVYRCurve::Kind, siteplan::TVYRMuliangle::Kind,
                                siteplan::TVYRBSplines::Kind}));
    EXPECT_EQ(Tags(window->PageButtons(1)), (std::vector<int>{0, siteplan::TVYRWeiQiang::Kind}));
    EXPECT_EQ(window->ToolButtonOf(siteplan::TVYRCurve::Kind)->toolTip(), QStringLiteral("贝塞尔曲线"));
    EXPECT_EQ(window->ToolButtonOf(siteplan::TVYRMuliangle::Kind)->toolTip(), QStringLiteral("多边形"));
    EXPECT_EQ(window->ToolButtonOf(siteplan::TVYRBSplines::Kind)->toolTip(), QStringLiteral("自由曲线"));
    EXPECT_EQ(window->ToolButtonOf(siteplan::TVYRWeiQiang::Kind)->toolTip(), QStringLiteral("围墙"));

    window->resize(1100, 760);
    QApplication::processEvents();
    ASSERT_NE(DrawPolyline({{120, 90}, {300, 260}, {520, 140}, {700, 330}}), nullptr);
    ASSERT_EQ(Map().MapComCount(), 1);
    EXPECT_EQ(Map().DrawKind(), 0);
    SendMouse(Viewport(), QEvent::MouseMove, {610, 420}, Qt::NoButton, Qt::NoButton);

    const QImage shot = window->grab().toImage();
    ASSERT_FALSE(shot.isNull());
    QDir().mkpath(QStringLiteral(SCREENSHOT_DIR));
    ASSERT_TRUE(shot.save(QStringLiteral(SCREENSHOT_DIR "/sitelay_main_window.png")));
}

TEST_F(WindowScreenshotTest, TheAboutBoxShowsTheProgramsPicture)
{
    QImage shot;
    bool shown = false;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<common::TAboutBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        shown = true;
        EXPECT_FALSE(box->ProgramIcon()->pixmap().isNull());
        shot = box->grab().toImage();
        box->OKButton()->click();
    });
    window->act_HelpAbout->trigger();
    ASSERT_TRUE(shown);
    QDir().mkpath(QStringLiteral(SCREENSHOT_DIR));
    ASSERT_TRUE(shot.save(QStringLiteral(SCREENSHOT_DIR "/sitelay_about_box.png")));
}

} // namespace
