// The window as the program shows it, with only the program's own shapes
// on its tool pages: a polyline drawn with the tool of the first page, the
// rulers beside the sheet; and its About box. Both are saved as pictures to
// look at. Its own executable, so that no test shape is registered.
#include "tests/apps/sitelay/main_window_fixture.h"

#include "common/about_box.h"

#include "siteplan/legends/legend_library_file.h"

#include <QBuffer>
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
    EXPECT_EQ(Tags(window->PageButtons(0)), (std::vector<int>{0, siteplan::TVYRLine::Kind, 2, 3, 4, 8, 9}));
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

// A legend library of two symbols on one page: the page open, the symbols
// placed beside a rectangle, an ellipse and an arc, one of them selected.
TEST_F(WindowScreenshotTest, ALegendPageOpenWithItsSymbolsPlaced)
{
    legends::TLegendFiles library;
    library.Pages.Append(QStringLiteral("施工设施"));
    const auto add = [&library](const QString& hint, QRgb colour) {
        QImage image(32, 32, QImage::Format_RGB32);
        image.fill(Qt::white);
        for (int y = 4; y < 28; ++y)
            for (int x = 4; x < 28; ++x)
                if (std::abs(x - 16) + std::abs(y - 16) < 12)
                    image.setPixel(x, y, colour);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "BMP");
        platform::TPicture picture;
        picture.SetGraphic(platform::TGraphicKind::Bitmap, bytes);
        legends::TLegendItem& item = library.Legends.Add();
        item.SetMapHint(hint);
        item.SetShowPanel(QStringLiteral("施工设施"));
        item.SetPicture(picture);
    };
    add(QStringLiteral("配电箱"), qRgb(220, 40, 40));
    add(QStringLiteral("水源"), qRgb(40, 90, 220));
    legends::SaveLegendLibrary(PathOf(QStringLiteral("Legends.dll")), library);
    CreateWindow();
    window->resize(1100, 760);
    QApplication::processEvents();
    ASSERT_EQ(window->PageControl1->count(), 3);

    window->ToolButtonOf(3)->click();
    DragOnMap({120, 100}, {320, 220});
    window->ToolButtonOf(2)->click();
    DragOnMap({360, 100}, {520, 220});
    window->ToolButtonOf(9)->click();
    DragOnMap({560, 100}, {760, 260});
    window->PageControl1->setCurrentIndex(2);
    window->ToolButtonOf(1000)->click();
    ClickOnMap({200, 320});
    window->ToolButtonOf(1001)->click();
    ClickOnMap({300, 320});
    ASSERT_EQ(Map().MapComCount(), 5);
    EXPECT_EQ(Map().DrawKind(), 0);
    EXPECT_TRUE(window->PageButtons(2)[0]->isChecked());

    const QImage shot = window->grab().toImage();
    QDir().mkpath(QStringLiteral(SCREENSHOT_DIR));
    ASSERT_TRUE(shot.save(QStringLiteral(SCREENSHOT_DIR "/sitelay_legend_page.png")));
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
