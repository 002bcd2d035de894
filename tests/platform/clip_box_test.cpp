#include "platform/clip_box.h"
#include "platform/recording_canvas.h"

#include <gtest/gtest.h>

#include <limits>

using platform::ClipBoxInWorld;

namespace {

constexpr int Min = std::numeric_limits<int>::min();
constexpr int Max = std::numeric_limits<int>::max();

TEST(ClipBoxInWorld, OrdinaryTransformsAndThoseReachingPastTheIntRange)
{
    const QRect box(5, 3, 30, 20);
    QTransform turned;
    turned.rotate(90);
    const struct {
        const char* name;
        QTransform world;
        QRect expected;
    } cases[] = {
        {"identity", QTransform(), box},
        {"shifted", QTransform::fromTranslate(-100, 40), QRect(105, -37, 30, 20)},
        {"zoomed", QTransform::fromScale(2, 2), QRect(3, 2, 15, 10)},
        {"turned", turned, QRect(3, -35, 20, 30)},
        {"not invertible", QTransform::fromScale(0, 1), box},
        // The far corner of a view whose sheet reaches the int limit: the
        // box is cut at the limit instead of wrapping round to its other end.
        {"past the upper limit", QTransform::fromTranslate(-100, -(Max - 10.0)),
         QRect(QPoint(105, Max - 7), QPoint(134, Max))},
        {"past the lower limit", QTransform::fromTranslate(10.0 - Min, 0), QRect(QPoint(Min, 3), QPoint(Min + 24, 22))},
        {"shrunk past both", QTransform(1e-9, 0, 0, 1e-9, 20, 13), QRect(QPoint(Min, Min), QPoint(Max, Max))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QRect mapped = ClipBoxInWorld(box, c.world);
        EXPECT_EQ(mapped.topLeft(), c.expected.topLeft());
        EXPECT_EQ(mapped.bottomRight(), c.expected.bottomRight());
    }
}

TEST(ClipBoxInWorld, IsWhatCanvasesReport)
{
    platform::RecordingCanvas canvas(QSize(48, 32));
    canvas.SetClipRegion(QRegion(5, 3, 30, 20));
    canvas.SetWorldTransform(QTransform::fromTranslate(0, -(Max - 10.0)));
    EXPECT_EQ(canvas.ClipRect().top(), Max - 7);
    EXPECT_EQ(canvas.ClipRect().bottom(), Max);
}

} // namespace
