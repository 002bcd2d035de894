// Feeds arbitrary bytes to the legend library reader, pictures included.
#include "siteplan/legends/legend_files.h"

#include "platform/stream/component_reader.h"
#include "platform/stream/stream_error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool registered = (legends::RegisterLegendClasses(), true);
    (void)registered;
    try {
        stream::ReadComponent(QByteArrayView(data, static_cast<qsizetype>(size)));
    } catch (const stream::StreamError&) {
    }
    return 0;
}
