#include "legend_palette.h"

#include "platform/painter_canvas.h"

namespace legends {

namespace {

constexpr int glyphSize = 16;

} // namespace

QImage LegendImage(const platform::TPicture& picture)
{
    QImage image(glyphSize, glyphSize, QImage::Format_RGB32);
    {
        platform::PainterCanvas canvas(image);
        canvas.Brush.Color = platform::clWhite;
        canvas.Brush.Style = platform::TBrushStyle::bsSolid;
        canvas.FillRect(QRect(0, 0, glyphSize, glyphSize));
        picture.Draw(canvas, QRect(0, 0, glyphSize, glyphSize));
    }
    return image;
}

QImage LegendGlyph(const platform::TPicture& picture)
{
    QImage glyph = LegendImage(picture);
    glyph.setPixel(0, glyphSize - 1, qRgb(255, 255, 255));
    return glyph;
}

void BuildLegendPalette(LegendPageControl& pages, const TLegendFiles& library)
{
    for (int page = pages.PageCount() - 1; page >= FixedToolPages; --page)
        pages.RemovePage(page);
    for (int i = 0; i < library.Pages.Count(); ++i)
        FindOrAddLegendPage(pages, library.Pages.Text(i));
    for (int i = 0; i < library.Legends.Count(); ++i)
        AddLegendButton(library.Legends.Items(i), pages);
}

int FindOrAddLegendPage(LegendPageControl& pages, const QString& name)
{
    for (int page = FixedToolPages; page < pages.PageCount(); ++page)
        if (pages.PageCaption(page) == name)
            return page;
    const int page = pages.AddPage(name);
    LegendButton select;
    select.Bounds = QRect(0, 0, LegendButtonWidth, LegendButtonHeight);
    select.Tag = 0;
    select.Hint = QStringLiteral("选择");
    select.Down = true;
    select.SelectButton = true;
    pages.AddButton(page, select);
    return page;
}

void AddLegendButton(const TLegendItem& item, LegendPageControl& pages)
{
    if (!item.Visible() || item.ShowPanel().isEmpty())
        return;
    const int page = FindOrAddLegendPage(pages, item.ShowPanel());
    LegendButton button;
    button.Bounds = QRect(pages.ControlCount(page) * LegendButtonWidth, 0, LegendButtonWidth, LegendButtonHeight);
    button.Tag = LegendToolBase + item.Index();
    button.Hint = item.MapHint();
    button.Glyph = LegendGlyph(item.Picture());
    pages.AddButton(page, button);
}

} // namespace legends
