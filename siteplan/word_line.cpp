#include "word_line.h"

#include "segment_geometry.h"

#include "platform/numbers.h"

#include <cmath>
#include <cstdint>
#include <numbers>

namespace siteplan {

namespace {

// The point at distance t from origin along the direction theta (radians,
// counter-clockwise on the screen).
QPoint Along(QPoint origin, double theta, std::int64_t t)
{
    const double d = static_cast<double>(t);
    return {platform::RoundInt(origin.x() + static_cast<double>(platform::Round(std::cos(theta) * d))),
            platform::RoundInt(origin.y() - static_cast<double>(platform::Round(std::sin(theta) * d)))};
}

void Line(platform::Canvas& canvas, QPoint from, QPoint to)
{
    canvas.MoveTo(from.x(), from.y());
    canvas.LineTo(to.x(), to.y());
}

} // namespace

void DrawWordLine(platform::Canvas& canvas, std::span<const QPoint> points, int gap, const QString& word)
{
    constexpr double pi = std::numbers::pi;
    canvas.Font = platform::TFont{};
    canvas.Font.Name = QStringLiteral("宋体");
    canvas.Font.Size = 10;
    canvas.Font.Color = platform::clBackground;
    canvas.Brush.Style = platform::TBrushStyle::bsClear;
    const std::int64_t wd = canvas.TextWidth(word);
    const int half = canvas.TextHeight(word) / 2;
    // Where the rhythm stands at a vertex: positive, the line still to draw
    // before the next word; negative, the part of a word that overhangs.
    std::int64_t carry = 0;
    if (points.size() < 2)
        return;
    QPoint a = points[0];
    for (std::size_t i = 1; i < points.size(); ++i) {
        const QPoint b = points[i];
        if (a == b)
            continue;
        const bool last = i + 1 == points.size();
        const double dx = static_cast<double>(b.x()) - a.x();
        const double dy = static_cast<double>(b.y()) - a.y();
        const std::int64_t len = platform::Round(std::sqrt(dx * dx + dy * dy));
        const double theta = SegmentAngle(a, b);
        SetFontAngle(canvas.Font, static_cast<int>(platform::Round(platform::Round(theta * 180 / pi) * 10.0)));
        QPoint start = carry >= 0 ? a : Along(a, theta, -carry);
        const QPoint origin(a.x() + platform::RoundInt(std::cos(theta + pi / 2) * half),
                            a.y() - platform::RoundInt(std::sin(theta + pi / 2) * half));
        for (std::int64_t k = 1;; ++k) {
            const std::int64_t pieceEnd = (wd + gap) * k - wd - carry;
            const std::int64_t wordEnd = pieceEnd + wd;
            if (pieceEnd >= len || (last && wordEnd >= len)) {
                Line(canvas, start, b);
                carry = len - pieceEnd + gap;
                break;
            }
            Line(canvas, start, Along(a, theta, pieceEnd));
            start = Along(a, theta, wordEnd);
            const QPoint at = Along(origin, theta, pieceEnd);
            canvas.TextOut(at.x(), at.y(), word);
            if (wordEnd > len) {
                carry = len - wordEnd;
                break;
            }
        }
        a = b;
    }
    SetFontAngle(canvas.Font, 0);
}

} // namespace siteplan
