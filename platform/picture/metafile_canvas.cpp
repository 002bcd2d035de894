#include "metafile_canvas.h"

#include "dib_image.h"
#include "platform/clip_box.h"
#include "platform/fonts.h"
#include "platform/numbers.h"
#include "platform/text_layout.h"

#include <uemf.h>

#include <QFontMetrics>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace platform::picture {

namespace {

constexpr int HundredthMmPerInch = 2540;
constexpr std::uint32_t HandleCount = 7; // slot 0 and two handles each for pen, brush and font
constexpr std::uint32_t PenHandles[2] = {1, 2};
constexpr std::uint32_t BrushHandles[2] = {3, 4};
constexpr std::uint32_t FontHandles[2] = {5, 6};

U_COLORREF ColorRef(TColor color)
{
    const std::uint32_t rgb = ColorToRGB(color);
    U_COLORREF ref;
    std::memcpy(&ref, &rgb, 4);
    return ref;
}

U_RECTL RectL(int left, int top, int right, int bottom)
{
    return U_RECTL{left, top, right, bottom};
}

U_POINTL PointL(int x, int y)
{
    return U_POINTL{x, y};
}

std::uint32_t Rop2(TPenMode mode)
{
    switch (mode) {
    case TPenMode::pmNotXor: return U_R2_NOTXORPEN;
    case TPenMode::pmMaskPenNot: return U_R2_MASKPENNOT;
    case TPenMode::pmXor: return U_R2_XORPEN;
    case TPenMode::pmCopy: break;
    }
    return U_R2_COPYPEN;
}

void AppendU32(QByteArray& out, std::uint32_t v)
{
    out.append(reinterpret_cast<const char*>(&v), 4);
}

void PatchU32(QByteArray& out, qsizetype at, std::uint32_t v)
{
    std::memcpy(out.data() + at, &v, 4);
}

} // namespace

MetafileCanvas::MetafileCanvas(QSize size, int pixelsPerInch)
    : size_(size.expandedTo(QSize(1, 1))), pixelsPerInch_(std::max(1, pixelsPerInch))
{
    const int frameWidth = MulDiv(size_.width(), HundredthMmPerInch, pixelsPerInch_);
    const int frameHeight = MulDiv(size_.height(), HundredthMmPerInch, pixelsPerInch_);
    // The reference device is chosen so that the frame is exactly the canvas
    // size in device units: frame * device / (millimetres * 100) = size.
    const U_SIZEL device{size_.width() * 100, size_.height() * 100};
    const U_SIZEL millimetres{frameWidth, frameHeight};
    Append(U_EMRHEADER_set(RectL(0, 0, size_.width() - 1, size_.height() - 1), RectL(0, 0, frameWidth, frameHeight),
                           nullptr, 0, nullptr, device, millimetres, 0));
}

MetafileCanvas::~MetafileCanvas() = default;

void MetafileCanvas::Append(char* record)
{
    if (!record)
        return;
    std::uint32_t size = 0;
    std::memcpy(&size, record + 4, 4);
    if (!finished_) {
        out_.append(record, size);
        ++records_;
    }
    std::free(record);
}

QByteArray MetafileCanvas::Finish()
{
    if (!finished_) {
        // End of file: no palette entries, then the record size once more.
        AppendU32(out_, U_EMR_EOF);
        AppendU32(out_, 20);
        AppendU32(out_, 0);
        AppendU32(out_, 16);
        AppendU32(out_, 20);
        ++records_;
        PatchU32(out_, 48, std::uint32_t(out_.size()));
        PatchU32(out_, 52, records_);
        const std::uint16_t handles = HandleCount;
        std::memcpy(out_.data() + 56, &handles, 2);
        finished_ = true;
    }
    return out_;
}

void MetafileCanvas::UseTransform()
{
    if (writtenTransform_ == transform_)
        return;
    const U_XFORM xform{float(transform_.m11()), float(transform_.m12()), float(transform_.m21()),
                        float(transform_.m22()), float(transform_.dx()), float(transform_.dy())};
    Append(U_EMRSETWORLDTRANSFORM_set(xform));
    writtenTransform_ = transform_;
}

void MetafileCanvas::UsePen(const TPen& pen)
{
    if (mode_ != pen.Mode) {
        Append(U_EMRSETROP2_set(Rop2(pen.Mode)));
        mode_ = pen.Mode;
    }
    TPen object = pen;
    object.Mode = TPenMode::pmCopy;
    if (pen_ == object)
        return;
    const std::uint32_t handle = PenHandles[penHandle_ == PenHandles[0] ? 1 : 0];
    const U_LOGPEN logPen{std::uint32_t(pen.Style), U_POINT{std::max(0, pen.Width), 0}, ColorRef(pen.Color)};
    Append(U_EMRCREATEPEN_set(handle, logPen));
    Append(U_EMRSELECTOBJECT_set(handle));
    if (penHandle_ != 0)
        Append(U_EMRDELETEOBJECT_set(penHandle_));
    penHandle_ = handle;
    pen_ = object;
}

