// Single records of hand-built metafiles and what they draw: the EMF map
// modes, saved states, stock objects, clipping and text alignment, and the
// WMF records of ordinary drawing with their object-table slots.
#include "call_log_canvas.h"
#include "sample_pictures.h"

#include "platform/gbk_text.h"
#include "platform/painter_canvas.h"
#include "platform/picture/picture.h"

#include <QImage>

#include <gtest/gtest.h>

using namespace platform;

namespace {

// EMF record types.
constexpr std::uint32_t SetWindowExtEx = 9;
constexpr std::uint32_t SetViewportExtEx = 11;
constexpr std::uint32_t SetViewportOrgEx = 12;
constexpr std::uint32_t SetMapMode = 17;
constexpr std::uint32_t SetTextAlign = 22;
constexpr std::uint32_t IntersectClipRect = 30;
constexpr std::uint32_t SaveDC = 33;
constexpr std::uint32_t RestoreDC = 34;
constexpr std::uint32_t SetWorldTransform = 35;
constexpr std::uint32_t ModifyWorldTransform = 36;
constexpr std::uint32_t SelectObject = 37;
constexpr std::uint32_t CreateBrushIndirect = 39;
constexpr std::uint32_t Rectangle = 43;
constexpr std::uint32_t ExtTextOutW = 84;
constexpr std::int32_t StockBlackBrush = std::int32_t(0x80000004u);
constexpr std::int32_t StockNullPen = std::int32_t(0x80000008u);

std::int32_t FloatWord(float f)
{
    std::int32_t w;
    std::memcpy(&w, &f, 4);
    return w;
}

EmfBuilder BlueBrushBuilder()
{
    EmfBuilder emf;
    emf.Record(CreateBrushIndirect, {1, 0, 0xFF0000, 0}).Record(SelectObject, {1}).Record(SelectObject, {StockNullPen});
    return emf;
}

QImage Play(const QByteArray& bytes, QSize size = QSize(100, 100))
{
    TPicture picture;
    picture.SetGraphic(TGraphicKind::Metafile, bytes);
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    PainterCanvas canvas(image);
    picture.Draw(canvas, QRect(QPoint(0, 0), size));
    return image;
}

QStringList Calls(const QByteArray& bytes)
{
    TPicture picture;
    picture.SetGraphic(TGraphicKind::Metafile, bytes);
    CallLogCanvas canvas;
    picture.Draw(canvas, QRect(0, 0, 100, 100));
    return canvas.Calls;
}

} // namespace

