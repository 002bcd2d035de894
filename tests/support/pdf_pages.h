// The number of pages of a PDF file the Qt printer wrote (its page objects
// are stored uncompressed); -1 when the file cannot be read.
#pragma once

#include <QFile>
#include <QRegularExpression>
#include <QString>

inline int PdfPageCount(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QString text = QString::fromLatin1(file.readAll());
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![a-zA-Z])"));
    int count = 0;
    for (auto it = page.globalMatch(text); it.hasNext(); it.next())
        ++count;
    return count;
}
