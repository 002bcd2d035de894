// Reads arbitrary bytes as a settings file, then reads, edits and saves it.
#include "platform/ini_file.h"

#include <QDir>
#include <QFile>
#include <cstddef>
#include <cstdint>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const QString path = QDir::temp().filePath(QStringLiteral("ini_file_fuzz_%1.ini").arg(getpid()));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return 0;
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    platform::IniFile ini(path);
    const QStringList sections = {QStringLiteral("OpenFile"), QStringLiteral("A"), QString()};
    for (const QString& section : sections) {
        for (const QString& key : ini.ReadSection(section)) {
            ini.ReadString(section, key, QString());
            ini.ReadInteger(section, key, 0);
        }
        ini.WriteString(section, QStringLiteral("File0"), QStringLiteral("x"));
        ini.DeleteKey(section, QStringLiteral("File1"));
    }
    ini.EraseSection(QStringLiteral("A"));
    ini.UpdateFile();
    QFile::remove(path);
    return 0;
}
