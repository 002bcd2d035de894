// Ellipses of a one-pixel solid pen written straight into the image. The
// painter rasterizes an unturned ellipse of whole-pixel edges by stepping
// along its quarter from the top with a midpoint rule, row by row, and
// mirrors each row into the other quarters; it paints the fill first (a run
// between the outline's pixels on each row) and the outline after. The rows
// below are made by the same rule in the same arithmetic, so the pixels are
// the painter's without building a path or setting up its fill.
#include "painter_canvas.h"

#include "colors.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace platform {

namespace {

// Larger ellipses, or images, are left to the painter: its row arithmetic
// is exact only within this size.
constexpr int MostWrittenSide = 1 << 15;
// And so are ellipses farther from the origin.
constexpr int MostWrittenReach = 1 << 20;

// A run of pixels on one row, length pixels from x.
struct Run {
    int X;
    int Y;
    int Length;
};

// Calls row(y, x, length) for the steps of the quarter of an ellipse of
// box's size, top row first: x and y relative to the box's middle, length
// the pixels of the step along the row.
template <typename Row>
void QuarterSteps(const QRect& box, Row row)
{
    const double a = static_cast<double>(box.width()) / 2;
    const double b = static_cast<double>(box.height()) / 2;
    double d = b * b - (a * a * b) + 0.25 * a * a;
    int x = 0;
    int y = (box.height() + 1) / 2;
    int startX = x;
    // Where the curve is flatter than 45 degrees: several pixels per row.
    while (a * a * (2 * y - 1) > 2 * b * b * (x + 1)) {
        if (d < 0) {
            d += b * b * (2 * x + 3);
            ++x;
        } else {
            d += b * b * (2 * x + 3) + a * a * (-2 * y + 2);
            row(startX, y, x - startX + 1);
            startX = ++x;
            --y;
        }
    }
    row(startX, y, x - startX + 1);
    // Steeper: one pixel per row.
    d = b * b * (x + 0.5) * (x + 0.5) + a * a * ((y - 1) * (y - 1) - b * b);
    const int lowest = box.height() & 1;
    while (y > lowest) {
        if (d < 0) {
            d += b * b * (2 * x + 2) + a * a * (-2 * y + 3);
            ++x;
        } else {
            d += a * a * (-2 * y + 3);
        }
        --y;
        row(x, y, 1);
    }
}

// Calls put(run) for the runs of the whole ellipse in box: the fill between
// the outline's runs when fill is true, else the outline. The runs of a row
// mirrored below the middle are given after those above it.
template <typename Put>
void EllipseRuns(const QRect& box, bool fill, Put put)
{
    const int midX = box.x() + (box.width() + 1) / 2;
    const int midY = box.y() + (box.height() + 1) / 2;
    QuarterSteps(box, [&](int stepX, int stepY, int length) {
        if (length == 0)
            return;
        const int x = stepX + midX;
        const int top = midY - stepY;
        const int bottom = midY + (midY - top) - (box.height() & 1);
        const int leftX = midX + (midX - x) - (length - 1) - (box.width() & 1);
        const int leftLength = std::min(length, x - leftX);
        if (fill) {
            if (leftX + leftLength >= x)
                return;
            const int from = leftX + leftLength - 1;
            const Run run{from, top, std::max(0, x - from)};
            put(run);
            if (top < bottom)
                put(Run{from, bottom, run.Length});
            return;
        }
        put(Run{leftX, top, leftLength});
        put(Run{x, top, length});
        if (top < bottom) {
            put(Run{leftX, bottom, leftLength});
            put(Run{x, bottom, length});
        }
    });
}

} // namespace

bool PainterCanvas::WriteEllipse(int left, int top, int right, int bottom)
{
    const bool solidPen = Pen.Style == TPenStyle::psSolid || Pen.Style == TPenStyle::psInsideFrame;
    if ((!solidPen && Pen.Style != TPenStyle::psClear) || !CanStamp() || DevicePenWidth() != 1)
        return false;
    if (std::max({std::abs(std::int64_t{left}), std::abs(std::int64_t{top}), std::abs(std::int64_t{right}),
                  std::abs(std::int64_t{bottom})}) > MostWrittenReach)
        return false;
    QImage& target = *TargetImage();
    if (target.width() > MostWrittenSide || target.height() > MostWrittenSide ||
        std::max(std::abs(static_cast<std::int64_t>(right) - left), std::abs(static_cast<std::int64_t>(bottom) - top)) >
            MostWrittenSide)
        return false;
    // The painter takes a figure of no width or height another way.
    const QRectF figure = FigureRect(left, top, right, bottom);
    if (figure.width() <= 0 || figure.height() <= 0)
        return false;
    const QRect box(static_cast<int>(figure.x() + world_.dx()), static_cast<int>(figure.y() + world_.dy()),
                    static_cast<int>(figure.width()), static_cast<int>(figure.height()));
    const QColor pen = ToQColor(Pen.Color);
    const QColor brush = ToQColor(Brush.Color);
    if (pen.alpha() != 255 || brush.alpha() != 255)
        return false;
    const RowWriter rows = Rows();
    const auto write = [&rows](QRgb color) {
        return [&rows, color](const Run& run) { rows(run.Y, run.X, run.X + run.Length - 1, color); };
    };
    if (Brush.Style == TBrushStyle::bsSolid)
        EllipseRuns(box, true, write(brush.rgba()));
    if (Pen.Style != TPenStyle::psClear)
        EllipseRuns(box, false, write(pen.rgba()));
    return true;
}

} // namespace platform
