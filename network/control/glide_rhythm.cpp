#include "network/control/glide_rhythm.h"

#include <QByteArray>

#include <cmath>
#include <limits>

namespace network {

namespace {

bool IsDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

// The length of the number at the start of text (after blanks), or the
// index of the first character that cannot continue it.
qsizetype ScanNumber(const QString& text, bool& complete)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text[i] == QLatin1Char(' '))
        ++i;
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
        ++i;
    bool digits = false;
    while (i < n && IsDigit(text[i])) {
        ++i;
        digits = true;
    }
    if (i < n && text[i] == QLatin1Char('.')) {
        ++i;
        while (i < n && IsDigit(text[i])) {
            ++i;
            digits = true;
        }
    }
    complete = digits;
    if (!digits)
        return i;
    if (i < n && (text[i] == QLatin1Char('e') || text[i] == QLatin1Char('E'))) {
        qsizetype j = i + 1;
        if (j < n && (text[j] == QLatin1Char('+') || text[j] == QLatin1Char('-')))
            ++j;
        if (j >= n || !IsDigit(text[j])) {
            complete = false;
            return j;
        }
        while (j < n && IsDigit(text[j]))
            ++j;
        i = j;
    }
    if (i != n)
        complete = false;
    return i;
}

} // namespace

std::optional<float> ParseRhythm(const QString& text, QString& message)
{
    bool complete = false;
    const qsizetype stop = ScanNumber(text, complete);
    if (!complete) {
        message = text + QStringLiteral("不是一个有效的实数，错误位置: ") + QString::number(stop + 1);
        return std::nullopt;
    }
    bool ok = false;
    const double value = text.trimmed().toLatin1().toDouble(&ok);
    if (ok && value <= 0.0) {
        message = QStringLiteral("流水节拍必须大于零");
        return std::nullopt;
    }
    if (!ok || !std::isfinite(value) || value > std::numeric_limits<float>::max() ||
        static_cast<float>(value) <= 0.0f) {
        message = QStringLiteral("流水节拍超出范围：") + text;
        return std::nullopt;
    }
    return static_cast<float>(value);
}

} // namespace network
