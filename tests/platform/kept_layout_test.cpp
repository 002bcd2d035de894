// Calls that measure a text and then draw it share its layout when their
// flags differ only where the layout does not read them, and a drawn line
// remembers the image it was placed from. What a canvas finds that way must
// be what a canvas with no text kept at all finds, whatever was measured or
// drawn before and in whichever colours.
#include "platform/fonts.h"
#include "platform/painter_canvas.h"
#include "platform/text_layout.h"

#include <gtest/gtest.h>

#include <QImage>

#include <optional>
#include <thread>
#include <vector>

using namespace platform;

namespace {

struct LayoutCase {
    QString text;
    unsigned flags;
    QRect rect;
};

// What one DrawText call shows and gives: the rect and height of
// measuring it, the height of drawing it, and the pixels of drawing it
// three times in each of two colours (on one canvas the second and third
// time from its image).
struct Outcome {
    QRect measured;
    int measuredHeight = 0;
    int drawnHeight = 0;
    QImage image;
    friend bool operator==(const Outcome&, const Outcome&) = default;
};

// Every call on one canvas, or (alone) each call on a canvas of its own on
// a thread of its own, where no canvas kept any text.
Outcome Draw(const LayoutCase& c, bool alone)
{
    Outcome out;
    out.image = QImage(120, 70, QImage::Format_RGB32);
    out.image.fill(qRgb(200, 230, 210));
    {
        std::optional<PainterCanvas> shared;
        if (!alone)
            shared.emplace(out.image);
        const auto call = [&](TColor color, const auto& f) {
            const auto run = [&] {
                std::optional<PainterCanvas> own;
                PainterCanvas& canvas = alone ? own.emplace(out.image) : *shared;
                canvas.Font.Size = 10;
                canvas.Font.Color = color;
                canvas.Brush.Style = TBrushStyle::bsClear;
                f(canvas);
            };
            if (alone)
                std::thread(run).join();
            else
                run();
        };
        out.measured = c.rect;
        call(clBlack, [&](Canvas& canvas) {
            out.measuredHeight = canvas.DrawText(c.text, out.measured, c.flags | dt::CalcRect);
        });
        for (const TColor color : {clBlue, clRed})
            for (int k = 0; k < 3; ++k)
                call(color, [&](Canvas& canvas) {
                    QRect rect = c.rect.translated(k * 2, color == clRed ? 30 : 0);
                    out.drawnHeight = canvas.DrawText(c.text, rect, c.flags);
                });
    }
    return out;
}

TEST(PainterCanvasText, SharedLayoutsAndRememberedImagesShowWhatAFreshCanvasShows)
{
    const QString texts[] = {QStringLiteral("墙 Wall"), QStringLiteral("a\nbb"), QStringLiteral("a b c\r\nd"),
                             QStringLiteral("one\n"), QStringLiteral(""), QStringLiteral("aaa bbb ccc")};
    const unsigned flagSets[] = {0u,
                                 dt::SingleLine,
                                 dt::SingleLine | dt::Center,
                                 dt::VCenter,
                                 dt::Bottom | dt::Right,
                                 dt::SingleLine | dt::VCenter,
                                 dt::SingleLine | dt::Bottom,
                                 dt::SingleLine | dt::VCenter | dt::Bottom,
                                 dt::WordBreak,
                                 dt::WordBreak | dt::SingleLine,
                                 dt::WordBreak | dt::EditControl,
                                 dt::EditControl | dt::NoClip};
    const QRect rects[] = {QRect(5, 4, 40, 24), QRect(5, 4, 90, 12)};
    std::vector<LayoutCase> cases;
    for (const QString& text : texts)
        for (const unsigned flags : flagSets)
            for (const QRect& rect : rects)
                cases.push_back({text, flags, rect});
    std::vector<Outcome> alone;
    for (const LayoutCase& c : cases) {
        alone.push_back(Draw(c, true));
        // Measured as the layout of the call's own flags.
        QImage device(1, 1, QImage::Format_RGB32);
        TFont font;
        font.Size = 10;
        const QFontMetrics metrics(ToQFont(font, PainterCanvas(device).PixelsPerInch()), &device);
        const TextBlock block = LayoutTextBlock(c.text, c.rect, c.flags, metrics);
        EXPECT_EQ(alone.back().measured.size(), block.Size) << c.text.toStdString() << " flags " << c.flags;
        EXPECT_EQ(alone.back().drawnHeight, block.DrawnHeight(c.rect)) << c.text.toStdString() << " flags " << c.flags;
    }
    // All on one thread, forwards and backwards, so that every case follows
    // texts kept by other cases.
    for (int pass = 0; pass < 2; ++pass)
        for (std::size_t n = 0; n < cases.size(); ++n) {
            const std::size_t i = pass == 0 ? n : cases.size() - 1 - n;
            const LayoutCase& c = cases[i];
            EXPECT_TRUE(Draw(c, false) == alone[i]) << "text \"" << c.text.toStdString() << "\" flags " << c.flags
                                            << " width " << c.rect.width() << " pass " << pass;
        }
}

} // namespace
