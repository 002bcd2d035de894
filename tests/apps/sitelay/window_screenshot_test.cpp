// The window as the program shows it, with only the program's own shapes
// on its tool pages: a polyline drawn with the tool of the first page, the
// rulers beside the sheet, saved as a picture to look at. Its own
// executable, so that no test shape is registered.
#include "tests/apps/sitelay/main_window_fixture.h"

#include <QDir>

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
    EXPECT_EQ(Tags(window->PageButtons(0)), (std::vector<int>{0, siteplan::TVYRLine::Kind}));
    EXPECT_EQ(Tags(window->PageButtons(1)), (std::vector<int>{0}));

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

} // namespace