void MetafileCanvas::UseBrush(const TBrush& brush)
{
    if (brush_ == brush)
        return;
    const std::uint32_t handle = BrushHandles[brushHandle_ == BrushHandles[0] ? 1 : 0];
    U_LOGBRUSH logBrush{U_BS_SOLID, ColorRef(brush.Color), 0};
    if (brush.Style == TBrushStyle::bsClear) {
        logBrush.lbStyle = U_BS_NULL;
    } else if (brush.Style != TBrushStyle::bsSolid) {
        logBrush.lbStyle = U_BS_HATCHED;
        logBrush.lbHatch = std::uint32_t(brush.Style) - std::uint32_t(TBrushStyle::bsHorizontal);
    }
    Append(U_EMRCREATEBRUSHINDIRECT_set(handle, logBrush));
    Append(U_EMRSELECTOBJECT_set(handle));
    if (brushHandle_ != 0)
        Append(U_EMRDELETEOBJECT_set(brushHandle_));
    brushHandle_ = handle;
    brush_ = brush;
}

void MetafileCanvas::UseFigureState()
{
    UseTransform();
    UsePen(Pen);
    UseBrush(Brush);
    // Hatches are drawn over what lies beneath.
    if (opaque_ != false) {
        Append(U_EMRSETBKMODE_set(U_TRANSPARENT));
        opaque_ = false;
    }
}

void MetafileCanvas::UseTextState(bool opaque)
{
    UseTransform();
    TFont object = Font;
    object.Color = clBlack;
    if (font_ != object) {
        const std::uint32_t handle = FontHandles[fontHandle_ == FontHandles[0] ? 1 : 0];
        std::u16string face(Font.Name.left(U_LF_FACESIZE - 1).toStdU16String());
        face.resize(U_LF_FACESIZE, u'\0');
        const U_LOGFONT logFont = logfont_set(-MulDiv(Font.Size, pixelsPerInch_, 72), 0, Font.Escapement, Font.Escapement,
                                              (Font.Style & fsBold) ? U_FW_BOLD : U_FW_NORMAL, (Font.Style & fsItalic) ? 1 : 0,
                                              (Font.Style & fsUnderline) ? 1 : 0, (Font.Style & fsStrikeOut) ? 1 : 0,
                                              U_DEFAULT_CHARSET, U_OUT_DEFAULT_PRECIS, U_CLIP_DEFAULT_PRECIS,
                                              U_DEFAULT_QUALITY, U_DEFAULT_PITCH, reinterpret_cast<uint16_t*>(face.data()));
        Append(U_EMREXTCREATEFONTINDIRECTW_set(handle, reinterpret_cast<const char*>(&logFont), nullptr));
        Append(U_EMRSELECTOBJECT_set(handle));
        if (fontHandle_ != 0)
            Append(U_EMRDELETEOBJECT_set(fontHandle_));
        fontHandle_ = handle;
        font_ = object;
    }
    if (textColor_ != Font.Color) {
        Append(U_EMRSETTEXTCOLOR_set(ColorRef(Font.Color)));
        textColor_ = Font.Color;
    }
    if (opaque && bkColor_ != Brush.Color) {
        Append(U_EMRSETBKCOLOR_set(ColorRef(Brush.Color)));
        bkColor_ = Brush.Color;
    }
    if (opaque_ != opaque) {
        Append(U_EMRSETBKMODE_set(opaque ? U_OPAQUE : U_TRANSPARENT));
        opaque_ = opaque;
    }
}

QFont MetafileCanvas::MeasureFont() const
{
    return ToQFont(Font, pixelsPerInch_);
}

void MetafileCanvas::MoveTo(int x, int y)
{
    position_ = {x, y};
}

void MetafileCanvas::LineTo(int x, int y)
{
    UseFigureState();
    if (writtenPosition_ != position_)
        Append(U_EMRMOVETOEX_set(PointL(position_.x(), position_.y())));
    Append(U_EMRLINETO_set(PointL(x, y)));
    position_ = {x, y};
    writtenPosition_ = position_;
}

namespace {

std::vector<U_POINTL> PointsL(std::span<const QPoint> points)
{
    std::vector<U_POINTL> out;
    out.reserve(points.size());
    for (const QPoint& p : points)
        out.push_back(PointL(p.x(), p.y()));
    return out;
}

U_RECTL Bounds(std::span<const QPoint> points)
{
    QRect box;
    for (const QPoint& p : points)
        box |= QRect(p, QSize(1, 1));
    return RectL(box.left(), box.top(), box.right(), box.bottom());
}

} // namespace

