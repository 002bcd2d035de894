// Renders every tab of every property dialog, loaded with sample objects,
// into DIALOG_SHOTS_DIR for a look at the layouts, and checks that the
// dialogs' font finds the glyphs of their Chinese texts.
#include "siteplan/dialogs/edit_line.h"
#include "siteplan/dialogs/edit_pen.h"
#include "siteplan/dialogs/edit_pen_and_brush.h"
#include "siteplan/dialogs/edit_picture.h"
#include "siteplan/dialogs/edit_plane_property.h"
#include "siteplan/dialogs/edit_text.h"
#include "siteplan/map_brush.h"
#include "siteplan/map_pen.h"
#include "siteplan/text_show_set.h"

#include "platform/picture/picture.h"

#include <QBuffer>
#include <QDir>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QTabWidget>

#include <gtest/gtest.h>

#include <memory>

namespace {

platform::TPicture SamplePicture()
{
    QImage image(60, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.fillRect(5, 5, 30, 20, Qt::red);
        painter.fillRect(25, 15, 30, 20, Qt::blue);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    platform::TPicture picture;
    picture.SetGraphic(platform::TGraphicKind::Bitmap, bytes);
    return picture;
}

TEST(DialogShots, EveryTabRendersWithChineseGlyphs)
{
    siteplan::TMapPen pen;
    pen.SetColor(platform::clRed);
    pen.SetStyle(platform::TPenStyle::psDash);
    siteplan::TMapBrush brush;
    brush.SetColor(platform::clTeal);
    brush.SetStyle(platform::TBrushStyle::bsDiagCross);
    siteplan::TTextShowSet textShow;
    textShow.Font.Size = 16;
    textShow.Font.Color = platform::clNavy;
    textShow.SetHorzAlign(1);

    auto line = std::make_unique<siteplan::TFrm_EditLine>();
    line->LoadFrom(pen, "围墙");
    auto penAndBrush = std::make_unique<siteplan::TFrm_EditPenAndBrush>();
    penAndBrush->setWindowTitle("编辑矩形属性");
    penAndBrush->LoadFrom(pen, brush);
    auto penOnly = std::make_unique<siteplan::TFrm_EditPen>();
    penOnly->setWindowTitle("编辑画笔");
    penOnly->LoadFrom(pen);
    auto text = std::make_unique<siteplan::TFrm_EditText>();
    text->LoadFrom(pen, brush, "施工现场\r\n平面布置", true, textShow);
    auto picture = std::make_unique<siteplan::TFrm_EditPicture>();
    picture->LoadFrom(pen, SamplePicture(), true, false);
    auto defaults = std::make_unique<siteplan::TFrm_EditPlaneProperty>();
    defaults->LoadFrom(pen, brush, textShow);

    const std::pair<const char*, siteplan::TFrm_EditProperty*> forms[] = {
        {"line", line.get()},         {"pen_and_brush", penAndBrush.get()}, {"pen", penOnly.get()},
        {"text", text.get()},         {"picture", picture.get()},          {"defaults", defaults.get()},
    };
    QDir().mkpath(DIALOG_SHOTS_DIR);
    for (const auto& [name, form] : forms) {
        const QFontMetrics metrics(form->font());
        for (const QChar c : form->windowTitle() + form->PageControl1->tabText(0))
            EXPECT_TRUE(metrics.inFont(c)) << name << " lacks a glyph for " << QString(c).toStdString();
        form->show();
        for (int tab = 0; tab < form->PageControl1->count(); ++tab) {
            form->PageControl1->setCurrentIndex(tab);
            const QImage shot = form->grab().toImage();
            EXPECT_EQ(shot.size(), QSize(448, 299) * shot.devicePixelRatio());
            shot.save(QStringLiteral(DIALOG_SHOTS_DIR "/%1_%2.png").arg(name).arg(tab));
        }
        form->hide();
    }
}

} // namespace
