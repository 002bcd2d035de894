// Reads arbitrary bytes as a plan file with the program's shape classes
// (and the test shapes). A plan that is accepted must paint, save, read
// back and save again to the same bytes, and copy and paste in full.
#include "siteplan/plane_map.h"

#include "platform/painter_canvas.h"
#include "platform/translated_canvas.h"
#include "tests/siteplan/test_shapes.h"

#include <QBuffer>
#include <QImage>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

class QuietServices : public platform::WindowServices {
public:
    platform::MessageButton MessageBox(const QString&, platform::MessageIcon, platform::MessageButtons buttons,
                                       const QString&) override
    {
        return buttons.testFlag(platform::MessageButton::Yes) ? platform::MessageButton::Yes
                                                              : platform::MessageButton::Ok;
    }
    void SetCursor(int) override {}
    void InvalidateRect(const QRect&) override {}
    void Invalidate() override {}
    void CaptureMouse() override {}
    void ReleaseMouse() override {}
    void ClipCursor(const QRect&) override {}
};

bool Load(siteplan::TPlaneMap& map, const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return map.LoadPlan(buffer);
}

// Paints the plan, every shape selected, as a small window would show it:
// at a few zooms, each time at the top-left of the sheet, its middle and
// its far corner, and through a clip rectangle of part of the window. The
// clip arithmetic then meets the same extremes as on the screen, while the
// few pixels keep a run short.
void PaintViews(siteplan::TPlaneMap& map)
{
    static QImage image(48, 32, QImage::Format_RGB32);
    map.SelectAll();
    for (const int zoom : {100, 3, 1600}) {
        map.SetZoom(zoom);
        const QPoint offsets[] = {{0, 0}, {map.Width() / 2, map.Height() / 2}, {map.Width() - 40, map.Height() - 20}};
        for (const QPoint offset : offsets) {
            platform::PainterCanvas surface(image);
            surface.SetClipRegion(QRegion(5, 3, 30, 20));
            platform::TranslatedCanvas canvas(surface, -offset);
            map.Paint(canvas);
        }
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
    QuietServices services;
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
