// Feeds arbitrary bytes to the component stream reader. Whatever it accepts
// must write back to a stream that reads and writes to the same bytes.
#include "sample_component.h"

#include "network/stream/component_reader.h"
#include "network/stream/component_writer.h"
#include "network/stream/stream_error.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool registered = (stream_test::RegisterSampleClasses(), true);
    (void)registered;
    try {
        const auto first = stream::ReadComponent(QByteArrayView(data, static_cast<qsizetype>(size)));
        const QByteArray written = stream::WriteComponent(*first);
        const auto second = stream::ReadComponent(written);
        if (stream::WriteComponent(*second) != written)
            std::abort();
    } catch (const stream::StreamError&) {
    }
    return 0;
}