TEST(MetafileRecords, EmfMappingsPlaceTheRectangle)
{
    struct Case {
        const char* Name;
        QByteArray Bytes;
        QPoint Blue;
        QPoint White;
    };
    const Case cases[] = {
        {"device units", BlueBrushBuilder().Record(Rectangle, {50, 50, 100, 100}).Finish(), {75, 75}, {25, 25}},
        {"anisotropic window onto viewport",
         BlueBrushBuilder()
             .Record(SetMapMode, {8})
             .Record(SetWindowExtEx, {1000, 2000})
             .Record(SetViewportExtEx, {100, 100})
             .Record(Rectangle, {0, 1000, 500, 2000})
             .Finish(),
         {25, 75}, {75, 25}},
        {"tenths of a millimetre with y upwards",
         BlueBrushBuilder()
             .Record(SetMapMode, {2})
             .Record(SetViewportOrgEx, {0, 100})
             .Record(Rectangle, {500, 0, 1000, 500})
             .Finish(),
         {75, 75}, {75, 25}},
        {"world transform",
         BlueBrushBuilder()
             .Record(SetWorldTransform, {FloatWord(2), 0, 0, FloatWord(2), FloatWord(50), 0})
             .Record(Rectangle, {0, 0, 25, 25})
             .Finish(),
         {75, 25}, {25, 75}},
        {"modified world transform multiplies on the left",
         BlueBrushBuilder()
             .Record(SetWorldTransform, {FloatWord(1), 0, 0, FloatWord(1), FloatWord(50), 0})
             .Record(ModifyWorldTransform, {FloatWord(2), 0, 0, FloatWord(2), 0, 0, 2})
             .Record(Rectangle, {0, 0, 25, 25})
             .Finish(),
         {75, 25}, {25, 25}},
        {"restored state drops the transform",
         BlueBrushBuilder()
             .Record(SaveDC, {})
             .Record(SetWorldTransform, {FloatWord(1), 0, 0, FloatWord(1), FloatWord(50), 0})
             .Record(RestoreDC, {-1})
             .Record(Rectangle, {0, 0, 50, 50})
             .Finish(),
         {25, 25}, {75, 25}},
        {"stock black brush",
         EmfBuilder().Record(SelectObject, {StockBlackBrush}).Record(Rectangle, {0, 0, 50, 50}).Finish(), {}, {75, 75}},
        {"intersected clip",
         BlueBrushBuilder().Record(IntersectClipRect, {0, 0, 50, 100}).Record(Rectangle, {0, 0, 100, 100}).Finish(),
         {25, 75}, {75, 75}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const QImage image = Play(c.Bytes);
        if (c.Blue.isNull())
            EXPECT_EQ(image.pixelColor(25, 25), QColor(Qt::black));
        else
            EXPECT_EQ(image.pixelColor(c.Blue), QColor(Qt::blue));
        EXPECT_EQ(image.pixelColor(c.White), QColor(Qt::white));
    }
}

TEST(MetafileRecords, EmfTextIsPlacedByItsAlignment)
{
    // "AB" at (40, 30): the log canvas measures 8 pixels a character, 16 high.
    const auto text = [](std::int32_t align) {
        const std::int32_t ab = 'A' | ('B' << 16);
        return EmfBuilder()
            .Record(SetTextAlign, {align})
            // bounds, graphics mode, scales, reference, count, string offset,
            // options (no rectangle), dx offset, text, dx
            .Record(ExtTextOutW, {0, 0, 0, 0, 1, FloatWord(1), FloatWord(1), 40, 30, 2, 60, 0x100, 64, ab, 8, 8})
            .Finish();
    };
    EXPECT_EQ(Calls(text(0)), QStringList{"TextOut 40,30 AB"});
    EXPECT_EQ(Calls(text(2)), QStringList{"TextOut 24,30 AB"});  // right
    EXPECT_EQ(Calls(text(6)), QStringList{"TextOut 32,30 AB"});  // centre
    EXPECT_EQ(Calls(text(8)), QStringList{"TextOut 40,14 AB"});  // bottom
}

TEST(MetafileRecords, WmfRecordsDrawTheirFigures)
{
    const QByteArray gbk = ToGbk(QStringLiteral("图例"));
    std::vector<std::int32_t> textOut{std::int32_t(gbk.size())};
    for (std::int32_t w : TextWords(gbk))
        textOut.push_back(w);
    textOut.insert(textOut.end(), {20, 10}); // y, x

    struct Case {
        const char* Name;
        std::uint16_t Function;
        std::vector<std::int32_t> Words;
        QString Call;
    };
    const Case cases[] = {
        {"polyline", 0x0325, {3, 0, 0, 10, 10, 20, 0}, "Polyline 3"},
        {"polygon", 0x0324, {3, 0, 0, 10, 10, 20, 0}, "Polygon 3"},
        {"ellipse", 0x0418, {40, 30, 20, 10}, "Ellipse 10,20,30,40"},
        {"round rectangle", 0x061C, {4, 4, 40, 30, 20, 10}, "RoundRect 10,20,30,40"},
        {"arc", 0x0817, {30, 10, 30, 30, 40, 30, 20, 10}, "Arc 10,20,30,40"},
        {"line", 0x0213, {40, 30}, "LineTo 30,40"},
        {"text in GBK", 0x0521, textOut, QStringLiteral("TextOut 10,20 图例")},
        {"extended text", 0x0A32, {20, 10, 2, 0, 'A' | ('B' << 8)}, "TextOut 10,20 AB"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const QByteArray wmf = WmfBuilder(0, 0, 100, 100, 96).Record(c.Function, c.Words).Finish();
        EXPECT_TRUE(Calls(wmf).contains(c.Call)) << Calls(wmf).join(" | ").toStdString();
    }

    const QByteArray polyPolygon =
        WmfBuilder(0, 0, 100, 100, 96).Record(0x0538, {2, 3, 4, 0, 0, 10, 0, 0, 10, 50, 50, 60, 50, 60, 60, 50, 60}).Finish();
    EXPECT_EQ(Calls(polyPolygon), (QStringList{"Polygon 3", "Polygon 4"}));
}

TEST(MetafileRecords, WmfObjectsTakeTheLowestFreeSlot)
{
    // A palette in slot 0, a clear brush in slot 1; deleting the palette
    // frees slot 0 for a solid brush. Selecting slot 1 must give the clear one.
    const QByteArray wmf = WmfBuilder(0, 0, 100, 100, 96)
                               .Record(0x00F7, {0x300, 0})           // CreatePalette
                               .Record(0x02FC, {1, 0, 0, 0})         // clear brush
                               .Record(0x01F0, {0})                  // DeleteObject palette
                               .Record(0x02FC, {0, 0x00FF, 0, 0})    // solid red brush, slot 0
                               .Record(0x012D, {1})                  // select the clear brush
                               .Record(0x041B, {40, 30, 20, 10})
                               .Record(0x012D, {0})                  // select the red brush
                               .Record(0x041B, {40, 30, 20, 10})
                               .Finish();
    EXPECT_EQ(Calls(wmf), (QStringList{"Rectangle 10,20,30,40 clear", "Rectangle 10,20,30,40"}));
}