void MetafileCanvas::Polyline(std::span<const QPoint> points)
{
    if (points.size() < 2)
        return;
    UseFigureState();
    const auto pts = PointsL(points);
    Append(U_EMRPOLYLINE_set(Bounds(points), std::uint32_t(pts.size()), pts.data()));
}

void MetafileCanvas::PolyBezier(std::span<const QPoint> points)
{
    if (points.size() < 4 || (points.size() - 1) % 3 != 0)
        return;
    UseFigureState();
    const auto pts = PointsL(points);
    Append(U_EMRPOLYBEZIER_set(Bounds(points), std::uint32_t(pts.size()), pts.data()));
}

void MetafileCanvas::Polygon(std::span<const QPoint> points)
{
    if (points.size() < 2)
        return;
    UseFigureState();
    const auto pts = PointsL(points);
    Append(U_EMRPOLYGON_set(Bounds(points), std::uint32_t(pts.size()), pts.data()));
}

void MetafileCanvas::Rectangle(int left, int top, int right, int bottom)
{
    UseFigureState();
    Append(U_EMRRECTANGLE_set(RectL(left, top, right, bottom)));
}

void MetafileCanvas::Ellipse(int left, int top, int right, int bottom)
{
    UseFigureState();
    Append(U_EMRELLIPSE_set(RectL(left, top, right, bottom)));
}

void MetafileCanvas::RoundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight)
{
    UseFigureState();
    Append(U_EMRROUNDRECT_set(RectL(left, top, right, bottom), U_SIZEL{cornerWidth, cornerHeight}));
}

void MetafileCanvas::Arc(int left, int top, int right, int bottom, int startX, int startY, int endX, int endY)
{
    UseFigureState();
    Append(U_EMRARC_set(RectL(left, top, right, bottom), PointL(startX, startY), PointL(endX, endY)));
}

void MetafileCanvas::FillRect(const QRect& rect)
{
    UseTransform();
    UseBrush(Brush);
    const U_XFORM identity{1, 0, 0, 1, 0, 0};
    Append(U_EMRBITBLT_set(RectL(rect.left(), rect.top(), rect.right(), rect.bottom()), PointL(rect.left(), rect.top()),
                           PointL(rect.width(), rect.height()), PointL(0, 0), identity, U_COLORREF{0, 0, 0, 0},
                           U_DIB_RGB_COLORS, U_PATCOPY, nullptr, 0, nullptr));
}

void MetafileCanvas::FrameRect(const QRect& rect)
{
    UseTransform();
    UsePen(TPen{Brush.Color, TPenStyle::psSolid, 1, TPenMode::pmCopy});
    UseBrush(TBrush{Brush.Color, TBrushStyle::bsClear});
    Append(U_EMRRECTANGLE_set(RectL(rect.left(), rect.top(), rect.right() + 1, rect.bottom() + 1)));
}

void MetafileCanvas::WriteText(int x, int y, const QString& text, std::uint32_t options, const QRect& rect)
{
    if (text.isEmpty() && (options & U_ETO_OPAQUE) == 0)
        return;
    UseTextState((options & U_ETO_OPAQUE) == 0 && Brush.Style == TBrushStyle::bsSolid);
    // Advances of each UTF-16 unit, so that other players space the text alike.
    const QFontMetrics metrics(MeasureFont());
    std::vector<std::uint32_t> dx(std::size_t(text.size()) + 1, 0);
    int previous = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int advance = metrics.horizontalAdvance(text.left(i + 1));
        dx[std::size_t(i)] = std::uint32_t(std::max(0, advance - previous));
        previous = advance;
    }
    const std::u16string utf16 = text.toStdU16String();
    const U_RECTL bounds = RectL(rect.left(), rect.top(), rect.right() + 1, rect.bottom() + 1);
    char* emrText = emrtext_set(PointL(x, y), std::uint32_t(utf16.size()), 2, const_cast<char16_t*>(utf16.data()),
                                options, bounds, dx.data());
    if (!emrText)
        return;
    Append(U_EMREXTTEXTOUTW_set(bounds, U_GM_COMPATIBLE, 1.0f, 1.0f, reinterpret_cast<PU_EMRTEXT>(emrText)));
    std::free(emrText);
}

void MetafileCanvas::TextOut(int x, int y, const QString& text)
{
    const QSize extent = TextExtent(text);
    WriteText(x, y, text, U_ETO_NONE, QRect(QPoint(x, y), extent));
    position_ = QPoint(x + extent.width(), y);
}

void MetafileCanvas::TextRect(const QRect& rect, int x, int y, const QString& text)
{
    WriteText(x, y, text, U_ETO_CLIPPED | (Brush.Style != TBrushStyle::bsClear ? U_ETO_OPAQUE : 0), rect);
}

