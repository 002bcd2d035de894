#include "legend_library_file.h"

#include "platform/stream/component_reader.h"
#include "platform/stream/component_writer.h"
#include "platform/stream/stream_error.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace legends {

std::unique_ptr<TLegendFiles> LoadLegendLibrary(const QString& path)
{
    if (!QFileInfo::exists(path))
        return std::make_unique<TLegendFiles>();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw stream::StreamError(QStringLiteral("无法打开文件“%1”。").arg(QFileInfo(path).fileName()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        stream::ThrowReadError();

    RegisterLegendClasses();
    std::unique_ptr<stream::StreamObject> root = stream::ReadComponent(bytes);
    auto* library = dynamic_cast<TLegendFiles*>(root.get());
    if (!library)
        stream::ThrowInvalidFormat();
    root.release();
    return std::unique_ptr<TLegendFiles>(library);
}

void SaveLegendLibrary(const QString& path, const TLegendFiles& library)
{
    const QByteArray bytes = stream::WriteComponent(library);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw stream::StreamError(QStringLiteral("无法创建文件“%1”。").arg(QFileInfo(path).fileName()));
    if (file.write(bytes) != bytes.size() || !file.commit())
        stream::ThrowWriteError();
}

} // namespace legends
