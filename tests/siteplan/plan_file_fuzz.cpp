// Reads arbitrary bytes as a plan file with the program's shape classes
// (and the test shapes). A plan that is accepted must paint, save, read
// back and save again to the same bytes, and copy and paste in full.
#include "siteplan/plane_map.h"

#include "platform/painter_canvas.h"
#include "platform/translated_canvas.h"
#include "tests/siteplan/test_shapes.h"
#include "tests/support/silent_services.h"

#include <QBuffer>
#include <QImage>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

bool Load(siteplan::TPlaneMap& map, const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return map.LoadPlan(buffer);
}

// Paints the plan, every shape selected, as a small window would show it:
// at the top-left of the sheet and at its far corner at 100 %, at its
// middle zoomed in to 1600 % and at the top-left zoomed out to 3 %, each
// through a clip rectangle of part of the window. The clip arithmetic then
// meets the same extremes as on the screen, while the few pixels keep a
// run short.
void PaintViews(siteplan::TPlaneMap& map)
{
    enum class Place { TopLeft, Middle, FarCorner };
    static QImage image(48, 32, QImage::Format_RGB32);
    map.SelectAll();
    const struct {
        int zoom;
        Place place;
    } views[] = {{100, Place::TopLeft}, {100, Place::FarCorner}, {1600, Place::Middle}, {3, Place::TopLeft}};
    for (const auto& view : views) {
        map.SetZoom(view.zoom);
        QPoint offset;
        if (view.place == Place::Middle)
            offset = QPoint(map.Width() / 2, map.Height() / 2);
        else if (view.place == Place::FarCorner)
            offset = QPoint(map.Width() - 40, map.Height() - 20);
        platform::PainterCanvas surface(image);
        surface.SetClipRegion(QRegion(5, 3, 30, 20));
        platform::TranslatedCanvas canvas(surface, -offset);
        map.Paint(canvas);
    }
    map.SetZoom(100);
}

QByteArray Save(const siteplan::TPlaneMap& map)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    map.SavePlan(buffer);
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    testshapes::RegisterTestShapes();
    support::SilentServices services(platform::MessageButton::Yes);
    siteplan::TPlaneMap map(services);
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (!Load(map, input))
        return 0;
    PaintViews(map);
    const QByteArray saved = Save(map);
    siteplan::TPlaneMap again(services);
    if (!Load(again, saved) || Save(again) != saved)
        std::abort();
    again.SelectAll();
    again.CopySelection();
    again.PasteSelection();
    if (again.MapComCount() != 2 * map.MapComCount())
        std::abort();
    return 0;
}
