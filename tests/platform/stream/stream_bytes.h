// Builds expected stream bytes from readable pieces.
#pragma once

#include <QByteArray>

#include <initializer_list>

namespace stream_test {

// A length byte and the text.
inline QByteArray Short(const QByteArray& text)
{
    return char(text.size()) + text;
}

inline QByteArray Raw(std::initializer_list<int> bytes)
{
    QByteArray out;
    for (int b : bytes)
        out.append(static_cast<char>(b));
    return out;
}

} // namespace stream_test
