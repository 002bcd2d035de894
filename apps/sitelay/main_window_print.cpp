// The main window's print commands: preview, print and printer set-up.
#include "apps/sitelay/main_window.h"

#include "apps/sitelay/map_preview.h"

#include "common/qt_print_services.h"

namespace sitelay {

void TForm1::act_FilePreviewExecute()
{
    siteplan::TPlaneMap* map = PlaneMap();
    if (!map)
        return;
    const TMapMargins margins = MarginsOf(*map);
    // A null bitmap has been refused with a message already.
    const QImage bitmap = map->GetBitmap();
    if (bitmap.isNull())
        return;
    ShowMapPreview(common::ApplicationPrintServices(), bitmap, margins, FMapName, FMessages, this);
}

void TForm1::act_FilePrintExecute()
{
    siteplan::TPlaneMap* map = PlaneMap();
    if (!map)
        return;
    common::TPrintServices& printing = common::ApplicationPrintServices();
    // Copies and page range of the dialog are not used: every page prints
    // once.
    if (!printing.PrintDialog(printing.Printer(), this))
        return;
    const TMapMargins margins = MarginsOf(*map);
    const QImage bitmap = map->GetBitmap();
    if (bitmap.isNull())
        return;
    PrintMapDirect(printing, bitmap, margins, FMessages, this);
}

void TForm1::act_FilePrintSetExecute()
{
    common::TPrintServices& printing = common::ApplicationPrintServices();
    printing.PrinterSetupDialog(printing.Printer(), this);
}

} // namespace sitelay
