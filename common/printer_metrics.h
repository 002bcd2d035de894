// What the preview needs to know of the current printer: its device
// capabilities (resolution, physical page, unprintable offsets, printable
// size), read through a small service so that tests can hand in a fake and
// the programs the Qt printer. TVYRPaper keeps one reading of them.
#pragma once

#include <functional>

namespace common {

enum class TPrinterOrientation { poPortrait, poLandscape };

// One reading of the printer's capabilities, all in the printer's current
// orientation.
struct TPrinterCaps {
    int LogPixelsX = 0;      // printer pixels per inch
    int LogPixelsY = 0;
    int PhysicalWidth = 0;   // the whole sheet, printer pixels
    int PhysicalHeight = 0;
    int PhysicalOffsetX = 0; // unprintable strip at the left, printer pixels
    int PhysicalOffsetY = 0; // and at the top
    int PageWidth = 0;       // the printable area, printer pixels
    int PageHeight = 0;
    int HorzSize = 0;        // the printable area, millimetres
    int VertSize = 0;
    TPrinterOrientation Orientation = TPrinterOrientation::poPortrait;
};

class PrinterMetrics {
public:
    virtual ~PrinterMetrics() = default;
    virtual TPrinterCaps Read() const = 0;
};

// A printer of fixed capabilities, for tests and for callers that know them.
class FixedPrinterMetrics final : public PrinterMetrics {
public:
    explicit FixedPrinterMetrics(const TPrinterCaps& caps = {}) : Caps(caps) {}
    TPrinterCaps Read() const override { return Caps; }
    TPrinterCaps Caps;
};

// The capabilities of an upright sheet (0.1 mm) at a resolution with an
// even unprintable strip (0.1 mm) on every side, laid as orientation says.
TPrinterCaps CapsOfSheet(int widthTenthMM, int heightTenthMM, int resolution, int stripTenthMM,
                         TPrinterOrientation orientation);

class TVYRPaper {
public:
    // Reads the metrics once; no notification is set yet. metrics is not
    // owned and outlives the paper.
    explicit TVYRPaper(const PrinterMetrics& metrics);

    // Re-reads every field, then calls OnChange when one is set.
    void ReadDeviceCaps();

    int ScreenWidth = 0;     // printable width, screen pixels
    int XResolution = 0;     // printer pixels per inch
    int PhysicalWidth = 0;   // printer pixels
    int YResolution = 0;
    int WidthMM = 0;         // printable width, millimetres
    int PhysicalHeight = 0;
    int HeightMM = 0;
    int ScreenHeight = 0;    // printable height, screen pixels
    int OffsetTop = 0;       // unprintable offsets, printer pixels
    int OffsetLeft = 0;
    // Of the printer object rather than the device: its printable size in
    // printer pixels and its orientation.
    int PageWidth = 0;
    int PageHeight = 0;
    TPrinterOrientation Orientation = TPrinterOrientation::poPortrait;

    std::function<void(TVYRPaper&)> OnChange;

private:
    const PrinterMetrics& FMetrics;
};

} // namespace common
