// The network as a picture: the time-scaled diagram into a bitmap or an
// enhanced metafile, and the bar chart with its table of works into a
// bitmap, at a zoom percent. Sizes are computed in 64 bits; a picture of no
// size or one too large to allocate is refused with a message and nothing
// is drawn. The view settings the drawing changes (the first time shown
// and the top row) are restored on every path.
#pragma once

#include "network/control/vyr_network.h"

#include "platform/picture/picture.h"

#include <QImage>

#include <cstdint>

namespace network {

// The largest side and the largest pixel count a picture may have.
inline constexpr std::int64_t kMaxPictureSide = 32767;
inline constexpr std::int64_t kMaxPicturePixels = std::int64_t{1} << 28;

// The bar chart's size at 100 percent; the diagram's is the control's
// BitMapWidth and BitMapHeight.
std::int64_t hBitMapWidth1(TVYRNetwork& network);
std::int64_t BitMapHeight1(TVYRNetwork& network);

// The picture size at a percent: each side Percent * side / 100, truncated.
QSize PictureSize(std::int64_t width, std::int64_t height, int percent);

// Each returns false, after the message, when the picture cannot be made.
bool DrawToBitmap(TVYRNetwork& network, QImage& bitmap, int percent);
bool DrawToMetafile(TVYRNetwork& network, platform::TPicture& metafile, int percent);
bool DrawBarChartToBitmap(TVYRNetwork& network, QImage& bitmap, int percent);

} // namespace network
