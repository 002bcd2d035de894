#include "network/control/network_file.h"

#include "network/control/network_records.h"

#include "platform/stream/class_registry.h"
#include "platform/stream/component_reader.h"
#include "platform/stream/component_writer.h"
#include "platform/stream/stream_error.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace network {

namespace {

thread_local platform::WindowServices* t_readServices = nullptr;

class ReadingOn {
public:
    explicit ReadingOn(platform::WindowServices& services) : m_previous(t_readServices) { t_readServices = &services; }
    ~ReadingOn() { t_readServices = m_previous; }
    ReadingOn(const ReadingOn&) = delete;
    ReadingOn& operator=(const ReadingOn&) = delete;

private:
    platform::WindowServices* m_previous;
};

std::unique_ptr<stream::StreamObject> CreateNetwork()
{
    if (!t_readServices)
        return nullptr;
    auto network = std::make_unique<TVYRNetwork>(*t_readServices);
    network->SetLoading(true);
    // The writer leaves out floats of 0.0, so a float the file omits was 0.0.
    network->SetStartDate(0.0);
    network->SetWorkLimit(0.0f);
    return network;
}

} // namespace

void RegisterNetworkClasses()
{
    stream::RegisterClass("TVYRNetwork", CreateNetwork);
    stream::RegisterClass("TLankPanel", [] { return std::make_unique<StoredLankPanel>(); });
}

std::unique_ptr<TVYRNetwork> ReadNetwork(QByteArrayView bytes, platform::WindowServices& services)
{
    RegisterNetworkClasses();
    const ReadingOn reading(services);
    std::unique_ptr<stream::StreamObject> root = stream::ReadComponent(bytes);
    auto* network = dynamic_cast<TVYRNetwork*>(root.get());
    if (!network)
        stream::ThrowInvalidFormat();
    root.release();
    std::unique_ptr<TVYRNetwork> result(network);
    result->FinishLoading();
    return result;
}

QByteArray WriteNetwork(const TVYRNetwork& network) { return stream::WriteComponent(network); }

std::unique_ptr<TVYRNetwork> OpenNetworkFile(const QString& path, platform::WindowServices& services)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw stream::StreamError(QStringLiteral("无法打开文件“%1”。").arg(QFileInfo(path).fileName()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        stream::ThrowReadError();
    return ReadNetwork(bytes, services);
}

void SaveNetworkFile(const QString& path, const TVYRNetwork& network)
{
    const QByteArray bytes = WriteNetwork(network);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw stream::StreamError(QStringLiteral("无法创建文件“%1”。").arg(QFileInfo(path).fileName()));
    if (file.write(bytes) != bytes.size() || !file.commit())
        stream::ThrowWriteError();
}

} // namespace network