int MetafileCanvas::DrawText(const QString& text, QRect& rect, unsigned flags)
{
    const QFontMetrics metrics(MeasureFont());
    const int lineHeight = LineHeight(metrics);
    const std::vector<TextLine> lines = text.isEmpty() ? std::vector<TextLine>() : LayoutText(text, rect.width(), flags, metrics);
    const int height = text.isEmpty() ? ((flags & dt::SingleLine) ? lineHeight : 0) : int(lines.size()) * lineHeight;
    if ((flags & dt::CalcRect) != 0) {
        int width = 0;
        for (const TextLine& line : lines)
            width = std::max(width, line.Width);
        rect.setWidth(width);
        rect.setHeight(height);
        return height;
    }
    int top = rect.top();
    if ((flags & dt::SingleLine) != 0) {
        if ((flags & dt::VCenter) != 0)
            top += (rect.height() - lineHeight) / 2;
        else if ((flags & dt::Bottom) != 0)
            top += rect.height() - lineHeight;
    }
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int y = top + int(i) * lineHeight;
        // An edit control shows no partly visible last line.
        if ((flags & dt::EditControl) != 0 && i > 0 && y + lineHeight > rect.top() + rect.height())
            break;
        int x = rect.left();
        if ((flags & dt::Center) != 0)
            x += (rect.width() - lines[i].Width) / 2;
        else if ((flags & dt::Right) != 0)
            x += rect.width() - lines[i].Width;
        if ((flags & dt::NoClip) != 0)
            WriteText(x, y, lines[i].Text, U_ETO_NONE, QRect(x, y, lines[i].Width, lineHeight));
        else
            WriteText(x, y, lines[i].Text, U_ETO_CLIPPED, rect);
    }
    return top - rect.top() + height;
}

QSize MetafileCanvas::TextExtent(const QString& text)
{
    const QFontMetrics metrics(MeasureFont());
    return QSize(metrics.horizontalAdvance(text), LineHeight(metrics));
}

void MetafileCanvas::SetWorldTransform(const QTransform& transform)
{
    transform_ = transform;
}

void MetafileCanvas::SetClipRegion(const QRegion& region)
{
    clip_ = region;
    QByteArray data;
    const QRect box = region.boundingRect();
    AppendU32(data, 32);
    AppendU32(data, 1); // rectangles
    AppendU32(data, std::uint32_t(region.rectCount()));
    AppendU32(data, std::uint32_t(region.rectCount() * 16));
    for (const int v : {box.left(), box.top(), box.right() + 1, box.bottom() + 1})
        AppendU32(data, std::uint32_t(v));
    for (const QRect& r : region)
        for (const int v : {r.left(), r.top(), r.right() + 1, r.bottom() + 1})
            AppendU32(data, std::uint32_t(v));
    Append(U_EMREXTSELECTCLIPRGN_set(U_RGN_COPY, reinterpret_cast<PU_RGNDATA>(data.data())));
}

void MetafileCanvas::ResetClipRegion()
{
    clip_.reset();
    // A copy without region data removes the clip; libUEMF only writes regions.
    if (finished_)
        return;
    AppendU32(out_, U_EMR_EXTSELECTCLIPRGN);
    AppendU32(out_, 16);
    AppendU32(out_, 0);
    AppendU32(out_, U_RGN_COPY);
    ++records_;
}

QRect MetafileCanvas::ClipRect() const
{
    const QRect surface(QPoint(0, 0), size_);
    const QRect box = clip_ ? clip_->boundingRect().intersected(surface) : surface;
    return ClipBoxInWorld(box, transform_);
}

void MetafileCanvas::Draw(int x, int y, const QImage& image)
{
    StretchDraw(QRect(QPoint(x, y), image.size()), image);
}

void MetafileCanvas::StretchDraw(const QRect& rect, const QImage& image)
{
    if (image.isNull())
        return;
    UseTransform();
    Dib dib = ImageToDib(image);
    Append(U_EMRSTRETCHDIBITS_set(RectL(rect.left(), rect.top(), rect.right(), rect.bottom()), PointL(rect.left(), rect.top()),
                                  PointL(rect.width(), rect.height()), PointL(0, 0), PointL(image.width(), image.height()),
                                  U_DIB_RGB_COLORS, U_SRCCOPY, reinterpret_cast<PU_BITMAPINFO>(dib.Info.data()),
                                  std::uint32_t(dib.Bits.size()), dib.Bits.data()));
}

TColor MetafileCanvas::Pixel(int, int) const
{
    return clWhite;
}

void MetafileCanvas::SetPixel(int, int, TColor)
{
}

} // namespace platform::picture
