#include "vyr_text.h"

#include "siteplan/plan_records.h"
#include "siteplan/plane_map.h"
#include "siteplan/shape_property_editor.h"

#include "platform/fonts.h"
#include "platform/numbers.h"
#include "platform/text_layout.h"

#include <QFontMetrics>

#include <algorithm>

namespace siteplan {

namespace {

// The text of an empty text box takes the room of this character.
const QString EmptyTextRoom = QStringLiteral("字");
const QString LetterA = QStringLiteral("A");
const QString LineFeed = QStringLiteral("\r\n");

// The height the text is laid out in before it is placed and clipped.
constexpr int LayoutHeight = 65535;

} // namespace

TVyrText::TVyrText(TPlaneMap* map, std::span<const QPoint> points) : TBoxMapCom(map, points)
{
    MapID = Kind;
    MapType = TMapType::mtText;
    OwnBrush.Assign(map->DefaultBrush);
    SetBrush(&OwnBrush);
    OwnTextShow.Assign(map->DefaultTextShow);
    SetTextShow(&OwnTextShow);
}

void TVyrText::SetShowOutRect(bool value)
{
    if (value == FShowOutRect)
        return;
    FShowOutRect = value;
    Changed();
}

void TVyrText::SetText(const QString& value)
{
    if (value == FText.Text())
        return;
    FText.SetText(value);
    Changed();
}

int TVyrText::FontSize() const
{
    return std::clamp(OwnTextShow.Font.Size, MinFontSize, MaxFontSize);
}

unsigned TVyrText::AlignFlag() const
{
    switch (OwnTextShow.HorzAlign()) {
    case 1:
        return platform::dt::Center;
    case 2:
        return platform::dt::Right;
    default:
        return platform::dt::Left;
    }
}

QSize TVyrText::MeasureText(const platform::TFont& font, std::int64_t boxWidth) const
{
    const int pixelsPerInch = PlaneMap()->PixelsPerInch();
    const unsigned align = AlignFlag();
    if (FMeasured.Valid && FMeasured.Font == font && FMeasured.PixelsPerInch == pixelsPerInch
        && FMeasured.BoxWidth == boxWidth && FMeasured.Align == align && FMeasured.Text == FText.Bytes())
        return FMeasured.Extent;

    const QFontMetrics metrics(platform::ToQFont(font, pixelsPerInch));
    const QString shown = FText.Bytes().isEmpty() ? EmptyTextRoom : Text();
    // A box narrower than one "A" lays the text out one "A" wide.
    const std::int64_t room = std::clamp<std::int64_t>(std::max<std::int64_t>(boxWidth, metrics.horizontalAdvance(LetterA)),
                                                       0, ScreenLimit);
    const unsigned flags = platform::dt::CalcRect | platform::dt::EditControl | platform::dt::WordBreak | align;
    QSize extent = platform::LayoutTextBlock(shown, QRect(0, 0, static_cast<int>(room), LayoutHeight), flags, metrics).Size;
    // An empty last line counts.
    if (shown.size() > 1 && shown.endsWith(LineFeed))
        extent.rheight() += platform::LineHeight(metrics);
    FMeasured = {font, pixelsPerInch, boxWidth, align, FText.Bytes(), extent, true};
    return extent;
}

TRect TVyrText::LayoutText() const
{
    // 64 bits throughout: a box at the edge of the screen range and a huge
    // pen or text must not overflow.
    const TRect bounds = GetBounds();
    std::int64_t boxLeft = bounds.Left;
    std::int64_t boxTop = bounds.Top;
    std::int64_t boxRight = bounds.Right;
    std::int64_t boxBottom = bounds.Bottom;
    if (FShowOutRect) {
        const std::int64_t inset = std::clamp(OwnPen.Width(), 0, MaxDrawnPenWidth);
        boxLeft += inset;
        boxTop += inset;
        boxRight -= inset;
        boxBottom -= inset;
    }

    // Measured with the font laid out at the zoomed size (MulDiv rounds
    // halves away from zero); at size 0 the text takes no room.
    platform::TFont font = OwnTextShow.Font;
    font.Size = std::max(0, platform::MulDiv(FontSize(), PlaneMap()->Zoom(), 100));
    const QSize extent = font.Size > 0 ? MeasureText(font, boxRight - boxLeft) : QSize(0, 0);
    const std::int64_t width = extent.width();
    const std::int64_t height = extent.height();

    std::int64_t left = boxLeft;
    std::int64_t top = boxTop;
    std::int64_t right = boxLeft + width;
    std::int64_t bottom = boxTop + height;
    const auto shiftDown = [&](std::int64_t d) {
        top += d;
        bottom += d;
    };
    if (OwnTextShow.VertAlign() == 1)
        shiftDown((boxBottom - bottom) / 2);
    else if (OwnTextShow.VertAlign() == 2)
        shiftDown(boxBottom - bottom);
    if (OwnTextShow.HorzAlign() == 1) {
        const std::int64_t d = (boxRight - right) / 2;
        left += d;
        right += d;
    } else if (OwnTextShow.HorzAlign() == 2) {
        left = boxLeft;
        right = boxRight;
    }
    return {platform::SaturateInt(std::max(left, boxLeft)), platform::SaturateInt(std::max(top, boxTop)),
            platform::SaturateInt(std::min(right, boxRight)), platform::SaturateInt(std::min(bottom, boxBottom))};
}

bool TVyrText::HitTest(QPoint p) const
{
    const TRect r = LayoutText();
    if (r.Left < r.Right && r.Top < r.Bottom && p.x() >= r.Left && p.x() < r.Right && p.y() >= r.Top && p.y() < r.Bottom)
        return true;
    return HitOutline(p);
}

void TVyrText::Draw(platform::Canvas& canvas, std::uint8_t mode)
{
    TVyrMapCom::Draw(canvas, mode);
    canvas.Pen = OwnPen.DrawnValue();
    canvas.Brush = OwnBrush.Value();
    if (FShowOutRect) {
        canvas.Pen.Mode = mode != drawmode::Normal ? platform::TPenMode::pmNotXor : platform::TPenMode::pmCopy;
    } else {
        canvas.Pen.Style = platform::TPenStyle::psClear;
        canvas.Pen.Mode = platform::TPenMode::pmCopy;
    }
    const TRect box = GetBounds();
    canvas.Rectangle(box.Left, box.Top, box.Right, box.Bottom);
    DrawTextContent(canvas);
}

TVyrMapCom::TOpaqueAreas TVyrText::OpaqueAreas() const
{
    return {SolidBoxInside(OwnBrush.Value())};
}

void TVyrText::DrawTextContent(platform::Canvas& canvas) const
{
    if (FText.Bytes().isEmpty())
        return;
    const TRect r = LayoutText();
    if (r.Right <= r.Left || r.Bottom <= r.Top)
        return;
    // Drawn at the zoomed size rounded halves to even; a size that rounds
    // to 0 draws nothing.
    platform::TFont font = OwnTextShow.Font;
    font.Size = platform::RoundInt(FontSize() * static_cast<double>(PlaneMap()->Zoom()) / 100);
    if (font.Size <= 0)
        return;
    canvas.Font = font;
    // Where the text lies inside the box's fill (which leaves out the last
    // column and row of the box) and that fill was copied, its own
    // background in the same solid brush would paint the same pixels
    // again: drawn without it, the canvas can place the text from an image
    // it keeps.
    const TRect box = GetBounds();
    if (canvas.Brush.Style == platform::TBrushStyle::bsSolid && canvas.Pen.Mode == platform::TPenMode::pmCopy &&
        RotateAngle == 0 && r.Right < box.Right && r.Bottom < box.Bottom)
        canvas.Brush.Style = platform::TBrushStyle::bsClear;
    QRect rect = r.ToQRect();
    canvas.DrawText(Text(), rect, platform::dt::EditControl | platform::dt::WordBreak | AlignFlag());
}

void TVyrText::EditProperty()
{
    TShapePropertyEditor* editor = PropertyEditor();
    QString text = Text();
    bool showOutRect = FShowOutRect;
    if (!editor || !editor->EditText(OwnPen, OwnBrush, text, showOutRect, OwnTextShow))
        return;
    SetText(text);
    SetShowOutRect(showOutRect);
    PropertiesEdited();
}

void TVyrText::EndMovePoint()
{
    NormaliseCorners();
}

void TVyrText::AfterCreate()
{
    NormaliseCorners();
    EditProperty();
}

void TVyrText::SaveToStream(QDataStream& stream) const
{
    TVyrMapCom::SaveToStream(stream);
    WritePen(stream, OwnPen);
    WriteBrush(stream, OwnBrush);
    WriteTextShow(stream, OwnTextShow);
    WriteCorners(stream, true);
    stream << qint32(FShowOutRect ? 1 : 0);
    WriteString(stream, FText);
}

void TVyrText::LoadFromStream(QDataStream& stream)
{
    TVyrMapCom::LoadFromStream(stream);
    ReadPen(stream, OwnPen);
    ReadBrush(stream, OwnBrush);
    ReadTextShow(stream, OwnTextShow);
    ReadCorners(stream);
    qint32 showOutRect = 0;
    stream >> showOutRect;
    platform::StoredText text;
    ReadString(stream, text);
    if (stream.status() != QDataStream::Ok)
        return;
    FShowOutRect = showOutRect == 1;
    FText = text;
}

} // namespace siteplan
