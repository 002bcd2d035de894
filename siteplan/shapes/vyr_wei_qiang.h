// The enclosure wall (MapID 101): a polyline of up to 100 clicked points
// with short ticks standing at right angles on its left side (as drawn),
// one every 10 pixels of its length.
#pragma once

#include "point_list_map_com.h"

#include <cstdint>
#include <vector>

namespace siteplan {

// The ticks of a wall kept between paints (see DrawTicks): made again only
// when the screen points or the pen width differ from those they were made
// for. A wall of more ticks than are worth keeping draws them as
// DrawTicks does, only those near the visible area.
class TKeptTicks {
public:
    void Draw(platform::Canvas& canvas, std::span<const QPoint> points, int tickLength, int spacing);

private:
    std::vector<QPoint> points_;
    int pen_ = -1;
    int tickLength_ = 0;
    int spacing_ = 0;
    // Set when ends_ holds every tick of the wall, and their frame.
    bool whole_ = false;
    std::vector<QPoint> ends_;
    QRect frame_;
};

class TVYRWeiQiang : public TPointListMapCom {
public:
    static constexpr int Kind = 101;
    static constexpr int TickLength = 5;
    static constexpr int TickSpacing = 10;

    TVYRWeiQiang(TPlaneMap* map, std::span<const QPoint> points);

    // The line and its ticks in the shape's pen; selected, red not-XOR.
    void Draw(platform::Canvas& canvas, std::uint8_t mode) override;
    // The pen dialog with its own caption.
    void EditProperty() override;
    // Base record, pen, LineType (2 bytes), point count and points.
    void SaveToStream(QDataStream& stream) const override;
    void LoadFromStream(QDataStream& stream) override;
    // Room for the ticks, which stand beyond the vertices' frame.
    int GetPaintMargin() const override;

    // Kept and stored; nothing draws or edits by it. The setter fires
    // Changed when the value differs.
    std::uint16_t LineType() const { return FLineType; }
    void SetLineType(std::uint16_t value);

private:
    std::uint16_t FLineType = 0;
    TKeptTicks ticks_;
};

// Ticks along points (screen pixels, unrotated): one every spacing pixels
// of path length from the start, the count carried across vertices, each
// tickLength plus the pen's width long and standing to the left of the
// drawing direction as seen on the screen. A pen wider than 1024 pixels
// counts as 1024. Only the ticks near the canvas's clip area are drawn, so
// a wall far off the sheet or a long wall at a high zoom costs no more than
// its visible part.
void DrawTicks(platform::Canvas& canvas, std::span<const QPoint> points, int tickLength, int spacing);

} // namespace siteplan
