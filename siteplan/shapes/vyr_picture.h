// The picture (MapID 8): a graphic (bitmap, icon, metafile or JPEG image)
// stretched into a box between two corners, with an optional frame in the
// shape's pen. Drawn as a box whose picture file is asked for afterwards,
// or placed by one click as a legend symbol, whose box takes the legend
// picture's own pixel size and whose frame is not drawn. Only the frame
// hits, also where it is not drawn.
//
// The corners are normalised when drawing or a handle drag ends, so that
// the handles stand where the record (which holds the normalised box) puts
// them.
#pragma once

#include "box_map_com.h"

#include "platform/picture/picture.h"

namespace siteplan {

class TVyrPicture : public TBoxMapCom {
public:
    static constexpr int Kind = 8;
    // Longest graphic class name a record holds.
    static constexpr int MaxClassNameLength = 63;

    // A framed box without a graphic; ShowOutRect and Stretch on.
    TVyrPicture(TPlaneMap* map, std::span<const QPoint> points);
    // A legend symbol: a copy of legend, its box from the first creation
    // point over the picture's pixel size, no frame.
    TVyrPicture(TPlaneMap* map, std::span<const QPoint> points, const platform::TPicture& legend);

    bool HitTest(QPoint p) const override;
    // The graphic stretched over the box (Stretch is not consulted), then
    // the frame when ShowOutRect, in the pen's own colour also when
    // selected.
    void Draw(platform::Canvas& canvas, std::uint8_t mode) override;
    // An unturned image without transparency covers its whole box; the
    // area is kept a pixel inside the box's edges.
    TOpaqueAreas OpaqueAreas() const override;
    // The picture dialog: pen, picture and frame switch.
    void EditProperty() override;
    // One click for a picture with a graphic (a legend symbol), else two.
    int GetMaxPoints() const override;
    // Base record, pen, the normalised box, ShowOutRect and Stretch as
    // Int16, then the graphic: class name (length byte and text), size
    // Int32 and that many bytes; a name of length 0 has nothing after it.
    void SaveToStream(QDataStream& stream) const override;
    // A graphic size beyond the bytes left or below 0, or a class name that
    // is none of the four, refuses the record.
    void LoadFromStream(QDataStream& stream) override;
    // Normalises the corners; without a graphic asks for a picture file.
    // A file that cannot be read is reported and the frame stays empty.
    void AfterCreate() override;
    void EndMovePoint() override;

    platform::TPicture Picture;
    bool ShowOutRect = true;
    bool Stretch = true;
};

// The graphic part of a picture record (class name, size, data).
void WriteGraphic(QDataStream& stream, const platform::TPicture& picture);
void ReadGraphic(QDataStream& stream, platform::TPicture& picture);

} // namespace siteplan
