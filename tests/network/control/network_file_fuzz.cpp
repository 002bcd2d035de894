// Feeds arbitrary bytes to the network file reader. A file it accepts must
// paint, save, open again and save to the same bytes.
#include "network/control/network_file.h"

#include "platform/painter_canvas.h"
#include "platform/stream/stream_error.h"

#include <QImage>

#include <cstdlib>

namespace {

class QuietServices : public platform::WindowServices {
public:
    platform::MessageButton MessageBox(const QString&, platform::MessageIcon, platform::MessageButtons,
                                       const QString&) override
    {
        return platform::MessageButton::Ok;
    }
    void SetCursor(int) override {}
    void InvalidateRect(const QRect&) override {}
    void Invalidate() override {}
    void CaptureMouse() override {}
    void ReleaseMouse() override {}
    void ClipCursor(const QRect&) override {}
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QuietServices services;
    std::unique_ptr<network::TVYRNetwork> net;
    try {
        net = network::ReadNetwork(QByteArrayView(data, static_cast<qsizetype>(size)), services);
    } catch (const stream::StreamError&) {
        return 0;
    }
    // Large networks are accepted but painting them is not what this
    // target looks at.
    if (net->Nodes().Count() + net->Works().Count() <= 64) {
        QImage image(320, 240, QImage::Format_RGB32);
        platform::PainterCanvas canvas(image);
        net->SetCanvas(&canvas);
        net->Paint();
        net->SetCanvas(nullptr);
    }
    const QByteArray first = network::WriteNetwork(*net);
    const QByteArray second = network::WriteNetwork(*network::ReadNetwork(first, services));
    if (first != second)
        std::abort();
    return 0;
}
