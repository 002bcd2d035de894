// The text (MapID 7): a block of multi-line text inside a box of two world
// corners, drawn with a font and alignments, filled with a brush and
// optionally framed with the pen. A box shape for its corners, handles,
// moving and size readout; its own matter is the layout of the text, which
// decides both what is drawn and where a press selects the text. The text
// dialog opens as soon as the box is drawn.
#pragma once

#include "box_map_com.h"

#include "siteplan/map_brush.h"
#include "siteplan/text_show_set.h"

#include "platform/gbk_text.h"

namespace siteplan {

class TVyrText : public TBoxMapCom {
public:
    static constexpr int Kind = 7;
    // Font sizes in points that layout and drawing use: a stored size
    // outside this range (a damaged file's) is kept but laid out and drawn
    // at the nearest end.
    static constexpr int MinFontSize = 1;
    static constexpr int MaxFontSize = 1000;

    // Pen, brush and text appearance are copies of the map's defaults; the
    // frame is shown and the text empty.
    TVyrText(TPlaneMap* map, std::span<const QPoint> points);

    // Inside the laid-out text (unrotated), or on the outline of the box.
    bool HitTest(QPoint p) const override;
    // The box filled with the brush (framed with the pen when ShowOutRect,
    // not-XOR when selected), then the text.
    void Draw(platform::Canvas& canvas, std::uint8_t mode) override;
    // Inside the outline of an unturned box with a solid brush: the text
    // is drawn over the box's own fill.
    TOpaqueAreas OpaqueAreas() const override;
    // The text dialog; on OK the text and the frame switch are stored and
    // the plan marked modified.
    void EditProperty() override;
    // The corners become top-left and bottom-right, as the record holds them.
    void EndMovePoint() override;
    // Normalises the corners, then opens the text dialog.
    void AfterCreate() override;
    // Base record, pen, brush, text appearance, the normalised corners,
    // ShowOutRect (Int32) and the text (string record). Saving does not
    // change the shape.
    void SaveToStream(QDataStream& stream) const override;
    void LoadFromStream(QDataStream& stream) override;

    // The screen rectangle the text occupies, unrotated, within the box
    // (less the pen width when framed). An empty text takes the room of
    // one "字". Right or Bottom at or before Left or Top: no room at all.
    TRect LayoutText() const;
    // Draws Text into LayoutText with the zoomed font.
    void DrawTextContent(platform::Canvas& canvas) const;

    // Setters fire Changed when the value differs; a text read from a file
    // keeps its bytes until it is changed.
    bool ShowOutRect() const { return FShowOutRect; }
    void SetShowOutRect(bool value);
    QString Text() const { return FText.Text(); }
    void SetText(const QString& value);

    TMapBrush OwnBrush;
    TTextShowSet OwnTextShow;

private:
    // What the text measures in the font (at its laid-out size) wrapped
    // within a box width: its width and height, the last empty line
    // counted. Kept for the next call with the same inputs, since every
    // paint and every press on the plan asks for it.
    QSize MeasureText(const platform::TFont& font, std::int64_t boxWidth) const;
    // The stored font size held within MinFontSize..MaxFontSize.
    int FontSize() const;
    // The DrawText alignment flag of HorzAlign: left for any value but 1, 2.
    unsigned AlignFlag() const;

    bool FShowOutRect = true;
    platform::StoredText FText;

    struct TMeasured {
        platform::TFont Font;
        int PixelsPerInch = 0;
        std::int64_t BoxWidth = 0;
        unsigned Align = 0;
        QByteArray Text;
        QSize Extent;
        bool Valid = false;
    };
    mutable TMeasured FMeasured;
};

} // namespace siteplan
