// The polyline (MapID 1): up to 100 clicked points joined by straight
// segments in the shape's pen. With a label (ShowWord) it is a labelled
// line: the word written again and again along it, turned to each segment.
#pragma once

#include "point_list_map_com.h"

#include "platform/gbk_text.h"

namespace siteplan {

class TVYRLine : public TPointListMapCom {
public:
    static constexpr int Kind = 1;
    // Pixels of line between the copies of the label.
    static constexpr int WordGap = 50;

    TVYRLine(TPlaneMap* map, std::span<const QPoint> points);

    void Draw(platform::Canvas& canvas, std::uint8_t mode) override;
    // The line dialog (pen and label); on OK the label is stored and the
    // plan marked modified.
    void EditProperty() override;
    // Base record, pen, label (string record), point count and points.
    void SaveToStream(QDataStream& stream) const override;
    void LoadFromStream(QDataStream& stream) override;
    // With a label: room for the copies beside the line and past its
    // vertices.
    int GetPaintMargin() const override;

    // "" draws a plain polyline. The setter fires Changed when the text
    // differs; the bytes read from a file are kept until then.
    QString ShowWord() const { return FShowWord.Text(); }
    void SetShowWord(const QString& value);

private:
    platform::StoredText FShowWord;
};

} // namespace siteplan
