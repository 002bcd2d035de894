// Feeds arbitrary bytes to the network file reader. A file it accepts must
// paint, save, open again and save to the same bytes.
#include "network/control/network_file.h"

#include "platform/recording_canvas.h"
#include "platform/stream/stream_error.h"

#include "tests/support/generated_networks.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    generated::SilentServices services;
    std::unique_ptr<network::TVYRNetwork> net;
    try {
        net = network::ReadNetwork(QByteArrayView(data, static_cast<qsizetype>(size)), services);
    } catch (const stream::StreamError&) {
        return 0;
    }
    // Painting goes through the recording canvas: the same drawing code,
    // without rasterising, so the fuzzer stays fast.
    {
        platform::RecordingCanvas canvas(QSize(320, 240));
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
