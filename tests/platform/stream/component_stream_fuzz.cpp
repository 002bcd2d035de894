// Feeds arbitrary bytes to the component stream reader. Whatever it accepts
// is written and read again; from then on writing and reading must be
// stable. (The first pass may change bytes: a stored empty text, for one,
// is not written and reads back as the constructor's value.)
#include "sample_component.h"

#include "platform/stream/component_reader.h"
#include "platform/stream/component_writer.h"
#include "platform/stream/stream_error.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool registered = (stream_test::RegisterSampleClasses(), true);
    (void)registered;
    try {
        const auto first = stream::ReadComponent(QByteArrayView(data, static_cast<qsizetype>(size)));
        const auto second = stream::ReadComponent(stream::WriteComponent(*first));
        const QByteArray written = stream::WriteComponent(*second);
        if (stream::WriteComponent(*stream::ReadComponent(written)) != written)
            std::abort();
    } catch (const stream::StreamError&) {
    }
    return 0;
}
