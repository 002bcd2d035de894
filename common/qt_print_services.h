// Printing through Qt: the application's printer (a PDF printer stands in
// when no printer is installed), its metrics for the preview, print jobs on
// it, and the print and printer set-up dialogs behind replaceable calls so
// that tests can answer them.
//
// Ownership: the services own the printer; metrics and jobs refer to it
// and must not outlive the services.
#pragma once

#include "common/print_job.h"
#include "common/printer_metrics.h"

#include <QObject>

#include <functional>
#include <memory>

class QPrinter;
class QWidget;

namespace common {

// The capabilities of a Qt printer, from its page layout and resolution.
class QtPrinterMetrics final : public PrinterMetrics {
public:
    explicit QtPrinterMetrics(const QPrinter& printer) : FPrinter(printer) {}
    TPrinterCaps Read() const override;

private:
    const QPrinter& FPrinter;
};

// A print job on a Qt printer.
std::unique_ptr<PrintJob> NewPrinterJob(QPrinter& printer);

class TPrintServices : public QObject {
public:
    explicit TPrintServices(QObject* parent = nullptr);
    ~TPrintServices() override;

    QPrinter& Printer() { return *FPrinter; }
    const PrinterMetrics& Metrics() const { return FMetrics; }
    std::unique_ptr<PrintJob> NewJob() { return NewPrinterJob(*FPrinter); }

    // Whether the system has a printer; without one the printer writes PDF.
    static bool PrinterInstalled();
    // The printer writes to a file that nobody has chosen yet.
    bool NeedsOutputChoice() const;

    // The print dialog (printer, PDF file) and the printer set-up dialog
    // (paper, orientation, margins); each returns whether it was accepted.
    std::function<bool(QPrinter&, QWidget*)> PrintDialog;
    std::function<bool(QPrinter&, QWidget*)> PrinterSetupDialog;

private:
    std::unique_ptr<QPrinter> FPrinter;
    QtPrinterMetrics FMetrics;
};

// The printer of the whole program, made on first use and released with the
// application object.
TPrintServices& ApplicationPrintServices();

} // namespace common
