#include "apps/sitelay/map_preview.h"

#include "siteplan/plane_map.h"

namespace sitelay {

TMapMargins MarginsOf(const siteplan::TPlaneMap& map)
{
    return {map.LeftMargin() * 10, map.TopMargin() * 10, map.RightMargin() * 10, map.BottomMargin() * 10};
}

common::TMapPreviewLayout SitelayPreviewLayout()
{
    return {QSize(560, 420), QSize(400, 300), QStringLiteral("返  回"), QString()};
}

void PrepareMapPreview(common::Tfrm_MapPreview& window, const QImage& bitmap, const TMapMargins& margins)
{
    common::TVYRPrintPaper& paper = window.Preview().Paper();
    paper.SetLeftMargin(margins.Left - paper.LeftMarginNot() - 10);
    paper.SetTopMargin(margins.Top - paper.TopMarginNot() - 10);
    paper.SetRightMargin(margins.Right - paper.RightMarginNot() - 10);
    paper.SetBottomMargin(margins.Bottom - paper.BottomMarginNot() - 10);
    window.Preview().SetPicture(bitmap);
}

void ShowMapPreview(common::TPrintServices& printing, const QImage& bitmap, const TMapMargins& margins,
                    const QString& caption, platform::WindowServices* messages, QWidget* parent)
{
    common::Tfrm_MapPreview window(printing, SitelayPreviewLayout(), messages, parent);
    window.setWindowTitle(caption.isEmpty() ? QStringLiteral("打印预览") : caption);
    PrepareMapPreview(window, bitmap, margins);
    window.setWindowState(Qt::WindowMaximized);
    window.exec();
}

bool PrintMapDirect(common::TPrintServices& printing, const QImage& bitmap, const TMapMargins& margins,
                    platform::WindowServices* messages, QWidget* parent)
{
    common::Tfrm_MapPreview window(printing, SitelayPreviewLayout(), messages, parent);
    PrepareMapPreview(window, bitmap, margins);
    return window.act_PrintExecute();
}

} // namespace sitelay
