#include "vyr_line.h"

#include "siteplan/plan_records.h"
#include "siteplan/plane_map.h"
#include "siteplan/shape_property_editor.h"
#include "siteplan/word_line.h"

#include <algorithm>
#include <cmath>

namespace siteplan {

TVYRLine::TVYRLine(TPlaneMap* map, std::span<const QPoint> points) : TPointListMapCom(map, points)
{
    MapID = Kind;
}

void TVYRLine::SetShowWord(const QString& value)
{
    if (value == FShowWord.Text())
        return;
    FShowWord.SetText(value);
    Changed();
}

void TVYRLine::Draw(platform::Canvas& canvas, std::uint8_t mode)
{
    if (PointCount() == 0)
        return;
    TVyrMapCom::Draw(canvas, mode);
    const std::vector<QPoint> screen = ScreenPoints();
    SetDrawPen(canvas, mode);
    if (!FShowWord.Bytes().isEmpty())
        DrawWordLine(canvas, screen, WordGap, FShowWord.Text());
    else
        canvas.Polyline(screen);
}

int TVYRLine::GetPaintMargin() const
{
    const int margin = GetSelectMargin();
    if (FShowWord.Bytes().isEmpty() || !PlaneMap())
        return margin;
    // The label is 10 point text: no character is wider than the em, and a
    // copy stands up to its height beside the line and up to its width past
    // an inner vertex.
    const std::int64_t em = static_cast<std::int64_t>(std::ceil(10.0 * PlaneMap()->PixelsPerInch() / 72));
    const std::int64_t reach = em * (FShowWord.Text().size() + 2) + margin;
    return static_cast<int>(std::max<std::int64_t>(margin, std::min<std::int64_t>(reach, 1 << 20)));
}

void TVYRLine::EditProperty()
{
    TShapePropertyEditor* editor = PropertyEditor();
    QString word = ShowWord();
    if (!editor || !editor->EditLine(OwnPen, word))
        return;
    SetShowWord(word);
    PropertiesEdited();
}

void TVYRLine::SaveToStream(QDataStream& stream) const
{
    TVyrMapCom::SaveToStream(stream);
    WritePen(stream, OwnPen);
    WriteString(stream, FShowWord);
    WritePointList(stream);
}

void TVYRLine::LoadFromStream(QDataStream& stream)
{
    TVyrMapCom::LoadFromStream(stream);
    ReadPen(stream, OwnPen);
    platform::StoredText word;
    ReadString(stream, word);
    if (stream.status() != QDataStream::Ok)
        return;
    FShowWord = word;
    ReadPointList(stream);
}

} // namespace siteplan
