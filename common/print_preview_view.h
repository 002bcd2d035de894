// The widget of the print preview: a scroll area whose content is the
// preview's paper on the preview's background colour. It gives the preview
// its size, scrolls the paper and paints it.
//
// Ownership: the view owns the preview; the metrics are the caller's.
#pragma once

#include "common/print_preview.h"

#include <QAbstractScrollArea>

namespace common {

class TPrintPreviewView : public QAbstractScrollArea {
public:
    TPrintPreviewView(const PrinterMetrics& metrics, QWidget* parent = nullptr);

    TVYRPrintPreview& Preview() { return FPreview; }

    // The viewport as painted now, for tests and pictures.
    QImage Render();

protected:
    void paintEvent(QPaintEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void PaintOn(QPaintDevice& device);
    void UpdateScrollBars();

    TVYRPrintPreview FPreview;
    QString FPaintError;
};

} // namespace common
