#include "common/qt_print_services.h"

#include "platform/numbers.h"
#include "platform/painter_canvas.h"

#include <QCoreApplication>
#include <QPageLayout>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include <stdexcept>

namespace common {

namespace {

[[noreturn]] void Fail(const QString& text)
{
    throw std::runtime_error(text.toStdString());
}

class QtPrintJob final : public PrintJob {
public:
    explicit QtPrintJob(QPrinter& printer) : FPrinter(printer) {}

    void SetTitle(const QString& title) override { FPrinter.setDocName(title); }

    void BeginDoc() override
    {
        if (!FPainter.begin(&FPrinter)) {
            const QString file = FPrinter.outputFileName();
            Fail(file.isEmpty() ? QStringLiteral("打印机无法开始打印。")
                                : QStringLiteral("无法写入打印文件“%1”。").arg(file));
        }
        FCanvas = std::make_unique<platform::PainterCanvas>(FPainter);
    }

    platform::Canvas& PageCanvas() override { return *FCanvas; }

    void NewPage() override
    {
        if (!FPrinter.newPage())
            Fail(QStringLiteral("打印机无法开始新的一页，打印没有完成。"));
    }

    void EndDoc() override
    {
        FCanvas.reset();
        if (!FPainter.isActive())
            return;
        const bool ended = FPainter.end();
        if (!ended || FPrinter.printerState() == QPrinter::Error)
            Fail(QStringLiteral("打印没有完成。"));
    }

private:
    QPrinter& FPrinter;
    QPainter FPainter;
    std::unique_ptr<platform::PainterCanvas> FCanvas;
};

} // namespace

TPrinterCaps QtPrinterMetrics::Read() const
{
    TPrinterCaps caps;
    const int resolution = FPrinter.resolution();
    const QPageLayout layout = FPrinter.pageLayout();
    if (resolution <= 0 || !layout.isValid())
        return caps;
    const QRect full = layout.fullRectPixels(resolution);
    const QRect paint = layout.paintRectPixels(resolution);
    const QRectF paintMM = layout.paintRect(QPageLayout::Millimeter);
    caps.LogPixelsX = resolution;
    caps.LogPixelsY = resolution;
    caps.PhysicalWidth = full.width();
    caps.PhysicalHeight = full.height();
    caps.PhysicalOffsetX = paint.left();
    caps.PhysicalOffsetY = paint.top();
    caps.PageWidth = paint.width();
    caps.PageHeight = paint.height();
    caps.HorzSize = platform::TruncInt(paintMM.width());
    caps.VertSize = platform::TruncInt(paintMM.height());
    caps.Orientation = layout.orientation() == QPageLayout::Landscape ? TPrinterOrientation::poLandscape
                                                                      : TPrinterOrientation::poPortrait;
    return caps;
}

std::unique_ptr<PrintJob> NewPrinterJob(QPrinter& printer)
{
    return std::make_unique<QtPrintJob>(printer);
}

TPrintServices::TPrintServices(QObject* parent)
    : QObject(parent), FPrinter(std::make_unique<QPrinter>(QPrinter::HighResolution)), FMetrics(*FPrinter)
{
    if (!PrinterInstalled())
        FPrinter->setOutputFormat(QPrinter::PdfFormat);
    PrintDialog = [](QPrinter& printer, QWidget* parent) {
        QPrintDialog dialog(&printer, parent);
        return dialog.exec() == QDialog::Accepted;
    };
    PrinterSetupDialog = [](QPrinter& printer, QWidget* parent) {
        QPageSetupDialog dialog(&printer, parent);
        return dialog.exec() == QDialog::Accepted;
    };
}

TPrintServices::~TPrintServices() = default;

bool TPrintServices::PrinterInstalled()
{
    return !QPrinterInfo::availablePrinterNames().isEmpty();
}

bool TPrintServices::NeedsOutputChoice() const
{
    return FPrinter->outputFormat() == QPrinter::PdfFormat && FPrinter->outputFileName().isEmpty();
}

TPrintServices& ApplicationPrintServices()
{
    static QPointer<TPrintServices> services;
    if (!services)
        services = new TPrintServices(QCoreApplication::instance());
    return *services;
}

} // namespace common
