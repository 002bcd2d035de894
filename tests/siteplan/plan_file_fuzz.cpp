// Reads arbitrary bytes as a plan file with the program's shape classes
// (and the test shapes). A plan that is accepted must paint, save, read
// back and save again to the same bytes, and copy and paste in full.
#include "siteplan/plane_map.h"

#include "platform/painter_canvas.h"
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
    map.SelectAll();
    QImage image(320, 240, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        platform::PainterCanvas canvas(image);
        map.Paint(canvas);
    }
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
