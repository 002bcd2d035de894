#include "word_line.h"

#include "segment_geometry.h"

#include "platform/numbers.h"

#include <algorithm>
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
    const int height = canvas.TextHeight(word);
    const int half = height / 2;
    const std::int64_t period = wd + gap;
    // Drawing farther than this from the visible area cannot reach it. A
    // pen wider than any plan uses (a damaged file's) counts as 1024 pixels,
    // so that it cannot make every piece of a long line worth drawing.
    const std::int64_t penReach = std::clamp(canvas.Pen.Width, 0, 1024);
    const std::int64_t reach = std::min<std::int64_t>(wd + height + penReach + 2, 1 << 20);
    const TVisibleArea visible = VisibleArea(canvas, reach);
    // Where the rhythm stands at a vertex: positive, the line still to draw
    // before the next word; negative, the part of a word that overhangs.
    std::int64_t carry = 0;
    if (points.size() < 2 || period <= 0)
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
        // Half the word's height to the left of the line, held within int
        // for a line at the end of the range.
        const QPoint origin(
            platform::SaturateInt(std::int64_t{a.x()} + platform::RoundInt(std::cos(theta + pi / 2) * half)),
            platform::SaturateInt(std::int64_t{a.y()} - platform::RoundInt(std::sin(theta + pi / 2) * half)));
        // Copy k covers [period k - wd - carry, period k - carry] along the
        // segment, line between the copies. The segment ends with copy
        // kEnd: either line from the end of copy kEnd - 1 to b (a copy that
        // would reach the end, or whose line piece does), or copy kEnd
        // itself overhanging b.
        const auto pieceEnd = [&](std::int64_t k) { return period * k - wd - carry; };
        const auto wordEnd = [&](std::int64_t k) { return period * k - carry; };
        std::int64_t kLine = CeilDiv(len + wd + carry, period);
        if (last)
            kLine = std::min(kLine, CeilDiv(len + carry, period));
        kLine = std::max<std::int64_t>(1, kLine);
        const std::int64_t kWord = std::max<std::int64_t>(1, CeilDiv(len + carry + 1, period));
        // The line is tried first: it wins when both end the segment.
        const bool endsInLine = kLine <= kWord;
        const std::int64_t kEnd = std::min(kLine, kWord);

        // Only the copies and pieces where the line runs through the
        // visible area are drawn: whatever they draw stays within the
        // area's reach of the line.
        std::int64_t seenFrom = 0;
        std::int64_t seenTo = 0;
        if (CrossingStretch(visible, a, theta, seenFrom, seenTo)) {
            const std::int64_t kFrom = std::max<std::int64_t>(1, FloorDiv(seenFrom + carry, period) + 1);
            QPoint start = carry >= 0 ? a : Along(a, theta, -carry);
            if (kFrom > 1)
                start = Along(a, theta, wordEnd(kFrom - 1));
            for (std::int64_t k = kFrom; k <= kEnd; ++k) {
                if (std::max<std::int64_t>(0, wordEnd(k - 1)) > seenTo)
                    break;
                if (k == kEnd && endsInLine) {
                    Line(canvas, start, b);
                    break;
                }
                Line(canvas, start, Along(a, theta, pieceEnd(k)));
                start = Along(a, theta, wordEnd(k));
                const QPoint at = Along(origin, theta, pieceEnd(k));
                canvas.TextOut(at.x(), at.y(), word);
            }
        }
        carry = endsInLine ? len - pieceEnd(kEnd) + gap : len - wordEnd(kEnd);
        a = b;
    }
    SetFontAngle(canvas.Font, 0);
}

} // namespace siteplan
