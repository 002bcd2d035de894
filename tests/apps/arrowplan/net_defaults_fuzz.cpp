// Reads arbitrary bytes as the drawing defaults file, for a new network and
// for the defaults dialog, applies the values to a network and checks the
// bounds the reader promises.
#include "apps/arrowplan/net_defaults.h"

#include "platform/ini_file.h"

#include "tests/support/generated_networks.h"

#include <QDir>
#include <QFile>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <unistd.h>

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const QString path = QDir::temp().filePath(QStringLiteral("net_defaults_fuzz_%1.ini").arg(getpid()));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return 0;
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    const platform::IniFile ini(path);
    for (const auto reader : {arrowplan::TNetDefaultsReader::Network, arrowplan::TNetDefaultsReader::Dialog}) {
        const arrowplan::TNetDefaults d = arrowplan::ReadNetDefaults(ini, reader);
        Check(d.SmallLineSpace >= 1 && d.SmallLineSpace <= arrowplan::kNetDefaultMaximum);
        Check(d.SmallWidth >= 1 && d.SmallDate >= 1);
        Check(d.CapFont.Size >= 1 && d.CapFont.Size <= 500 && !d.CapFont.Name.isEmpty());
        generated::SilentServices services;
        network::TVYRNetwork net(services);
        arrowplan::ApplyNetDefaults(net, d);
    }
    QFile::remove(path);
    return 0;
}
