#include "common/printer_metrics.h"

#include "common/length_units.h"

#include "platform/numbers.h"

namespace common {

TPrinterCaps CapsOfSheet(int widthTenthMM, int heightTenthMM, int resolution, int stripTenthMM,
                         TPrinterOrientation orientation)
{
    if (orientation == TPrinterOrientation::poLandscape)
        SwapInt(widthTenthMM, heightTenthMM);
    const auto px = [&](int v) { return ConvertLength(v, resolution, luTenthMM, luPixels); };
    TPrinterCaps caps;
    caps.LogPixelsX = resolution;
    caps.LogPixelsY = resolution;
    caps.PhysicalWidth = px(widthTenthMM);
    caps.PhysicalHeight = px(heightTenthMM);
    caps.PhysicalOffsetX = px(stripTenthMM);
    caps.PhysicalOffsetY = px(stripTenthMM);
    caps.PageWidth = caps.PhysicalWidth - 2 * caps.PhysicalOffsetX;
    caps.PageHeight = caps.PhysicalHeight - 2 * caps.PhysicalOffsetY;
    caps.HorzSize = (widthTenthMM - 2 * stripTenthMM) / 10;
    caps.VertSize = (heightTenthMM - 2 * stripTenthMM) / 10;
    caps.Orientation = orientation;
    return caps;
}

TVYRPaper::TVYRPaper(const PrinterMetrics& metrics) : FMetrics(metrics)
{
    ReadDeviceCaps();
}

void TVYRPaper::ReadDeviceCaps()
{
    const TPrinterCaps caps = FMetrics.Read();
    ScreenWidth = ConvertLength(platform::SaturateInt(std::int64_t(caps.HorzSize) * 10), ScreenPixelsPerInch,
                                luTenthMM, luPixels);
    XResolution = caps.LogPixelsX;
    PhysicalWidth = caps.PhysicalWidth;
    YResolution = caps.LogPixelsY;
    WidthMM = caps.HorzSize;
    PhysicalHeight = caps.PhysicalHeight;
    HeightMM = caps.VertSize;
    ScreenHeight = ConvertLength(platform::SaturateInt(std::int64_t(caps.VertSize) * 10), ScreenPixelsPerInch,
                                 luTenthMM, luPixels);
    OffsetTop = caps.PhysicalOffsetY;
    OffsetLeft = caps.PhysicalOffsetX;
    PageWidth = caps.PageWidth;
    PageHeight = caps.PageHeight;
    Orientation = caps.Orientation;
    if (OnChange)
        OnChange(*this);
}

} // namespace common
